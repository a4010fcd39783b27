#pragma once

#include <cstddef>

// The constants that exist only for speed, each with the measurement behind it. Real
// cadastral jobs have a few to a few dozen points: every one of these matters only for jobs
// of many thousands, and none changes a result.
namespace ferolan::tuning {

// Below twice this many points (lines, rows) a piece of work runs on the calling thread
// alone: splitting a job of 5,000 points in two saved nothing measurable (under a
// millisecond), while starting a thread costs some 50 microseconds.
inline constexpr std::size_t kLeastItemsPerPart = 5000;

// At most this many parts at once: on the 2-core machines of the measurements, a million-point
// job took 0.55 s on two parts against 0.81 s on one; more parts than processors only hold
// more aside.
inline constexpr std::size_t kMostParts = 4;

// The booklet's point rows are made this many at a time, in parts, and written before the
// next are made: what waits in memory stays a megabyte or two whatever the job, and starting
// the parts' threads a hundred times for a million points costs some 5 ms.
inline constexpr std::size_t kBookletRowsPerRound = 10000;

// The booklet check reads this many rows and asks for the places of their names in its index
// before checking them: a million-point booklet's names no longer fit the processor's cache,
// and each look would wait for memory in turn (13 % of a million-point run when looked for
// one by one).
inline constexpr std::size_t kRowsLookedUpAtOnce = 16;

} // namespace ferolan::tuning
