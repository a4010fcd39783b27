#include "booklet/logic/scrivi_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "booklet/logic/vrs_mark.h"
#include "core/files.h"
#include "core/parallel.h"
#include "header/logic/header_rows.h"
#include "job/usable_point.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace ferolan {

bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink) {
    const PointList &points = source.points;
    const Xyz Coord_master = pointXyz(points, source.Riga_master);
    auto appendRow = [&](std::string &out, std::size_t row, const Xyz &point,
                         std::string_view description) {
        appendRow2(out, points.field(row, PointList::Name), Calcola_vettore(point, Coord_master),
                   description, source.decimalSeparator,
                   varianceTerms(points.varianceColumns(row)));
    };
    std::string opening =
        row0(source.header) + row9(source.header) +
        row1(source.header.Txt_base, Coord_master,
             points.field(source.Riga_master, PointList::Description), source.decimalSeparator) +
        row6(source.header);
    const std::optional<VrsMark> vrs = vrsMark(source);
    if (vrs)
        appendRow(opening, vrs->row, *row2Point(source, vrs->row),
                  std::string(points.field(vrs->row, PointList::Description)) +
                      std::string(kVrsMark));
    if (!sink(opening))
        return false;
    auto appendRows = [&](std::string &out, std::size_t from, std::size_t to) {
        for (std::size_t row = from; row < to; ++row) {
            const std::optional<Xyz> point = row2Point(source, row);
            if (point && (!vrs || row != vrs->row))
                appendRow(out, row, *point, points.field(row, PointList::Description));
        }
    };
    // A large job's rows are made a round at a time, in parts at once, and written in order
    // before the next round: what waits in memory stays small whatever the job.
    const std::size_t rows = points.rowCount();
    for (std::size_t round = 1; round <= rows; round += tuning::kBookletRowsPerRound) {
        const std::vector<std::string> parts =
            inRanges(round, std::min(rows + 1, round + tuning::kBookletRowsPerRound),
                     [&](std::size_t from, std::size_t to) {
                         std::string out;
                         appendRows(out, from, to);
                         return out;
                     });
        for (const std::string &part : parts)
            if (!part.empty() && !sink(part))
                return false;
    }
    return true;
}

std::optional<Xyz> Scrivi_libretto(const BookletSource &source,
                                   const std::filesystem::path &File_libretto) {
    const std::filesystem::path temporary = temporaryBookletPath(File_libretto);
    platform::File file = createFresh(temporary);
    if (!file.isOpen())
        return std::nullopt;
    bool written =
        produceBookletRows(source, [&file](std::string_view piece) { return file.write(piece); });
    if (!file.close() || !written) {
        // A booklet cut short must not be finished later as if it were whole.
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return std::nullopt;
    }
    return pointXyz(source.points, source.Riga_master);
}

} // namespace ferolan
