#include "core/geodesy.h"

#include <cmath>
#include <numbers>

namespace ferolan {

namespace {
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kFlattening = 1.0 / 298.257223563;
constexpr double kSemiMinorAxis = kSemiMajorAxis * (1 - kFlattening);
constexpr double kFirstEccentricity2 = kFlattening * (2 - kFlattening);
constexpr double kSecondEccentricity2 =
    kFirstEccentricity2 / ((1 - kFlattening) * (1 - kFlattening));
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
} // namespace

Geodetic geodeticFromGeocentric(const Geocentric &point) {
    const double p = std::hypot(point.x, point.y);
    const double theta = std::atan2(point.z * kSemiMajorAxis, p * kSemiMinorAxis);
    const double sinTheta = std::sin(theta), cosTheta = std::cos(theta);
    const double latitude =
        std::atan2(point.z + kSecondEccentricity2 * kSemiMinorAxis * sinTheta * sinTheta * sinTheta,
                   p - kFirstEccentricity2 * kSemiMajorAxis * cosTheta * cosTheta * cosTheta);
    const double sinLatitude = std::sin(latitude);
    const double radius =
        kSemiMajorAxis / std::sqrt(1 - kFirstEccentricity2 * sinLatitude * sinLatitude);
    const double height = p / std::cos(latitude) - radius;
    return {latitude * kDegreesPerRadian, std::atan2(point.y, point.x) * kDegreesPerRadian, height};
}

} // namespace ferolan
