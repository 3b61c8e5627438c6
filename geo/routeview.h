#pragma once

// What the route window shows of a plan, worked out without a window: the lines the map draws,
// the figures of the summary and the sentence a screen reader says for the map.

#include "geo/routeplan.h"
#include "geo/spherepath.h" // rhumbLinePath

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

// The great circle of `plan` through all its waypoints, as points about `stepDegrees` of arc
// apart (0 < stepDegrees; smaller values are taken as 0.01), from the start to the end. Two
// consecutive waypoints that are antipodal are joined over the north pole, as the plan joins
// antipodal ends. Empty when the plan has no route.
std::vector<LatLon> greatCirclePath(const RoutePlan& plan, double stepDegrees = 1.0);

// The vertex the route passes through (the north one first), or nothing. A route along a
// meridian over a pole passes the pole.
std::optional<LatLon> vertexOnRoute(const RoutePlan& plan);

// The point of the route farthest from the equator: the vertex when it is on the route, else
// the end of greater absolute latitude (the start on a tie).
LatLon farthestFromEquator(const RoutePlan& plan);

// A latitude rounded to whole minutes, "52°12'N", "0°00'N" (UTF-8).
std::string latitudeMinutesText(double latitude);

// The route in one sentence: "Great circle from London to New York, 3004 nautical miles,
// leaving on course 288°, highest latitude 52°12'N". Distance and course are rounded to whole
// units (a course that rounds to 360 reads 0°); the highest latitude is farthestFromEquator().
// A plan without a route reads "No route: " and its problem.
std::string routeDescription(const RoutePlan& plan, const std::string& startName,
                             const std::string& endName);

// The summary under the map, one line: the great circle against the rhumb line and what it
// saves, the vertex, and the WGS84 distance, figures to a tenth of a nautical mile with
// `decimalSeparator` (UTF-8; the window passes its locale's) and no digit grouping.
std::string routeSummary(const RoutePlan& plan, std::string_view decimalSeparator);

} // namespace gyrena
