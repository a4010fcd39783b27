#include "fiducial/logic/pf_grid_loading.h"

#include "core/text.h"
#include "fiducial/logic/pf_comparison.h"
#include "job/point_list.h"
#include "job/usable_point.h"

#include <unordered_set>

namespace ferolan {
namespace {

// Room for the names of a job with one point in ten fiducial, as surveys commonly have.
constexpr std::size_t kRowsPerFiducialPoint = 10;

bool isPfName(std::string_view name) {
    return name.starts_with("PF");
}

// Only the two separators are checked; length and the other characters are not.
bool hasPfLayout(std::string_view name) {
    return columns(name, 5, 1) == "/" && columns(name, 10, 1) == "/";
}

} // namespace

PfGridLoading loadPfGrid(const PointList &points, const ProvinceArchive &archive,
                         char decimalSeparator, const PfGridLoadingCallbacks &callbacks) {
    PfGridLoading loading;
    PfComparison comparison(archive, decimalSeparator);
    std::unordered_set<std::string_view> proposedNames;
    proposedNames.reserve(points.rowCount() / kRowsPerFiducialPoint);
    loading.grid.reserve(points.rowCount() / kRowsPerFiducialPoint);
    for (std::size_t i = 1; i <= points.rowCount(); ++i) {
        std::string_view name = points.field(i, PointList::Name);
        // A point without usable coordinates is neither compared nor archived: the user has
        // been told it stays out.
        if (!isPfName(name) || !hasUsableCoordinates(points, i))
            continue;
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
        callbacks.showProgress(loading.grid.size() + 1);
        comparison.Controlla_pf(row, points, i);
        // A point measured twice in one job is proposed once: its first occurrence.
        bool firstOccurrence = proposedNames.insert(name).second;
        row.cell(PfGridRow::Mark) =
            row.cell(PfGridRow::Used) == kNotUsed && firstOccurrence ? kArchiveMark : kSkipMark;
        loading.grid.push_back(std::move(row));
    }
    loading.unreadableFiles = comparison.unreadableFiles();
    return loading;
}

} // namespace ferolan
