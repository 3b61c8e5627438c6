#pragma once

#include "geo/latlon.h"

#include <optional>
#include <string>
#include <vector>

namespace gyrena {

// A place of a voyage between its start and its end, as the map marks it.
struct MapPlace
{
    LatLon position;
    std::string name; // UTF-8; may be empty
};

// What a map shows of one voyage, all in degrees: the lines as dense polylines (one point every
// degree or so of arc), so that a map only projects and never computes a route itself.
struct MapRoute
{
    std::string startName; // UTF-8
    std::string endName;
    LatLon start;
    LatLon end;
    std::vector<LatLon> greatCircle; // the track as sailed, start .. end, solid
    std::vector<LatLon> rhumbLine;   // start .. end on one course, dashed, for comparison
    std::optional<LatLon> vertex;    // marked when the route passes it
    std::vector<LatLon> waypoints;   // a dot each
    std::vector<MapPlace> stops;     // the places between start and end, marked and named
    // The turning points of the routes by sea, marked apart from the places, each named after
    // the passage taken there (or unnamed).
    std::vector<MapPlace> turns;
    // Each leg's track as sailed, from its place to the next (leg i joins place i and i + 1, the
    // start being place 0): a great-circle chart centres on the selected one. Empty: the whole
    // track is one leg.
    std::vector<std::vector<LatLon>> legs;
    // The stretches of the track over land, each entry to exit, drawn as a warning on top.
    std::vector<std::vector<LatLon>> overLand;
};

} // namespace gyrena
