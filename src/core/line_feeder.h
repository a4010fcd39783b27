#pragma once

#include "core/task_thread.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <utility>

namespace ferolan {

// Gets a text as far as it has come, up to the end of a line, and where the lines it has not
// had yet start. The view lasts only for the call, since the text may move afterwards:
// whatever is kept of it must be kept as offsets.
using LinesTaker = std::function<void(std::string_view text, std::size_t from)>;

// Hands the lines of a text that is still growing, such as a file being read, to a taker
// on a thread of its own, so that what is made of the lines is made while the rest of the
// text comes. The lines are handed in order, each once.
class LineFeeder {
public:
    explicit LineFeeder(LinesTaker take) : take_(std::move(take)) {}

    // The text has grown to `text`: unless the taker is still busy with lines handed before,
    // the whole lines it has not had are handed. The text's start must stay where it was
    // unless waitUntilTaken() was called since.
    void offer(std::string_view text);
    // Waits until every line handed has been taken, so that the text may move.
    void waitUntilTaken() { thread_.wait(); }
    // The text is whole: its lines not handed yet are handed, the last one even without its
    // line end, and taken before this returns. Whatever the taker threw is thrown again by
    // the next call after it.
    void finish(std::string_view text);

private:
    void hand(std::string_view text, std::size_t end);

    LinesTaker take_;
    // The text up to here is handed to the taker.
    std::size_t handed_ = 0;
    TaskThread thread_;
};

} // namespace ferolan
