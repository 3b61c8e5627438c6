#pragma once

// What a voyage asks of routing by sea, apart from how a route is found: the options a route is
// found under, the route itself, and the router that finds it. geo/searoute.h finds routes on
// the graph of water; a voyage's plan only asks a SeaRouter, so tests can give their own.

#include "geo/latlon.h"

#include <string>
#include <vector>

namespace gyrena {

// How far a route keeps off the coast by default, nautical miles, and the range accepted.
inline constexpr double kDefaultSeaClearanceNm = 3.0;
inline constexpr double kMaximumSeaClearanceNm = 50.0;
// The limiting latitude of a route by sea by default, degrees either side of the equator: it
// keeps routes out of the Arctic passages (the Northern Sea Route passes 77 N, the Northwest
// Passage 74 N) and the Antarctic ice, while the North Cape (71.2 N) stays open.
inline constexpr double kDefaultSeaLimitLatitude = 72.0;

struct SeaRouteOptions
{
    double clearanceNm = kDefaultSeaClearanceNm;     // 0..kMaximumSeaClearanceNm
    double limitLatitude = kDefaultSeaLimitLatitude; // 1..89; no route point beyond it
    std::vector<std::string> avoid;                  // passage keys ("suez", "panama")

    bool operator==(const SeaRouteOptions&) const = default;
};

struct SeaRoutePoint
{
    LatLon position;
    std::string passage; // the name of the passage taken here, if any

    bool operator==(const SeaRoutePoint&) const = default;
};

struct SeaRoute
{
    // False when there is none; `problem` then says why, naming the place.
    bool found = false;
    std::string problem;
    // From the start to the end, both included; great circles between consecutive points.
    std::vector<SeaRoutePoint> points;
    std::vector<std::string> passages; // names of the passages taken, in order, each once
    double distanceNm = 0.0;           // along the legs
    // Whether the way to a place is narrower than the clearance asked (no route kept it).
    bool narrowed = false;
};

// Finds routes by sea for a voyage's plan.
class SeaRouter
{
public:
    virtual ~SeaRouter() = default;
    // The shortest route by sea from `from` to `to`. Never throws; safe to call from any thread.
    virtual SeaRoute route(LatLon from, LatLon to, const SeaRouteOptions& options) const = 0;
};

} // namespace gyrena
