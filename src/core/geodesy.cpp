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
// The mean Earth radius of the cadastre's reduction to the ellipsoid.
constexpr double kMeanEarthRadius = 6371000.0;
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

Geocentric geocentricFromGeodetic(const Geodetic &point) {
    const double latitude = point.latitudeDegrees / kDegreesPerRadian;
    const double longitude = point.longitudeDegrees / kDegreesPerRadian;
    const double sinLatitude = std::sin(latitude), cosLatitude = std::cos(latitude);
    const double radius =
        kSemiMajorAxis / std::sqrt(1 - kFirstEccentricity2 * sinLatitude * sinLatitude);
    const double across = (radius + point.heightMetres) * cosLatitude;
    return {across * std::cos(longitude), across * std::sin(longitude),
            (radius * (1 - kFirstEccentricity2) + point.heightMetres) * sinLatitude};
}

TangentPlane::TangentPlane(const Geocentric &origin) : origin_(origin) {
    const Geodetic geodetic = geodeticFromGeocentric(origin);
    const double latitude = geodetic.latitudeDegrees / kDegreesPerRadian;
    const double longitude = geodetic.longitudeDegrees / kDegreesPerRadian;
    sinLat_ = std::sin(latitude);
    cosLat_ = std::cos(latitude);
    sinLon_ = std::sin(longitude);
    cosLon_ = std::cos(longitude);
}

PlanPoint TangentPlane::project(const Geocentric &point) const {
    const double dx = point.x - origin_.x, dy = point.y - origin_.y, dz = point.z - origin_.z;
    return {-sinLon_ * dx + cosLon_ * dy,
            -sinLat_ * cosLon_ * dx - sinLat_ * sinLon_ * dy + cosLat_ * dz};
}

double horizontalDistance(const Geocentric &a, const Geocentric &b) {
    const TangentPlane plane({(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2});
    const PlanPoint from = plane.project(a), to = plane.project(b);
    const double meanHeight =
        (geodeticFromGeocentric(a).heightMetres + geodeticFromGeocentric(b).heightMetres) / 2;
    return std::hypot(to.east - from.east, to.north - from.north) * kMeanEarthRadius /
           (kMeanEarthRadius + meanHeight);
}

} // namespace ferolan
