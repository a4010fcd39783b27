#pragma once

#include <cstddef>
#include <functional>

// Large jobs split into parts that run at once, one on each processor.
namespace ferolan {

// Fewer rows of a job than this are worked through on the calling thread alone: starting
// threads would cost more than it saves.
inline constexpr std::size_t kLeastRowsPerPart = 20000;

// How many parts a large piece of work is split into: one for each processor, at most four,
// so that what the parts hold aside stays small.
std::size_t partCount();

// Runs work(part) for parts 0 to parts - 1 at once, the first on the calling thread, and returns
// when all are done. A part whose thread cannot be started runs on the calling thread. The first
// part's exception in order is thrown again once all are done.
void runParts(std::size_t parts, const std::function<void(std::size_t part)> &work);

// Splits the items [begin, end) into up to partCount() consecutive ranges of at least `least`
// items and runs work(part, from, to) for each as runParts does.
void runInRanges(
    std::size_t begin, std::size_t end, std::size_t least,
    const std::function<void(std::size_t part, std::size_t from, std::size_t to)> &work);

} // namespace ferolan
