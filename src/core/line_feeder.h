#pragma once

#include "core/worker_thread.h"

#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <string_view>

namespace ferolan {

// Gets a text as far as it has come, up to the end of a line, and where the lines it has not
// had yet start. The view lasts only for the call, since the text may move afterwards:
// whatever is kept of it must be kept as offsets.
using LinesTaker = std::function<void(std::string_view text, std::size_t from)>;

// Hands the lines of a text that is still growing, such as a file being read, to a taker
// on a thread of its own, so that what is made of the lines is made while the rest of the
// text comes. The lines are handed in order, each once, a megabyte at most at a time; the
// thread goes on with the next lines offered as soon as it is done with the last.
class LineFeeder {
public:
    // When the feeder goes, lines being taken are taken to their end; the others are dropped.
    explicit LineFeeder(LinesTaker take);

    // The text has grown to `text`: its whole lines may be taken. The text's start must stay
    // where it was unless waitUntilTaken() was called since.
    void offer(std::string_view text);
    // Waits until every line offered has been taken, so that the text may move.
    void waitUntilTaken();
    // The text is whole: its lines not taken yet are taken, the last one even without its
    // line end, before this returns. When many are left and `takeLast` is given, the last half
    // of them go to it, on the calling thread, while the taker's thread takes the others:
    // every line goes to one of the two, and all those `takeLast` gets come after those the
    // taker gets. Whatever a taker threw is thrown again by the next call after it.
    void finish(std::string_view text, const LinesTaker &takeLast = nullptr);

private:
    void work();
    // Until the thread has taken every line it may take.
    void waitForThread(std::unique_lock<std::mutex> &lock);
    void rethrowFailure(std::unique_lock<std::mutex> &lock);

    LinesTaker take_;
    std::string_view text_;
    // The lines up to here may be taken, and those up to `taken_` have been or are being.
    std::size_t offered_ = 0, taken_ = 0;
    bool taking_ = false;
    std::exception_ptr failure_;
    // Last, so that it stops before the rest goes.
    WorkerThread worker_;
};

} // namespace ferolan
