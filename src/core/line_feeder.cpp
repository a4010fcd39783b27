#include "core/line_feeder.h"

#include <system_error>
#include <utility>

namespace ferolan {

LineFeeder::LineFeeder(LinesTaker take) : take_(std::move(take)) {
    try {
        worker_ = std::thread([this] { work(); });
    } catch (const std::system_error &) {
        // Without a thread of its own, the whole text is taken once it is whole.
    }
}

LineFeeder::~LineFeeder() {
    if (!worker_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void LineFeeder::offer(std::string_view text) {
    // Cut after a line feed, so that a CR LF is never split between two runs.
    const std::size_t lastLf = text.rfind('\n');
    if (lastLf != std::string_view::npos)
        handOver(text, lastLf + 1);
}

void LineFeeder::handOver(std::string_view text, std::size_t end) {
    {
        const std::lock_guard lock(mutex_);
        if (end <= offered_)
            return;
        text_ = text;
        offered_ = end;
    }
    changed_.notify_all();
}

void LineFeeder::waitUntilTaken() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return taken_ == offered_ || failure_ || !worker_.joinable(); });
}

void LineFeeder::finish(std::string_view text) {
    if (worker_.joinable()) {
        handOver(text, text.size());
        waitUntilTaken();
    } else if (taken_ < text.size()) {
        take_(text, taken_);
        taken_ = text.size();
    }
    std::exception_ptr failure;
    {
        const std::lock_guard lock(mutex_);
        failure = std::exchange(failure_, nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void LineFeeder::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return offered_ > taken_ || stopping_; });
        if (stopping_ || failure_)
            return;
        const std::string_view text = text_.substr(0, offered_);
        const std::size_t from = taken_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            take_(text, from);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        taken_ = text.size();
        changed_.notify_all();
    }
}

} // namespace ferolan
