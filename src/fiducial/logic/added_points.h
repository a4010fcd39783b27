#pragma once

#include "fiducial/logic/pf_grid.h"

#include <string>
#include <string_view>
#include <vector>

namespace ferolan {

// Whether a point of that name is in the booklet already: surveyed in the job (a row of the
// comparison grid) or added before. A second row of one point is never what the user wants.
bool isInBooklet(std::string_view name, const PfGrid &surveyed,
                 const std::vector<std::string> &added);

} // namespace ferolan
