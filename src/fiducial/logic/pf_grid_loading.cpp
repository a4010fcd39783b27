#include "fiducial/logic/pf_grid_loading.h"

#include "core/first_index.h"
#include "core/parallel.h"
#include "core/text.h"
#include "core/text_hash.h"
#include "fiducial/logic/pf_comparison.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <algorithm>

namespace ferolan {
namespace {

bool isPfName(std::string_view name) {
    return name.starts_with("PF");
}

// The two separators are checked, and that no control character is there: the archive
// record blanks it, so the point would be looked up under one key and archived under another,
// and archived again at every run. Length and the other characters are not checked.
bool hasPfLayout(std::string_view name) {
    return columns(name, 5, 1) == "/" && columns(name, 10, 1) == "/" &&
           std::ranges::none_of(
               name, [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; });
}

struct FiducialRows {
    std::vector<std::size_t> rows;
    // The key of each row's name, taken while the row is at hand.
    std::vector<PfKey> keys;
};

// The rows named "PF..." with usable coordinates, in order: a point without them is neither
// compared nor archived, and the user has been told it stays out. A large job's rows are
// looked through in parts at once.
FiducialRows fiducialRows(const PointList &points) {
    std::vector<FiducialRows> parts =
        inRanges(1, points.rowCount() + 1, [&](std::size_t from, std::size_t to) {
            FiducialRows fiducial;
            for (std::size_t row = from; row < to; ++row) {
                const std::string_view name = points.field(row, PointList::Name);
                if (isPfName(name) && hasUsableCoordinates(points, row)) {
                    fiducial.rows.push_back(row);
                    fiducial.keys.push_back(Scomponi_nome_pf(name));
                }
            }
            return fiducial;
        });
    FiducialRows fiducial = std::move(parts.front());
    for (std::size_t part = 1; part < parts.size(); ++part) {
        fiducial.rows.insert(fiducial.rows.end(), parts[part].rows.begin(), parts[part].rows.end());
        fiducial.keys.insert(fiducial.keys.end(), parts[part].keys.begin(), parts[part].keys.end());
    }
    return fiducial;
}

} // namespace

PfGridLoading loadPfGrid(const PointList &points, const ProvinceArchive &archive,
                         char decimalSeparator, const PfGridLoadingCallbacks &callbacks) {
    PfGridLoading loading;
    FiducialRows fiducial = fiducialRows(points);
    const std::vector<std::size_t> &rows = fiducial.rows;
    // The archive files keep only the records of the job's points.
    const WantedKeys wanted(std::move(fiducial.keys));
    PfComparison comparison(archive, decimalSeparator, wanted);
    PfGrid &grid = loading.grid;
    grid.reserve(rows.size());
    // The point list row of each grid row.
    std::vector<std::size_t> pointRows;
    pointRows.reserve(rows.size());
    FirstIndex firstOfName;
    firstOfName.reserve(rows.size());
    // In order: each malformed name asked about, each other point listed and its archive file
    // read.
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
        callbacks.showProgress(grid.size() + 1);
        comparison.prepare(name);
        const std::size_t number = grid.size();
        PfGridRow &row = grid.emplace_back();
        row.cell(PfGridRow::Name) = name;
        // A point measured twice in one job is proposed once: its first occurrence. The
        // comparison takes the proposal back for a point the archive holds.
        const bool firstOccurrence =
            firstOfName.insert(textHash(name), number, [&](std::size_t earlier) {
                return grid[earlier].cell(PfGridRow::Name) == name;
            }) == number;
        row.cell(PfGridRow::Mark) = firstOccurrence ? kArchiveMark : kSkipMark;
        pointRows.push_back(i);
    }
    // The comparisons only read what is prepared: a large job's run in parts at once.
    const std::vector<PfComparison::Unreadable> unreadable =
        inRanges(0, grid.size(), [&](std::size_t from, std::size_t to) {
            PfComparison::Unreadable files;
            for (std::size_t number = from; number < to; ++number) {
                PfGridRow &row = grid[number];
                const std::size_t i = pointRows[number];
                row.cell(PfGridRow::X) = points.field(i, PointList::X);
                row.cell(PfGridRow::Y) = points.field(i, PointList::Y);
                row.cell(PfGridRow::Z) = points.field(i, PointList::Z);
                row.cell(PfGridRow::Description) = points.field(i, PointList::Description);
                comparison.Controlla_pf(row, points, i, files);
                if (row.cell(PfGridRow::Used) != kNotUsed)
                    row.cell(PfGridRow::Mark) = kSkipMark;
            }
            return files;
        });
    for (const PfComparison::Unreadable &files : unreadable)
        mergeUnreadable(loading.unreadableFiles, files);
    return loading;
}

} // namespace ferolan
