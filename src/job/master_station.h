#pragma once

#include "job/point_list.h"

#include <string>
#include <string_view>

namespace ferolan {

struct MasterStation {
    std::string Punto_master;
    std::size_t Riga_master = 0;
    double Quota_master = 0; // the height of the master station, rounded down
    double Est_media = 0;    // the mean east value, rounded down; NaN when no row has one
};

// The master station at a point row (1..N) of the list. The mean east counts only the east
// values that begin with a number, the master station's included: an empty cell is no
// east value of 0.
MasterStation masterStationAt(const PointList &points, std::size_t row);

// The width of the header's mean east field.
inline constexpr std::size_t kMeanEastWidth = 7;

// The mean east as the header proposes it; empty when there is none or it cannot be a real
// east value (too long for its field), so that the user types it rather than signs a
// made-up "0" or a number of hundreds of digits.
std::string meanEastText(double Est_media);

// A booklet name whose last four characters are not ".dat" in any letter case gets ".dat".
std::string withDatExtension(std::string name);

} // namespace ferolan
