#include "geo/routeview.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;

using Vec = std::array<double, 3>;

Vec toVec(LatLon p)
{
    const double lat = p.latitude * kRad, lon = p.longitude * kRad;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

LatLon toLatLon(const Vec& v)
{
    return {std::atan2(v[2], std::hypot(v[0], v[1])) / kRad, std::atan2(v[1], v[0]) / kRad};
}

double dot(const Vec& a, const Vec& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// Appends the great circle from a to b (less than 180 degrees apart), b included, a not.
void appendArc(std::vector<LatLon>& out, LatLon a, LatLon b, double step)
{
    const Vec u = toVec(a), v = toVec(b);
    const double arc = std::acos(std::clamp(dot(u, v), -1.0, 1.0));
    const int steps = std::max(1, static_cast<int>(std::ceil(arc / kRad / step)));
    const double sinArc = std::sin(arc);
    for (int i = 1; i < steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double s = std::sin((1 - t) * arc) / sinArc, r = std::sin(t * arc) / sinArc;
        out.push_back(toLatLon({s * u[0] + r * v[0], s * u[1] + r * v[1], s * u[2] + r * v[2]}));
    }
    out.push_back(b);
}

// Isometric (Mercator) latitude, radians.
double isometric(double latitude)
{
    return std::asinh(std::tan(latitude * kRad));
}

std::string vertexText(const RoutePlan& plan, std::string_view separator)
{
    const auto fixed = [separator](double value, int decimals) {
        return formatDecimals(value, decimals, separator);
    };
    const auto place = [separator](const VertexPoint& point) {
        return placeText(point.position, separator);
    };
    const Vertex& vertex = plan.vertex;
    switch (vertex.kind) {
    case Vertex::Kind::Equator:
        return "no vertex: the route follows the equator";
    case Vertex::Kind::Poles:
        for (const VertexPoint* pole : {&vertex.north, &vertex.south}) {
            if (pole->onRoute)
                return "vertex " + place(*pole) + ", " + fixed(pole->distance, 1) +
                       " nm from the start";
        }
        return "no vertex on the route: it runs along a meridian";
    case Vertex::Kind::Points:
        break;
    }
    for (const VertexPoint* point : {&vertex.north, &vertex.south}) {
        if (point->onRoute)
            return "vertex " + place(*point) + ", " + fixed(point->distance, 1) +
                   " nm from the start";
    }
    // The vertex of the hemisphere the route lies most in, beyond one of its ends.
    const LatLon far = farthestFromEquator(plan);
    const VertexPoint& beyond = far.latitude >= 0 ? vertex.north : vertex.south;
    return "vertex " + place(beyond) + ", not on the route";
}

} // namespace

std::vector<LatLon> greatCirclePath(const RoutePlan& plan, double stepDegrees)
{
    std::vector<LatLon> out;
    if (!plan.hasRoute || plan.waypoints.empty())
        return out;
    const double step = std::max(stepDegrees, 0.01);
    out.push_back(plan.waypoints.front().position);
    for (std::size_t i = 1; i < plan.waypoints.size(); ++i) {
        const LatLon a = plan.waypoints[i - 1].position, b = plan.waypoints[i].position;
        if (dot(toVec(a), toVec(b)) < -1.0 + 1e-12) {
            const LatLon pole{90.0, a.longitude};
            appendArc(out, a, pole, step);
            out.back().longitude = b.longitude; // leave the pole on the other end's meridian
            appendArc(out, out.back(), b, step);
        } else {
            appendArc(out, a, b, step);
        }
    }
    return out;
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
    const double psiA = isometric(a.latitude), psiB = isometric(b.latitude);
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

std::optional<LatLon> vertexOnRoute(const RoutePlan& plan)
{
    if (!plan.hasRoute || plan.vertex.kind == Vertex::Kind::Equator)
        return std::nullopt;
    for (const VertexPoint* point : {&plan.vertex.north, &plan.vertex.south}) {
        if (point->onRoute)
            return point->position;
    }
    return std::nullopt;
}

LatLon farthestFromEquator(const RoutePlan& plan)
{
    if (const std::optional<LatLon> vertex = vertexOnRoute(plan))
        return *vertex;
    if (plan.waypoints.empty())
        return {};
    const LatLon start = plan.waypoints.front().position, end = plan.waypoints.back().position;
    return std::fabs(end.latitude) > std::fabs(start.latitude) ? end : start;
}

std::string latitudeMinutesText(double latitude)
{
    const double minutes = std::round(std::fabs(latitude) * 60.0);
    const long long whole = minutes < 1e15 ? static_cast<long long>(minutes) : 0; // nan too
    char text[48];
    std::snprintf(text, sizeof text, "%lld\xC2\xB0%02lld'%c", whole / 60, whole % 60,
                  whole == 0 || latitude > 0.0 ? 'N' : 'S');
    return text;
}

std::string routeDescription(const RoutePlan& plan, const std::string& startName,
                             const std::string& endName)
{
    if (!plan.hasRoute)
        return "No route: " + plan.problem;
    long long course = std::llround(plan.initialCourse);
    if (course >= 360)
        course -= 360;
    return "Great circle from " + startName + " to " + endName + ", " +
           std::to_string(std::llround(plan.distance)) + " nautical miles, leaving on course " +
           std::to_string(course) + "\xC2\xB0, highest latitude " +
           latitudeMinutesText(farthestFromEquator(plan).latitude);
}

std::string routeSummary(const RoutePlan& plan, std::string_view decimalSeparator)
{
    const auto fixed = [decimalSeparator](double value, int decimals) {
        return formatDecimals(value, decimals, decimalSeparator);
    };
    if (!plan.hasRoute)
        return "No route: " + plan.problem;
    return "Great circle " + fixed(plan.distance, 1) + " nm, rhumb line " +
           fixed(plan.rhumb.line.distance, 1) + " nm: the great circle saves " +
           fixed(plan.rhumb.excessNm, 1) + " nm (" + fixed(plan.rhumb.excessPercent, 1) + " %); " +
           vertexText(plan, decimalSeparator) + "; WGS84 " + fixed(plan.wgs84.distance, 1) + " nm";
}

} // namespace gyrena
