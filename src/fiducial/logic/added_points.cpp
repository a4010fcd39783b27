#include "fiducial/logic/added_points.h"

#include "core/text.h"

#include <algorithm>

namespace ferolan {

bool isInBooklet(std::string_view name, const PfGrid &surveyed,
                 const std::vector<std::string> &added) {
    return std::ranges::find(added, name) != added.end() ||
           std::ranges::any_of(surveyed, [name](const PfGridRow &row) {
               return trimBlanks(row.cell(PfGridRow::Name)) == name;
           });
}

} // namespace ferolan
