#include "geo/mapprojection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

// x reduced to [-180, 180).
double reduceLongitude(double x)
{
    x = std::fmod(x + 180, 360);
    if (x < 0)
        x += 360;
    return x - 180;
}

} // namespace

double middleLongitude(LatLon a, LatLon b)
{
    return reduceLongitude(a.longitude + reduceLongitude(b.longitude - a.longitude) / 2);
}

LatLon greatCircleMidpoint(LatLon a, LatLon b)
{
    const auto vec = [](LatLon p) {
        const double lat = p.latitude * kRadiansPerDegree, lon = p.longitude * kRadiansPerDegree;
        return std::array<double, 3>{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
                                     std::sin(lat)};
    };
    const auto u = vec(a), v = vec(b);
    const double x = u[0] + v[0], y = u[1] + v[1], z = u[2] + v[2];
    if (std::hypot(x, y, z) < 1e-9)
        return {a.latitude >= 0 ? a.latitude - 90 : a.latitude + 90,
                a.longitude}; // 90 degrees along a's meridian
    return {std::atan2(z, std::hypot(x, y)) / kRadiansPerDegree,
            std::atan2(y, x) / kRadiansPerDegree};
}

Equirectangular::Equirectangular(double centreLon) : m_centreLon(reduceLongitude(centreLon)) {}

MapXY Equirectangular::project(LatLon p) const
{
    return {reduceLongitude(p.longitude - m_centreLon), p.latitude};
}

std::vector<MapRun> Equirectangular::projectLine(std::span<const LatLon> points) const
{
    std::vector<MapRun> runs;
    if (points.empty())
        return runs;
    runs.emplace_back();
    MapXY previous = project(points.front());
    runs.back().push_back(previous);
    for (const LatLon& point : points.subspan(1)) {
        const MapXY next = project(point);
        if (std::abs(next.x - previous.x) > 180) {
            // The short way round crosses the edge: +180 when heading east off the map.
            const double edge = next.x < previous.x ? 180 : -180;
            const double unwrapped = next.x + 2 * edge;
            const double t = (edge - previous.x) / (unwrapped - previous.x);
            const double lat = previous.y + t * (next.y - previous.y);
            runs.back().push_back({edge, lat});
            runs.emplace_back();
            runs.back().push_back({-edge, lat});
        }
        runs.back().push_back(next);
        previous = next;
    }
    return runs;
}

Gnomonic::Vec Gnomonic::toVector(LatLon p)
{
    const double lat = p.latitude * kRadiansPerDegree;
    const double lon = p.longitude * kRadiansPerDegree;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

Gnomonic::Gnomonic(LatLon centre, double maxAngle)
    : m_centre(centre), m_c(toVector(centre)),
      m_minHeight(std::cos(std::clamp(maxAngle, 1.0, 89.0) * kRadiansPerDegree))
{
    const double lat = centre.latitude * kRadiansPerDegree;
    const double lon = centre.longitude * kRadiansPerDegree;
    m_east = {-std::sin(lon), std::cos(lon), 0};
    m_north = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
}

double Gnomonic::height(const Vec& v) const
{
    return v.x * m_c.x + v.y * m_c.y + v.z * m_c.z;
}

MapXY Gnomonic::onPlane(const Vec& v) const
{
    // The plane point is the same for any positive multiple of v, so a point on a chord between
    // two points of the sphere projects onto the great circle through them.
    const double h = height(v);
    return {(v.x * m_east.x + v.y * m_east.y + v.z * m_east.z) / h,
            (v.x * m_north.x + v.y * m_north.y + v.z * m_north.z) / h};
}

Gnomonic::Vec Gnomonic::cut(const Vec& a, const Vec& b) const
{
    // On the chord from a to b, where its height reaches the limit: inside the sphere, so the
    // point lies a little within maxAngle and its projection stays finite.
    const double ha = height(a);
    const double t = (m_minHeight - ha) / (height(b) - ha);
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

std::optional<MapXY> Gnomonic::project(LatLon p) const
{
    const Vec v = toVector(p);
    if (height(v) < m_minHeight)
        return std::nullopt;
    return onPlane(v);
}

std::vector<MapRun> Gnomonic::projectLine(std::span<const LatLon> points) const
{
    std::vector<MapRun> runs;
    bool wasIn = false;
    Vec previous{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vec v = toVector(points[i]);
        const bool in = height(v) >= m_minHeight;
        if (in && !wasIn) {
            runs.emplace_back();
            if (i > 0)
                runs.back().push_back(onPlane(cut(previous, v)));
        } else if (!in && wasIn) {
            runs.back().push_back(onPlane(cut(previous, v)));
        }
        if (in)
            runs.back().push_back(onPlane(v));
        wasIn = in;
        previous = v;
    }
    return runs;
}

MapRun Gnomonic::projectRing(std::span<const LatLon> ring) const
{
    // Sutherland-Hodgman against the plane height = minHeight: the part beyond is cut off and
    // the two cuts joined along the limit.
    MapRun out;
    if (ring.empty())
        return out;
    Vec previous = toVector(ring.back());
    bool wasIn = height(previous) >= m_minHeight;
    for (const LatLon& point : ring) {
        const Vec v = toVector(point);
        const bool in = height(v) >= m_minHeight;
        if (in != wasIn)
            out.push_back(onPlane(cut(previous, v)));
        if (in)
            out.push_back(onPlane(v));
        wasIn = in;
        previous = v;
    }
    return out;
}

} // namespace gyrena
