#include "sketch/logic/sketch_pf_pairs.h"

#include "core/cp1252.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>

namespace ferolan {
namespace {

// The first fiducial point of the sketch with the name, as the grid lists a point once.
std::optional<std::size_t> fiducialIndex(const SurveySketch &sketch, std::string_view name) {
    auto found = std::find_if(sketch.points.begin(), sketch.points.end(), [name](auto &point) {
        return point.name == name && point.mark != SketchMark::Point &&
               point.mark != SketchMark::Master;
    });
    if (found == sketch.points.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - sketch.points.begin());
}

double distanceToSegment(double x, double y, double x1, double y1, double x2, double y2) {
    const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((x - x1) * dx + (y - y1) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(x - (x1 + t * dx), y - (y1 + t * dy));
}

} // namespace

void markPairsOutOfTolerance(SurveySketch &sketch, const std::vector<PfPair> &pairs) {
    for (const PfPair &pair : pairs) {
        if (pair.inTolerance())
            continue;
        const std::optional<std::size_t> first = fiducialIndex(sketch, pair.first),
                                         second = fiducialIndex(sketch, pair.second);
        if (first && second)
            sketch.pairsOutOfTolerance.push_back({*first, *second, pair.ratio()});
    }
}

const SketchPair *pairNear(const SurveySketch &sketch, const SketchView &view, double x, double y,
                           double radius) {
    const SketchPair *nearest = nullptr;
    double best = radius;
    for (const SketchPair &pair : sketch.pairsOutOfTolerance) {
        const PlanPoint &a = sketch.points[pair.first].plan, &b = sketch.points[pair.second].plan;
        const double distance =
            distanceToSegment(x, y, view.toX(a), view.toY(a), view.toX(b), view.toY(b));
        if (distance <= best) {
            best = distance;
            nearest = &pair;
        }
    }
    return nearest;
}

std::string pairSummary(const SurveySketch &sketch, const SketchPair &pair) {
    return utf8FromCp1252(sketch.points[pair.first].name + " \x96 " +
                          sketch.points[pair.second].name) +
           "\nrapporto differenza/tolleranza: " + decimalText(pair.ratio, 2, ',');
}

} // namespace ferolan
