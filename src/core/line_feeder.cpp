#include "core/line_feeder.h"

#include <algorithm>
#include <utility>

namespace ferolan {
namespace {

// Small enough that the lines left at the end can be shared, large enough that taking them
// costs few hand-overs.
constexpr std::size_t kMostTaken = 1024 * 1024;
// Fewer lines than this are left to the taker alone: sharing them would cost more.
constexpr std::size_t kLeastShared = 512 * 1024;

// Where the whole lines of the text from `from` up to `to` end, cut after a line feed so that
// a CR LF is never split between two runs; `from` for none.
std::size_t wholeLinesUpTo(std::string_view text, std::size_t from, std::size_t to) {
    const std::size_t lastLf = text.substr(0, to).rfind('\n');
    return lastLf == std::string_view::npos || lastLf < from ? from : lastLf + 1;
}

} // namespace

LineFeeder::LineFeeder(LinesTaker take) : take_(std::move(take)) {
    // Without a thread, every line is taken by finish().
    worker_.start([this] { work(); });
}

void LineFeeder::offer(std::string_view text) {
    if (!worker_.running())
        return;
    {
        const std::lock_guard lock(worker_.mutex);
        text_ = text;
        offered_ = wholeLinesUpTo(text, offered_, text.size());
    }
    worker_.changed.notify_all();
}

void LineFeeder::waitUntilTaken() {
    std::unique_lock lock(worker_.mutex);
    waitForThread(lock);
    rethrowFailure(lock);
}

void LineFeeder::finish(std::string_view text, const LinesTaker &takeLast) {
    std::size_t shared = text.size();
    {
        std::unique_lock lock(worker_.mutex);
        if (!worker_.running()) {
            lock.unlock();
            take_(text, taken_);
            return;
        }
        rethrowFailure(lock);
        if (takeLast && text.size() - taken_ >= kLeastShared)
            shared = wholeLinesUpTo(text, taken_, taken_ + (text.size() - taken_) / 2);
        text_ = text;
        offered_ = shared;
    }
    worker_.changed.notify_all();
    // Taken here meanwhile; the thread is waited for even when this throws.
    std::exception_ptr failure;
    if (shared < text.size()) {
        try {
            takeLast(text, shared);
        } catch (...) {
            failure = std::current_exception();
        }
    }
    std::unique_lock lock(worker_.mutex);
    waitForThread(lock);
    if (failure)
        std::rethrow_exception(failure);
    rethrowFailure(lock);
}

void LineFeeder::waitForThread(std::unique_lock<std::mutex> &lock) {
    worker_.changed.wait(lock, [this] { return failure_ || (!taking_ && taken_ == offered_); });
}

void LineFeeder::rethrowFailure(std::unique_lock<std::mutex> &lock) {
    if (std::exception_ptr failure = std::exchange(failure_, nullptr)) {
        // Nothing more is taken after a failure.
        offered_ = taken_;
        lock.unlock();
        std::rethrow_exception(failure);
    }
}

void LineFeeder::work() {
    std::unique_lock lock(worker_.mutex);
    while (true) {
        worker_.changed.wait(
            lock, [this] { return worker_.stopping || (!failure_ && taken_ < offered_); });
        if (worker_.stopping)
            return;
        const std::size_t from = taken_;
        std::size_t to = wholeLinesUpTo(text_, from, std::min(offered_, from + kMostTaken));
        // A line longer than a stretch, or the last one without its end, is taken whole.
        if (to == from)
            to = offered_;
        taken_ = to;
        taking_ = true;
        const std::string_view lines = text_.substr(0, to);
        lock.unlock();
        std::exception_ptr failure;
        try {
            take_(lines, from);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        taking_ = false;
        failure_ = failure;
        worker_.changed.notify_all();
    }
}

} // namespace ferolan
