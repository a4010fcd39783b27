#pragma once

#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string_view>

namespace ferolan {

// What the booklet is made of.
struct BookletSource {
    const HeaderData &header;
    const PointList &points;
    std::string_view Punto_master;
    // The master station's row of `points` (1 to rowCount()).
    std::size_t Riga_master = 0;
    char decimalSeparator = ',';
    // Point-list rows the user agreed to leave out (fiducial points with a malformed name).
    const std::set<std::size_t> &leftOutRows;
};

// The point of a row when the booklet carries it as a row 2: not named as the master
// station, not left out, with usable coordinates.
inline std::optional<Xyz> row2Point(const BookletSource &source, std::size_t row) {
    if (source.points.field(row, PointList::Name) == source.Punto_master ||
        source.leftOutRows.contains(row))
        return std::nullopt;
    return source.points.usableCoordinates(row);
}

} // namespace ferolan
