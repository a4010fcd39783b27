#pragma once

#include "fiducial/logic/pf_distances.h"
#include "sketch/logic/sketch_drawing.h"

#include <string>
#include <vector>

// The pairs of fiducial points whose distance is out of tolerance, drawn between them.
namespace ferolan {

// Adds to the sketch the pairs out of tolerance whose two points it shows.
void markPairsOutOfTolerance(SurveySketch &sketch, const std::vector<PfPair> &pairs);

// The pair whose line passes within `radius` pixels of (x, y), the nearest.
const SketchPair *pairNear(const SurveySketch &sketch, const SketchView &view, double x, double y,
                           double radius);

// The two names and the ratio, for a tooltip (UTF-8).
std::string pairSummary(const SurveySketch &sketch, const SketchPair &pair);

} // namespace ferolan
