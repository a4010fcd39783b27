#pragma once

#include "core/tuning.h"

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

// The one place that starts threads: a piece of work split into consecutive parts that run
// at once, their results joined in order once all are done. A part's work must touch nothing
// another part writes.
namespace ferolan {

// How many parts work on `items` items is split into: one for fewer than
// 2 × tuning::kLeastItemsPerPart, otherwise up to one for each processor, at most
// tuning::kMostParts. The environment's FEROLAN_PARTS=1 forces one part.
std::size_t partsFor(std::size_t items);

// For tests: parts of at least `least` items (0 restores the tuning), and at most `most`
// parts (0 restores the processors' count).
void setPartsForTesting(std::size_t least, std::size_t most);

// Runs work(part) for parts 0 to parts - 1 at once, the first on the calling thread, and
// returns when all are done. A part whose thread cannot be started runs on the calling thread.
// The first part's exception in order is thrown again once all are done.
void runParts(std::size_t parts, const std::function<void(std::size_t part)> &work);

// The results of work(from, to) over consecutive ranges that cover [begin, end), in order.
template <class Work>
auto inRanges(std::size_t begin, std::size_t end, Work work)
    -> std::vector<decltype(work(begin, end))> {
    const std::size_t count = end > begin ? end - begin : 0;
    const std::size_t parts = partsFor(count);
    std::vector<decltype(work(begin, end))> results(parts);
    runParts(parts, [&](std::size_t part) {
        results[part] = work(begin + count * part / parts, begin + count * (part + 1) / parts);
    });
    return results;
}

// The text cut into `parts` consecutive pieces, each ending after a line end (the last at the
// text's end): a CR LF is never cut in two.
std::vector<std::string_view> lineAlignedPieces(std::string_view text, std::size_t parts);

} // namespace ferolan
