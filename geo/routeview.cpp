#include "geo/routeview.h"

#include "geo/numberformat.h"
#include "geo/positiontext.h"
#include "geo/spherepath.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gyrena {

namespace {

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
    out.push_back(plan.waypoints.front().position);
    for (std::size_t i = 1; i < plan.waypoints.size(); ++i)
        appendGreatCircle(out, plan.waypoints[i - 1].position, plan.waypoints[i].position,
                          stepDegrees);
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
