#include "sketch/logic/survey_sketch.h"

#include "core/text.h"
#include "job/point_list.h"

#include <algorithm>

namespace ferolan {
namespace {

Geocentric geocentricOf(const Xyz &xyz) {
    return {xyz.X, xyz.Y, xyz.Z};
}

} // namespace

std::optional<SurveySketch> buildSurveySketch(const PointList &points, std::size_t masterRow,
                                              const PfGrid &grid,
                                              const std::vector<std::size_t> &leftOutRows,
                                              std::optional<std::size_t> vrsRow,
                                              std::string jobName, std::string bookletName) {
    const std::optional<Xyz> master = masterRow >= 1 && masterRow <= points.rowCount()
                                          ? points.usableCoordinates(masterRow)
                                          : std::nullopt;
    if (!master)
        return std::nullopt;
    SurveySketch sketch;
    sketch.jobName = std::move(jobName);
    sketch.bookletName = std::move(bookletName);
    const TangentPlane plane(geocentricOf(*master));
    auto gridRow = grid.begin();
    for (std::size_t row = 1; row <= points.rowCount(); ++row) {
        const std::string_view name = points.field(row, PointList::Name);
        SketchMark mark = SketchMark::Point;
        if (row == masterRow) {
            mark = SketchMark::Master;
        } else if (std::find(leftOutRows.begin(), leftOutRows.end(), row) != leftOutRows.end()) {
            mark = SketchMark::PfLeftOut;
        } else if (gridRow != grid.end() && gridRow->cell(PfGridRow::Name) == name) {
            const std::string &used = gridRow->cell(PfGridRow::Used);
            mark = used == kUsed      ? SketchMark::PfUsed
                   : used == kNotUsed ? SketchMark::PfNew
                                      : SketchMark::PfUnchecked;
            ++gridRow;
        }
        const std::optional<Xyz> xyz = points.usableCoordinates(row);
        if (!xyz) {
            if (!name.empty() || !points.field(row, PointList::X).empty())
                ++sketch.pointsWithoutCoordinates;
            continue;
        }
        if (mark == SketchMark::Master)
            sketch.masterIndex = sketch.points.size();
        sketch.points.push_back({std::string(trimBlanks(name)),
                                 std::string(trimBlanks(points.field(row, PointList::Description))),
                                 plane.project(geocentricOf(*xyz)), mark, row == vrsRow});
    }
    return sketch;
}

} // namespace ferolan
