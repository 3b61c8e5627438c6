#pragma once

// Sample routes for the map view's tests and benchmark: the great circle by spherical
// interpolation and the rhumb line by interpolation in Mercator latitude, one point a degree.

#include "ui/route/mapview.h"

#include <array>
#include <cmath>
#include <numbers>

namespace gyrena::testroutes {

inline MapRoute sampleRoute(const QString& startName, LatLon a, const QString& endName, LatLon b)
{
    constexpr double rad = std::numbers::pi / 180;
    const auto vec = [&](LatLon p) {
        return std::array<double, 3>{std::cos(p.latitude * rad) * std::cos(p.longitude * rad),
                                     std::cos(p.latitude * rad) * std::sin(p.longitude * rad),
                                     std::sin(p.latitude * rad)};
    };
    MapRoute route{startName.toStdString(), endName.toStdString(), a, b, {}, {}, std::nullopt, {}, {}};
    const auto u = vec(a), v = vec(b);
    const double arc = std::acos(std::clamp(u[0] * v[0] + u[1] * v[1] + u[2] * v[2], -1.0, 1.0));
    const int steps = std::max(2, int(arc / rad));
    double highest = -1;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double s = std::sin((1 - t) * arc) / std::sin(arc), r = std::sin(t * arc) / std::sin(arc);
        const double x = s * u[0] + r * v[0], y = s * u[1] + r * v[1], z = s * u[2] + r * v[2];
        const LatLon p{std::atan2(z, std::hypot(x, y)) / rad, std::atan2(y, x) / rad};
        route.greatCircle.push_back(p);
        if (i % 10 == 0 || i == steps)
            route.waypoints.push_back(p);
        // The vertex, when it lies between the ends rather than at one of them.
        if (i > 0 && i < steps && std::abs(p.latitude) > highest) {
            highest = std::abs(p.latitude);
            route.vertex = p;
        }
    }
    if (route.vertex && std::abs(route.vertex->latitude) <=
                            std::max(std::abs(a.latitude), std::abs(b.latitude)) + 0.5)
        route.vertex.reset();
    const auto mercator = [&](double lat) { return std::log(std::tan(std::numbers::pi / 4 + lat * rad / 2)); };
    double dlon = std::remainder(b.longitude - a.longitude, 360.0);
    const double m0 = mercator(a.latitude), m1 = mercator(b.latitude);
    for (int i = 0; i <= 200; ++i) {
        const double t = i / 200.0;
        route.rhumbLine.push_back(
            {(2 * std::atan(std::exp(m0 + t * (m1 - m0))) - std::numbers::pi / 2) / rad,
             a.longitude + t * dlon});
    }
    return route;
}

inline MapRoute londonTokyo()
{
    return sampleRoute(QStringLiteral("London"), {51.5, -0.17}, QStringLiteral("Tokyo"), {35.68, 139.77});
}

inline MapRoute sanFranciscoSydney()
{
    return sampleRoute(QStringLiteral("San Francisco"), {37.75, -122.45}, QStringLiteral("Sydney"),
                       {-34.0, 151.0});
}

inline MapRoute tokyoSanFrancisco()
{
    return sampleRoute(QStringLiteral("Tokyo"), {35.68, 139.77}, QStringLiteral("San Francisco"),
                       {37.75, -122.45});
}

} // namespace gyrena::testroutes
