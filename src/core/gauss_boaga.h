#pragma once

// The Gauss-Boaga plane coordinates of the Italian cadastre: a transverse Mercator projection
// of the International 1924 ellipsoid in two zones, which the booklet's mean east refers to.
namespace ferolan {

enum class GaussBoagaZone {
    Ovest, // central meridian 9° E, false east 1,500,000 m
    Est,   // central meridian 15° E, false east 2,520,000 m
};

struct GaussBoaga {
    double east = 0, north = 0;
};

// The zone a longitude belongs to: Ovest up to 12° E, Est beyond.
GaussBoagaZone gaussBoagaZoneOf(double longitudeDegrees);

// Plane coordinates in metres of a point given by latitude and longitude in degrees, in the
// given zone (a point may be projected into the neighbouring zone, as near the 12° E seam).
GaussBoaga gaussBoagaFromGeodetic(double latitudeDegrees, double longitudeDegrees,
                                  GaussBoagaZone zone);

} // namespace ferolan
