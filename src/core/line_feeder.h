#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

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
    explicit LineFeeder(LinesTaker take);
    // Stops the thread; lines not taken yet are never taken.
    ~LineFeeder();
    LineFeeder(const LineFeeder &) = delete;
    LineFeeder &operator=(const LineFeeder &) = delete;

    // The text has grown to `text`: its whole lines not handed yet are handed. Its start
    // must stay where it was unless waitUntilTaken() was called since the last offer.
    void offer(std::string_view text);
    // Waits until every line offered has been taken, so that the text may move.
    void waitUntilTaken();
    // The text is whole: its lines not handed yet are handed, the last one even without its
    // line end, and once they are taken whatever the taker threw is thrown again here.
    void finish(std::string_view text);

private:
    void work();
    void handOver(std::string_view text, std::size_t end);

    LinesTaker take_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string_view text_;
    // The text up to offered_ is handed to the thread, up to taken_ taken.
    std::size_t offered_ = 0;
    std::size_t taken_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread worker_;
};

} // namespace ferolan
