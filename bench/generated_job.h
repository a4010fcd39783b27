#pragma once

#include <string>

namespace ferolan::bench {

// A job file of `points` fixed-column lines: the master station "MASTER" first, then
// numbered points with one fiducial point of municipality A123 every `fiducialEvery` lines.
std::string generatedJob(long points, long fiducialEvery = 50);

// The peak resident memory of this process so far, in KiB.
long peakMemoryKiB();

} // namespace ferolan::bench
