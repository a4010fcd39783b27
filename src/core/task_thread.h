#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace ferolan {

// A thread that runs its owner's tasks one at a time while the owner goes on, kept for as long
// as the owner: starting a thread for each of many short tasks would cost more than they do.
// Without a thread of its own (none could be started) each task runs when it is started.
class TaskThread {
public:
    TaskThread();
    // Lets a task under way finish; one not begun yet is dropped.
    ~TaskThread();
    TaskThread(const TaskThread &) = delete;
    TaskThread &operator=(const TaskThread &) = delete;

    // Runs the task on the thread. The task started before must be waited for first.
    void start(std::function<void()> task);
    // Whether a task is started and not finished yet.
    bool busy();
    // Waits for the task started, if any; whatever it threw is thrown again here, once.
    void wait();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    // Set while a task waits or runs; only the thread touches it then.
    std::function<void()> task_;
    std::exception_ptr failure_;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace ferolan
