#pragma once

#include "core/geodesy.h"
#include "fiducial/logic/pf_grid.h"

#include <optional>
#include <string>
#include <vector>

namespace ferolan {

class PointList;

// How a point is marked in the sketch. A fiducial point is coloured by what the comparison
// found ("Già usato" SI or NO), or shown as left out when the booklet does not carry it.
enum class SketchMark { Master, Point, PfUsed, PfNew, PfUnchecked, PfLeftOut };

struct SketchPoint {
    std::string name;        // Windows-1252, without surrounding blanks
    std::string description; // Windows-1252, without surrounding blanks
    PlanPoint plan;
    SketchMark mark = SketchMark::Point;
    // The virtual reference point of an NRTK booklet, labelled "[VRS]".
    bool vrs = false;
};

// Two fiducial points whose distance today is out of tolerance against their archived one.
struct SketchPair {
    std::size_t first = 0, second = 0; // into `points`
    double ratio = 0;                  // the difference over the tolerance
};

// The job in plan around its master station, the master at (0, 0). Only points with usable
// coordinates are in `points`; the others are counted.
struct SurveySketch {
    std::vector<SketchPoint> points; // job order
    std::size_t masterIndex = 0;     // into `points`
    std::size_t pointsWithoutCoordinates = 0;
    std::vector<SketchPair> pairsOutOfTolerance;
    std::string jobName; // file names, Windows-1252
    std::string bookletName;
};

// The job's points with usable coordinates, marked from the comparison grid (rows in job
// order, one per well-formed fiducial point), the rows left out of it and the VRS point's row;
// nothing when the master station has no usable coordinates.
std::optional<SurveySketch> buildSurveySketch(const PointList &points, std::size_t masterRow,
                                              const PfGrid &grid,
                                              const std::vector<std::size_t> &leftOutRows,
                                              std::optional<std::size_t> vrsRow,
                                              std::string jobName, std::string bookletName);

} // namespace ferolan
