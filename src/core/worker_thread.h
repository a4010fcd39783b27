#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace ferolan {

// A thread that works for its owner as long as the owner lasts, waiting under `mutex` on
// `changed` for more to do: starting a thread for each of many short tasks would cost more
// than they do. Declared last in its owner, it stops before the owner's other members go.
class WorkerThread {
public:
    WorkerThread() = default;
    // Lets the work in hand finish: sets `stopping`, wakes the thread and waits for it.
    ~WorkerThread();
    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    // Runs `work`, which returns once it finds `stopping` set. When no thread can be started,
    // running() stays false and the owner does the work itself.
    void start(std::function<void()> work);
    bool running() const { return thread_.joinable(); }

    std::mutex mutex;
    std::condition_variable changed;
    // Set under `mutex` when the owner goes.
    bool stopping = false;

private:
    std::thread thread_;
};

} // namespace ferolan
