#pragma once

// Geodesy on the WGS84 ellipsoid: the booklet's rows 1 and 2 carry geocentric (ECEF)
// coordinates, while checks and drawings need latitude, longitude and local plans.
namespace ferolan {

struct Geocentric {
    double x = 0, y = 0, z = 0;
};

struct Geodetic {
    double latitudeDegrees = 0, longitudeDegrees = 0, heightMetres = 0;
};

// Latitude, longitude and ellipsoidal height of a geocentric point (Bowring's formula,
// well under a millimetre for points near the Earth's surface).
Geodetic geodeticFromGeocentric(const Geocentric &point);

// The geocentric point of a latitude, longitude and ellipsoidal height: the ellipsoid's own
// closed formulas, exact.
Geocentric geocentricFromGeodetic(const Geodetic &point);

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

// The horizontal distance between two points as surveyors compare it: their difference
// projected on the plane tangent to the ellipsoid at their midpoint, reduced to the
// ellipsoid by R / (R + h) with R = 6,371,000 m and h their mean ellipsoidal height.
double horizontalDistance(const Geocentric &a, const Geocentric &b);

} // namespace ferolan
