#include "geo/spherepath.h"

#include <algorithm>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;

} // namespace

Vector3 unitVector(LatLon p)
{
    if (p.latitude == 90.0)
        return {0.0, 0.0, 1.0};
    if (p.latitude == -90.0)
        return {0.0, 0.0, -1.0};
    const double phi = p.latitude * kRad, lambda = p.longitude * kRad;
    return {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
}

LatLon positionOf(Vector3 v)
{
    return {std::atan2(v.z, std::hypot(v.x, v.y)) / kRad, std::atan2(v.y, v.x) / kRad};
}

void appendGreatCircle(std::vector<LatLon>& out, LatLon a, LatLon b, double stepDegrees)
{
    const double step = std::max(stepDegrees, 0.01);
    const Vector3 u = unitVector(a), v = unitVector(b);
    const double cosArc = std::clamp(dot(u, v), -1.0, 1.0);
    if (cosArc < -1.0 + 1e-12) {
        appendGreatCircle(out, a, {90.0, a.longitude}, step);
        out.back().longitude = b.longitude;
        appendGreatCircle(out, out.back(), b, step);
        return;
    }
    const double arc = std::acos(cosArc);
    const int steps = std::max(1, static_cast<int>(std::ceil(arc / kRad / step)));
    const double sinArc = std::sin(arc);
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        out.push_back(
            positionOf(std::sin((1 - t) * arc) / sinArc * u + std::sin(t * arc) / sinArc * v));
    }
    out.push_back(b);
}

double isometricLatitude(double latitude)
{
    return std::asinh(std::tan(latitude * kRad));
}

std::vector<LatLon> rhumbLinePath(LatLon a, LatLon b, double stepDegrees)
{
    const double step = std::max(stepDegrees, 0.01);
    std::vector<LatLon> out;
    const bool atPole = std::fabs(a.latitude) >= 90.0 || std::fabs(b.latitude) >= 90.0;
    double dlon = std::remainder(b.longitude - a.longitude, 360.0);
    if (dlon == -180.0)
        dlon = 180.0; // half-way round goes east
    if (atPole) {
        // Course 0 or 180 along the meridian of the end that is not the pole.
        const double lon = std::fabs(a.latitude) >= 90.0 ? b.longitude : a.longitude;
        const int steps =
            std::max(1, static_cast<int>(std::ceil(std::fabs(b.latitude - a.latitude) / step)));
        for (int i = 0; i <= steps; ++i)
            out.push_back({a.latitude + (b.latitude - a.latitude) * i / steps, lon});
        return out;
    }
    // Longitude runs linearly with the isometric latitude; the latitude changes no faster than
    // the isometric latitude, so steps of both at most `step` keep the points close.
    const double psiA = isometricLatitude(a.latitude), psiB = isometricLatitude(b.latitude);
    const double span = std::max(std::fabs(dlon), std::fabs(psiB - psiA) / kRad);
    const int steps = std::max(1, static_cast<int>(std::ceil(span / step)));
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double latitude = std::fabs(psiB - psiA) < 1e-12
                                    ? a.latitude
                                    : std::atan(std::sinh(psiA + t * (psiB - psiA))) / kRad;
        out.push_back({latitude, a.longitude + t * dlon});
    }
    out.back().latitude = b.latitude;
    return out;
}

} // namespace gyrena
