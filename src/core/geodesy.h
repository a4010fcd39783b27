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

} // namespace ferolan
