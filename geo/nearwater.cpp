#include "geo/nearwater.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRadiansPerNm = std::numbers::pi / (180.0 * 60.0);

// The point `distanceNm` from `from` on the initial course `course` (radians), on the sphere.
LatLon destination(LatLon from, double course, double distanceNm)
{
    const double degree = std::numbers::pi / 180.0;
    const double lat1 = from.latitude * degree;
    const double arc = distanceNm * kRadiansPerNm;
    const double lat2 = std::asin(std::clamp(std::sin(lat1) * std::cos(arc) +
                                                 std::cos(lat1) * std::sin(arc) * std::cos(course),
                                             -1.0, 1.0));
    const double dLon = std::atan2(std::sin(course) * std::sin(arc) * std::cos(lat1),
                                   std::cos(arc) - std::sin(lat1) * std::sin(lat2));
    double longitude = from.longitude + dLon / degree;
    longitude = std::remainder(longitude, 360.0);
    return LatLon{lat2 / degree, longitude};
}

} // namespace

std::optional<LatLon> nearestWater(const LandIndex& land, LatLon place, double reachNm)
{
    if (!std::isfinite(place.latitude) || !std::isfinite(place.longitude) ||
        std::fabs(place.latitude) > 90.0 || !std::isfinite(reachNm))
        return std::nullopt;
    if (!land.isLand(place))
        return place;
    const double reach = std::min(reachNm, kNearWaterReachNm);
    for (int ring = 1; ring * kNearWaterStepNm <= reach + 1e-9; ++ring) {
        const double radiusNm = ring * kNearWaterStepNm;
        const int points = int(std::ceil(2.0 * std::numbers::pi * radiusNm / kNearWaterStepNm));
        for (int k = 0; k < points; ++k) {
            const LatLon point = destination(place, 2.0 * std::numbers::pi * k / points, radiusNm);
            if (!land.isLand(point))
                return point;
        }
    }
    return std::nullopt;
}

} // namespace gyrena
