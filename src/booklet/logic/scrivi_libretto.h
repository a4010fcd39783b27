#pragma once

#include "booklet/logic/booklet_rows.h"
#include "booklet/logic/booklet_source.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

namespace ferolan {

// Rows 0, 9, 1 and 6, then one row 2 per point of the list in list order, except the
// rows named `Punto_master`, the rows left out and the points without usable coordinates; an
// NRTK booklet puts its VRS point's row 2 (vrs_mark.h) first, the other rows keeping their
// order. Row 1 is named by the header's base, not by the master station's name. The text
// is handed to `sink` in order, in pieces of whole rows each made from at most some thousands
// of points, so that a large job never has its booklet in memory at once; `sink` is called on
// the calling thread. False as soon as `sink` refuses a piece; nothing more is handed on then.
bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink);

// Writes the rows into the temporary file, replacing whatever it held, and returns
// `Coord_master`, the master station's X, Y, Z that archived points are measured from.
// Empty when the file cannot be written whole; the partial file is then removed.
std::optional<Xyz> Scrivi_libretto(const BookletSource &source,
                                   const std::filesystem::path &File_libretto);

} // namespace ferolan
