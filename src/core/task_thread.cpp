#include "core/task_thread.h"

#include <system_error>
#include <utility>

namespace ferolan {

TaskThread::TaskThread() {
    try {
        worker_ = std::thread([this] { work(); });
    } catch (const std::system_error &) {
        // Tasks then run as they are started.
    }
}

TaskThread::~TaskThread() {
    if (!worker_.joinable())
        return;
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void TaskThread::start(std::function<void()> task) {
    if (!worker_.joinable()) {
        try {
            task();
        } catch (...) {
            failure_ = std::current_exception();
        }
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        task_ = std::move(task);
    }
    changed_.notify_all();
}

bool TaskThread::busy() {
    const std::lock_guard lock(mutex_);
    return static_cast<bool>(task_);
}

void TaskThread::wait() {
    std::exception_ptr failure;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !task_; });
        failure = std::exchange(failure_, nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TaskThread::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return task_ || stopping_; });
        if (stopping_)
            return;
        lock.unlock();
        std::exception_ptr failure;
        try {
            task_();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        task_ = nullptr;
        changed_.notify_all();
    }
}

} // namespace ferolan
