#pragma once

#include "fiducial/logic/pf_distances.h"

#include <string>
#include <vector>

// The --distanze file: the pairs of fiducial points found in the archive, for a spreadsheet.
namespace ferolan::batch {

// One heading line, then one line a pair in the given order; Windows-1252, CR LF, metres with
// three decimals and the ratio with two, all with a decimal comma.
std::string distanzeFile(const std::vector<PfPair> &pairs);

// "avviso: distanza A – B: ... oltre la tolleranza ... (zona urbana)", for a pair out of
// tolerance (UTF-8, without a line end).
std::string outOfToleranceWarning(const PfPair &pair, DistanceZone zone);

} // namespace ferolan::batch
