#include "fiducial/logic/pf_grid_loading.h"

#include "core/first_index.h"
#include "core/parallel.h"
#include "core/text.h"
#include "core/text_hash.h"
#include "fiducial/logic/pf_comparison.h"
#include "job/point_list.h"
#include "job/usable_point.h"

namespace ferolan {
namespace {

bool isPfName(std::string_view name) {
    return name.starts_with("PF");
}

// Only the two separators are checked; length and the other characters are not.
bool hasPfLayout(std::string_view name) {
    return columns(name, 5, 1) == "/" && columns(name, 10, 1) == "/";
}

// The rows named "PF..." with usable coordinates, in order: a point without them is neither
// compared nor archived, and the user has been told it stays out. A large job's rows are
// looked through in parts at once.
std::vector<std::size_t> fiducialRows(const PointList &points) {
    std::vector<std::vector<std::size_t>> found(partCount());
    runInRanges(1, points.rowCount() + 1, kLeastRowsPerPart,
                [&](std::size_t part, std::size_t from, std::size_t to) {
                    for (std::size_t row = from; row < to; ++row)
                        if (isPfName(points.field(row, PointList::Name)) &&
                            hasUsableCoordinates(points, row))
                            found[part].push_back(row);
                });
    std::vector<std::size_t> rows = std::move(found.front());
    for (std::size_t part = 1; part < found.size(); ++part)
        rows.insert(rows.end(), found[part].begin(), found[part].end());
    return rows;
}

} // namespace

PfGridLoading loadPfGrid(const PointList &points, const ProvinceArchive &archive,
                         char decimalSeparator, const PfGridLoadingCallbacks &callbacks) {
    PfGridLoading loading;
    PfComparison comparison(archive, decimalSeparator);
    const std::vector<std::size_t> rows = fiducialRows(points);
    PfGrid &grid = loading.grid;
    grid.reserve(rows.size());
    // The first grid row of each name.
    FirstIndex firstOfName;
    firstOfName.reserve(rows.size());
    for (std::size_t i : rows) {
        std::string_view name = points.field(i, PointList::Name);
        if (!hasPfLayout(name)) {
            if (callbacks.askAboutMalformedName(trimBlanks(name)) == MalformedNameAnswer::Stop) {
                loading.stopped = true;
                return loading;
            }
            loading.skippedRows.push_back(i);
            continue;
        }
        PfGridRow row;
        row.cell(PfGridRow::Name) = name;
        row.cell(PfGridRow::X) = points.field(i, PointList::X);
        row.cell(PfGridRow::Y) = points.field(i, PointList::Y);
        row.cell(PfGridRow::Z) = points.field(i, PointList::Z);
        row.cell(PfGridRow::Description) = points.field(i, PointList::Description);
        callbacks.showProgress(grid.size() + 1);
        comparison.Controlla_pf(row, points, i);
        // A point measured twice in one job is proposed once: its first occurrence.
        const bool firstOccurrence =
            firstOfName.insert(textHash(name), grid.size(), [&](std::size_t earlier) {
                return grid[earlier].cell(PfGridRow::Name) == name;
            }) == grid.size();
        row.cell(PfGridRow::Mark) =
            row.cell(PfGridRow::Used) == kNotUsed && firstOccurrence ? kArchiveMark : kSkipMark;
        grid.push_back(std::move(row));
    }
    loading.unreadableFiles = comparison.unreadableFiles();
    return loading;
}

} // namespace ferolan
