#pragma once

#include "sketch/logic/survey_sketch.h"

#include <optional>
#include <string>
#include <vector>

// The survey sketch as a list of simple shapes in pixels (y downwards), so that the window,
// its PDF and PNG copies and ferolan-batch's SVG all draw the same picture.
namespace ferolan {

// Where the plan lies on the page: `pixelsPerMetre`, and the plan point shown at the centre.
struct SketchView {
    double width = 0, height = 0;
    double pixelsPerMetre = 1;
    PlanPoint centre;

    double toX(const PlanPoint &p) const {
        return width / 2 + (p.east - centre.east) * pixelsPerMetre;
    }
    double toY(const PlanPoint &p) const {
        return height / 2 - (p.north - centre.north) * pixelsPerMetre;
    }
    PlanPoint toPlan(double x, double y) const {
        return {centre.east + (x - width / 2) / pixelsPerMetre,
                centre.north - (y - height / 2) / pixelsPerMetre};
    }
    // Scales by `factor` keeping the plan point under (x, y) in place.
    void zoomAround(double x, double y, double factor);
};

// Every point of the sketch in view with a margin for labels and the furniture.
SketchView fittedView(const SurveySketch &sketch, double width, double height);

struct Rgb {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};

Rgb markColour(SketchMark mark);

struct SketchShape {
    enum Kind {
        Line,     // from (x, y) to (x2, y2), `size` wide
        Dot,      // circle of radius `size` at (x, y)
        Triangle, // upward triangle of half-width `size` centred on (x, y)
        Text,     // `text` (Windows-1252) with its baseline starting at (x, y), `size` pixels high
    };
    Kind kind = Line;
    double x = 0, y = 0, x2 = 0, y2 = 0, size = 1;
    Rgb colour;
    std::string text;
    bool bold = false;
    bool pointMark = false; // the mark of a surveyed point, not of the legend
    bool dashed = false;    // a line drawn in dashes
};

inline constexpr double kLabelSize = 11;

// The scale bar's length in whole metres: 1, 2 or 5 times a power of ten, the longest that
// stays within `maxPixels`.
double scaleBarMetres(double pixelsPerMetre, double maxPixels);

// The whole drawing: vectors, marks, labels (fiducial points, the master and the VRS point,
// "[VRS]" after its name, always; other points in job order, each left out when it would
// overlap a label already placed), the scale bar, the north arrow, the names of the job and
// the booklet and a legend.
std::vector<SketchShape> drawSketch(const SurveySketch &sketch, const SketchView &view);

// The drawn point within `radius` pixels of (x, y) nearest to it.
const SketchPoint *pointNear(const SurveySketch &sketch, const SketchView &view, double x, double y,
                             double radius);

// "NAME - DESCRIPTION" and the horizontal distance from the master, for a tooltip (UTF-8).
std::string pointSummary(const SurveySketch &sketch, const SketchPoint &point);

} // namespace ferolan
