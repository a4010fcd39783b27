#include "sketch/logic/sketch_drawing.h"

#include "core/cp1252.h"
#include "core/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace ferolan {
namespace {

// Room around the points for their labels, the names above and the scale and legend below.
constexpr double kMargin = 80;
const Rgb kInk{0, 0, 0};
const Rgb kVectorInk{150, 150, 150};
const Rgb kPairInk{255, 0, 0};

struct Box {
    double left, top, right, bottom;
    bool overlaps(const Box &other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};

// Average glyph widths of a sans-serif font: enough to keep labels apart, not to set type.
Box labelBox(double x, double y, std::string_view text, double size) {
    return {x, y - size, x + 0.6 * size * static_cast<double>(text.size()), y + 0.25 * size};
}

SketchShape text(double x, double y, std::string content, double size = kLabelSize,
                 bool bold = false) {
    return {SketchShape::Text, x, y, 0, 0, size, kInk, std::move(content), bold, false, false};
}

SketchShape line(double x, double y, double x2, double y2, double width, Rgb colour,
                 bool dashed = false) {
    return {SketchShape::Line, x, y, x2, y2, width, colour, {}, false, false, dashed};
}

SketchShape mark(SketchShape::Kind kind, double x, double y, double size, Rgb colour) {
    return {kind, x, y, 0, 0, size, colour, {}, false, false, false};
}

bool isFiducial(SketchMark mark) {
    return mark != SketchMark::Point && mark != SketchMark::Master;
}

void drawScaleBar(std::vector<SketchShape> &shapes, const SketchView &view) {
    const double metres = scaleBarMetres(view.pixelsPerMetre, view.width / 4);
    const double length = metres * view.pixelsPerMetre;
    const double x = 20, y = view.height - 20;
    shapes.push_back(line(x, y, x + length, y, 2, kInk));
    shapes.push_back(line(x, y - 5, x, y + 1, 2, kInk));
    shapes.push_back(line(x + length, y - 5, x + length, y + 1, 2, kInk));
    shapes.push_back(text(x, y - 8, wholeNumberText(metres) + " m"));
}

void drawNorthArrow(std::vector<SketchShape> &shapes, const SketchView &view) {
    const double x = view.width - 30, top = 36, bottom = 76;
    shapes.push_back(line(x, bottom, x, top + 8, 2, kInk));
    shapes.push_back(mark(SketchShape::Triangle, x, top + 6, 6, kInk));
    shapes.push_back(text(x - 4, top - 4, "N", 12, true));
}

void drawLegend(std::vector<SketchShape> &shapes, const SketchView &view, bool withPairs) {
    struct Entry {
        SketchMark mark;
        const char *caption;
    };
    constexpr Entry kEntries[] = {{SketchMark::Master, "stazione master"},
                                  {SketchMark::PfUsed, "PF gi\xE0 usato"},
                                  {SketchMark::PfNew, "PF nuovo"},
                                  {SketchMark::PfLeftOut, "PF escluso"}};
    double x = view.width - 20 - 120, y = view.height - 20 - 16 * 3;
    for (const Entry &entry : kEntries) {
        shapes.push_back(
            mark(entry.mark == SketchMark::Master ? SketchShape::Triangle : SketchShape::Dot, x,
                 y - 4, 5, markColour(entry.mark)));
        shapes.push_back(text(x + 12, y, entry.caption, 10));
        y += 16;
    }
    if (withPairs) {
        y = view.height - 20 - 16 * 4;
        shapes.push_back(line(x - 6, y - 4, x + 6, y - 4, 1.5, kPairInk, true));
        shapes.push_back(text(x + 12, y, "fuori tolleranza", 10));
    }
}

} // namespace

void SketchView::zoomAround(double x, double y, double factor) {
    const PlanPoint fixed = toPlan(x, y);
    pixelsPerMetre *= factor;
    centre.east = fixed.east - (x - width / 2) / pixelsPerMetre;
    centre.north = fixed.north + (y - height / 2) / pixelsPerMetre;
}

SketchView fittedView(const SurveySketch &sketch, double width, double height) {
    double west = 0, east = 0, south = 0, north = 0;
    for (const SketchPoint &point : sketch.points) {
        west = std::min(west, point.plan.east);
        east = std::max(east, point.plan.east);
        south = std::min(south, point.plan.north);
        north = std::max(north, point.plan.north);
    }
    SketchView view{width, height, 1, {(west + east) / 2, (south + north) / 2}};
    const double spanX = std::max(east - west, 1.0), spanY = std::max(north - south, 1.0);
    const double roomX = std::max(width - 2 * kMargin, 1.0),
                 roomY = std::max(height - 2 * kMargin, 1.0);
    view.pixelsPerMetre = std::min(roomX / spanX, roomY / spanY);
    return view;
}

Rgb markColour(SketchMark mark) {
    switch (mark) {
    case SketchMark::Master:
        return {200, 0, 0};
    case SketchMark::Point:
        return kInk;
    case SketchMark::PfUsed:
        return {0, 150, 0};
    case SketchMark::PfNew:
        return {0, 90, 220};
    case SketchMark::PfUnchecked:
        return {150, 150, 150};
    // Grey, as a point not in the booklet: orange in the grid means moved more than 10 cm.
    case SketchMark::PfLeftOut:
        return {175, 175, 175};
    }
    return kInk;
}

double scaleBarMetres(double pixelsPerMetre, double maxPixels) {
    const double maxMetres = std::max(maxPixels / pixelsPerMetre, 1.0);
    double power = std::pow(10.0, std::floor(std::log10(maxMetres)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= maxMetres)
            return step * power;
    return power;
}

std::vector<SketchShape> drawSketch(const SurveySketch &sketch, const SketchView &view) {
    std::vector<SketchShape> shapes;
    if (sketch.points.empty())
        return shapes;
    const SketchPoint &master = sketch.points[sketch.masterIndex];
    const double mx = view.toX(master.plan), my = view.toY(master.plan);
    // Marks, labels and vectors outside the view are not drawn.
    const Box inView{-10, -10, view.width + 10, view.height + 10};
    for (const SketchPoint &point : sketch.points) {
        const double x = view.toX(point.plan), y = view.toY(point.plan);
        const bool outside = std::max(x, mx) < inView.left || std::min(x, mx) > inView.right ||
                             std::max(y, my) < inView.top || std::min(y, my) > inView.bottom;
        if (&point != &master && !outside)
            shapes.push_back(line(mx, my, x, y, 0.5, kVectorInk));
    }
    // Pairs of fiducial points out of tolerance, over the vectors and under the marks.
    for (const SketchPair &pair : sketch.pairsOutOfTolerance) {
        const PlanPoint &a = sketch.points[pair.first].plan, &b = sketch.points[pair.second].plan;
        shapes.push_back(
            line(view.toX(a), view.toY(a), view.toX(b), view.toY(b), 1.5, kPairInk, true));
    }
    for (const SketchPoint &point : sketch.points) {
        const double x = view.toX(point.plan), y = view.toY(point.plan);
        if (!inView.overlaps({x - 1, y - 1, x + 1, y + 1}))
            continue;
        if (point.mark == SketchMark::Master)
            shapes.push_back(mark(SketchShape::Triangle, x, y, 8, markColour(point.mark)));
        else
            shapes.push_back(mark(SketchShape::Dot, x, y, isFiducial(point.mark) ? 5.0 : 2.0,
                                  markColour(point.mark)));
        shapes.back().pointMark = true;
    }

    // Labels that must be shown first, then the others where they fit, in job order. Labels
    // are looked up by the cells of a coarse grid they cover, so a job of thousands of points
    // stays quick to draw at every zoom.
    std::vector<Box> placed;
    std::unordered_map<std::int64_t, std::vector<std::size_t>> cells;
    auto cellsOf = [](const Box &box, auto &&visit) {
        constexpr double kCell = 64;
        for (auto x = static_cast<std::int64_t>(std::floor(box.left / kCell));
             x <= static_cast<std::int64_t>(std::floor(box.right / kCell)); ++x)
            for (auto y = static_cast<std::int64_t>(std::floor(box.top / kCell));
                 y <= static_cast<std::int64_t>(std::floor(box.bottom / kCell)); ++y)
                visit(x * 1'000'003 + y);
    };
    auto place = [&](const SketchPoint &point, bool always) {
        const double x = view.toX(point.plan) + 7, y = view.toY(point.plan) - 5;
        const std::string label = point.vrs ? point.name + " [VRS]" : point.name;
        const Box box = labelBox(x, y, label, kLabelSize);
        if (!box.overlaps(inView))
            return;
        bool free = true;
        if (!always)
            cellsOf(box, [&](std::int64_t cell) {
                for (std::size_t other : cells[cell])
                    free = free && !box.overlaps(placed[other]);
            });
        if (!free)
            return;
        cellsOf(box, [&](std::int64_t cell) { cells[cell].push_back(placed.size()); });
        placed.push_back(box);
        shapes.push_back(text(x, y, label, kLabelSize, always));
    };
    auto alwaysLabelled = [](const SketchPoint &point) {
        return point.mark != SketchMark::Point || point.vrs;
    };
    for (const SketchPoint &point : sketch.points)
        if (alwaysLabelled(point))
            place(point, true);
    for (const SketchPoint &point : sketch.points)
        if (!alwaysLabelled(point) && !point.name.empty())
            place(point, false);

    drawScaleBar(shapes, view);
    drawNorthArrow(shapes, view);
    drawLegend(shapes, view, !sketch.pairsOutOfTolerance.empty());
    shapes.push_back(text(20, 24, "Lavoro: " + sketch.jobName, 12, true));
    shapes.push_back(text(20, 42, "Libretto: " + sketch.bookletName, 12));
    if (sketch.pointsWithoutCoordinates > 0)
        shapes.push_back(text(20, 60,
                              "Punti senza coordinate utilizzabili (non disegnati): " +
                                  std::to_string(sketch.pointsWithoutCoordinates),
                              10));
    return shapes;
}

const SketchPoint *pointNear(const SurveySketch &sketch, const SketchView &view, double x, double y,
                             double radius) {
    const SketchPoint *nearest = nullptr;
    double best = radius;
    for (const SketchPoint &point : sketch.points) {
        const double distance = std::hypot(view.toX(point.plan) - x, view.toY(point.plan) - y);
        if (distance <= best) {
            best = distance;
            nearest = &point;
        }
    }
    return nearest;
}

std::string pointSummary(const SurveySketch &sketch, const SketchPoint &point) {
    const PlanPoint &master = sketch.points[sketch.masterIndex].plan;
    const double distance =
        std::hypot(point.plan.east - master.east, point.plan.north - master.north);
    std::string summary = utf8FromCp1252(point.name);
    if (!point.description.empty())
        summary += " - " + utf8FromCp1252(point.description);
    return summary + "\nDistanza dalla stazione master: " + threeDecimalText(distance, ',') + " m";
}

} // namespace ferolan
