#pragma once

#include "core/geodesy.h"
#include "fiducial/logic/pf_grid.h"

#include <optional>
#include <string>
#include <vector>

namespace ferolan {

class PointList;

// East and north metres on the plane tangent to the WGS84 ellipsoid at an origin: exact to
// the millimetre over the few kilometres of a survey.
struct PlanPoint {
    double east = 0, north = 0;
};

class TangentPlane {
public:
    explicit TangentPlane(const Geocentric &origin);
    PlanPoint project(const Geocentric &point) const;

private:
    Geocentric origin_;
    double sinLat_, cosLat_, sinLon_, cosLon_;
};

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

// The job in plan around its master station, the master at (0, 0). Only points with usable
// coordinates are in `points`; the others are counted.
struct SurveySketch {
    std::vector<SketchPoint> points; // job order
    std::size_t masterIndex = 0;     // into `points`
    std::size_t pointsWithoutCoordinates = 0;
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
