#include "booklet/logic/scrivi_libretto.h"

#include "booklet/logic/temporary_booklet.h"
#include "core/files.h"
#include "core/parallel.h"
#include "job/usable_point.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <vector>

namespace ferolan {
namespace {

// The point rows are made a stretch at a time, its parts at once, and handed on in order:
// what waits in memory stays small whatever the job, and still in the processor's cache
// when it is written.
constexpr std::size_t kRowsPerStretch = 10000;

} // namespace

bool produceBookletRows(const BookletSource &source,
                        const std::function<bool(std::string_view)> &sink) {
    const PointList &points = source.points;
    const Xyz Coord_master = pointXyz(points, source.Riga_master);
    const std::string opening =
        row0(source.header) + row9(source.header) +
        row1(points.field(source.Riga_master, PointList::Name), Coord_master,
             points.field(source.Riga_master, PointList::Description), source.decimalSeparator) +
        row6(source.header.Txt_data);
    if (!sink(opening))
        return false;
    std::vector<std::string> parts(partCount());
    auto appendRows = [&](std::size_t part, std::size_t from, std::size_t to) {
        // Made in a string of the part's own and put in place at the end: the parts' strings
        // lie side by side, and a size updated in one at every row would be fought over.
        std::string out = std::move(parts[part]);
        for (std::size_t row = from; row < to; ++row) {
            std::string_view name = points.field(row, PointList::Name);
            if (name == source.Punto_master || source.leftOutRows.contains(row))
                continue;
            const std::optional<Xyz> point = points.usableCoordinates(row);
            if (!point)
                continue;
            appendRow2(out, name, Calcola_vettore(*point, Coord_master),
                       points.field(row, PointList::Description), source.decimalSeparator,
                       varianceTerms(points.varianceColumns(row)));
        }
        parts[part] = std::move(out);
    };
    // A small job's rows are all made on the calling thread; a large job's stretches in parts.
    const std::size_t leastPerPart =
        points.rowCount() < kLeastRowsPerPart ? kLeastRowsPerPart : kRowsPerStretch / 2;
    for (std::size_t from = 1; from <= points.rowCount(); from += kRowsPerStretch) {
        const std::size_t to = std::min(points.rowCount() + 1, from + kRowsPerStretch);
        // Emptied first: a short last stretch may not use every part.
        for (std::string &part : parts)
            part.clear();
        runInRanges(from, to, leastPerPart, appendRows);
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
