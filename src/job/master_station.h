#pragma once

#include "job/point_list.h"

#include <string>
#include <string_view>

namespace ferolan {

struct MasterStation {
    std::string Punto_master;
    std::size_t Riga_master = 0;
    double Quota_master = 0; // the height of the master station, rounded down
    double Est_media = 0;    // the mean east value of all point rows, rounded down
};

// The master station at a point row (1..N) of the list; every row counts in the mean,
// empty or non-numeric east values as 0, the master station included.
MasterStation masterStationAt(const PointList &points, std::size_t row);

// A booklet name whose last four characters are not ".dat" in any letter case gets ".dat".
std::string withDatExtension(std::string name);

} // namespace ferolan
