#include "core/worker_thread.h"

#include <system_error>
#include <utility>

namespace ferolan {

WorkerThread::~WorkerThread() {
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread_.join();
}

void WorkerThread::start(std::function<void()> work) {
    try {
        thread_ = std::thread(std::move(work));
    } catch (const std::system_error &) {
        // running() tells.
    }
}

} // namespace ferolan
