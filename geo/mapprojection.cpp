#include "geo/mapprojection.h"

#include <algorithm>
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
    const Vector3 sum = unitVector(a) + unitVector(b);
    if (norm(sum) < 1e-9)
        return {a.latitude >= 0 ? a.latitude - 90 : a.latitude + 90,
                a.longitude}; // 90 degrees along a's meridian
    return positionOf(sum);
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

Gnomonic::Gnomonic(LatLon centre, double maxAngle)
    : m_centre(centre), m_c(unitVector(centre)),
      m_minHeight(std::cos(std::clamp(maxAngle, 1.0, 89.0) * kRadiansPerDegree))
{
    const double lat = centre.latitude * kRadiansPerDegree;
    const double lon = centre.longitude * kRadiansPerDegree;
    m_east = {-std::sin(lon), std::cos(lon), 0};
    m_north = {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
}

MapXY Gnomonic::onPlane(Vector3 v) const
{
    // The plane point is the same for any positive multiple of v, so a point on a chord between
    // two points of the sphere projects onto the great circle through them.
    const double h = height(v);
    return {dot(v, m_east) / h, dot(v, m_north) / h};
}

Vector3 Gnomonic::cut(Vector3 a, Vector3 b) const
{
    // On the chord from a to b, where its height reaches the limit: inside the sphere, so the
    // point lies a little within maxAngle and its projection stays finite.
    const double ha = height(a);
    const double t = (m_minHeight - ha) / (height(b) - ha);
    return a + t * (b - a);
}

std::optional<MapXY> Gnomonic::project(LatLon p) const
{
    const Vector3 v = unitVector(p);
    if (height(v) < m_minHeight)
        return std::nullopt;
    return onPlane(v);
}

std::vector<MapRun> Gnomonic::projectLine(std::span<const LatLon> points) const
{
    std::vector<MapRun> runs;
    bool wasIn = false;
    Vector3 previous{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Vector3 v = unitVector(points[i]);
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
    Vector3 previous = unitVector(ring.back());
    bool wasIn = height(previous) >= m_minHeight;
    for (const LatLon& point : ring) {
        const Vector3 v = unitVector(point);
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
