#pragma once

#include "job/point_list.h"

#include <array>
#include <optional>
#include <string_view>

namespace ferolan {

// The variance-covariance terms of a vector in square metres: variances of X, Y and Z, then
// covariances XY, YZ and ZX, the order row 2 carries them in.
using VarianceTerms = std::array<double, 6>;

// The terms of the job's six optional 12-character cells when each, blanks trimmed, is a
// whole number text (sign, digits with at most one point, exponent); otherwise none, and the
// row carries zeros as a job of the plain layout does.
std::optional<VarianceTerms> varianceTerms(std::string_view cells);

// Whether some point of the job carries the six terms.
bool carriesVarianceTerms(const PointList &points);

} // namespace ferolan
