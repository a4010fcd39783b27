#include "core/parallel.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace ferolan {

std::size_t partCount() {
    constexpr std::size_t kMostParts = 4;
    return std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, kMostParts);
}

void runParts(std::size_t parts, const std::function<void(std::size_t part)> &work) {
    std::vector<std::exception_ptr> failures(parts);
    auto run = [&work, &failures](std::size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::vector<std::size_t> leftToCaller;
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(run, part);
        } catch (const std::system_error &) {
            leftToCaller.push_back(part);
        }
    }
    if (parts > 0)
        run(0);
    for (std::size_t part : leftToCaller)
        run(part);
    for (std::thread &thread : threads)
        thread.join();
    for (const std::exception_ptr &failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

void runInRanges(
    std::size_t begin, std::size_t end, std::size_t least,
    const std::function<void(std::size_t part, std::size_t from, std::size_t to)> &work) {
    const std::size_t count = end > begin ? end - begin : 0;
    const std::size_t parts =
        std::clamp<std::size_t>(count / std::max<std::size_t>(least, 1), 1, partCount());
    runParts(parts, [&](std::size_t part) {
        work(part, begin + count * part / parts, begin + count * (part + 1) / parts);
    });
}

} // namespace ferolan
