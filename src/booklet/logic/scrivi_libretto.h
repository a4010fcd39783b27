#pragma once

#include "booklet/logic/booklet_rows.h"
#include "header/logic/header_data.h"
#include "job/point_list.h"

#include <cstddef>
#include <filesystem>
#include <functional>
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

// Rows 0, 9, 1 and 6, then one row 2 per point of the list in list order, except the
// rows named `Punto_master`, the rows left out and the points without usable coordinates. The text
// is handed to `sink` in order, in pieces of whole rows each made from at most some thousands
// of points, so that a large job never has its booklet in memory at once. A large job's pieces
// are made on several threads, and `sink` may be called on any of them, never on two at once.
// False as soon as `sink` refuses a piece; nothing more is handed on then.
bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink);

// Writes the rows into the temporary file, replacing whatever it held, and returns
// `Coord_master`, the master station's X, Y, Z that archived points are measured from.
// Empty when the file cannot be written whole; the partial file is then removed.
std::optional<Xyz> Scrivi_libretto(const BookletSource &source,
                                   const std::filesystem::path &File_libretto);

} // namespace ferolan
