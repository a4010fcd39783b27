#include "core/gauss_boaga.h"

#include <cmath>
#include <numbers>

namespace ferolan {
namespace {

constexpr double kSemiMajorAxis = 6378388.0;
constexpr double kFlattening = 1.0 / 297.0;
constexpr double kE2 = kFlattening * (2 - kFlattening);
constexpr double kEp2 = kE2 / (1 - kE2);
constexpr double kScale = 0.9996;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

// Length of the meridian arc from the equator to a latitude (radians).
double meridianArc(double latitude) {
    const double e4 = kE2 * kE2, e6 = e4 * kE2;
    return kSemiMajorAxis * ((1 - kE2 / 4 - 3 * e4 / 64 - 5 * e6 / 256) * latitude -
                             (3 * kE2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * std::sin(2 * latitude) +
                             (15 * e4 / 256 + 45 * e6 / 1024) * std::sin(4 * latitude) -
                             (35 * e6 / 3072) * std::sin(6 * latitude));
}

} // namespace

GaussBoagaZone gaussBoagaZoneOf(double longitudeDegrees) {
    return longitudeDegrees <= 12.0 ? GaussBoagaZone::Ovest : GaussBoagaZone::Est;
}

GaussBoaga gaussBoagaFromGeodetic(double latitudeDegrees, double longitudeDegrees,
                                  GaussBoagaZone zone) {
    const bool ovest = zone == GaussBoagaZone::Ovest;
    const double centralMeridian = ovest ? 9.0 : 15.0;
    const double falseEast = ovest ? 1500000.0 : 2520000.0;

    const double phi = latitudeDegrees * kRadiansPerDegree;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi), tanPhi = std::tan(phi);
    const double n = kSemiMajorAxis / std::sqrt(1 - kE2 * sinPhi * sinPhi);
    const double t = tanPhi * tanPhi;
    const double c = kEp2 * cosPhi * cosPhi;
    const double a = (longitudeDegrees - centralMeridian) * kRadiansPerDegree * cosPhi;
    const double a2 = a * a, a3 = a2 * a, a4 = a3 * a, a5 = a4 * a, a6 = a5 * a;

    const double east =
        kScale * n *
        (a + (1 - t + c) * a3 / 6 + (5 - 18 * t + t * t + 72 * c - 58 * kEp2) * a5 / 120);
    const double north =
        kScale * (meridianArc(phi) + n * tanPhi *
                                         (a2 / 2 + (5 - t + 9 * c + 4 * c * c) * a4 / 24 +
                                          (61 - 58 * t + t * t + 600 * c - 330 * kEp2) * a6 / 720));
    return {falseEast + east, north};
}

} // namespace ferolan
