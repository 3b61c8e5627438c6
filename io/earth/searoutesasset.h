#pragma once

// The sea-route graph compiled into the program (assets/sea/searoutes.bin) and the routes on it.

#include "geo/searoute.h"
#include "io/earth/searoutes.h"

#include <string_view>
#include <variant>

namespace gyrena {

// The graph, read and built on the first call only, never before (start-up must not pay for
// it). Safe to call from any thread. An asset that cannot be read (a broken build) gives its
// error on every call.
const std::variant<SeaGraph, SeaRouteError>& builtInSeaGraph();

// The asset's bytes as compiled in, unread (for benchmarks and checks of the reader).
std::string_view builtInSeaRouteBytes();

// Whether builtInSeaGraph() has been called yet in this process.
bool builtInSeaGraphRead();

// The route by sea on the built-in graph and the built-in land (io/earth/landasset.h); when
// either cannot be read, no route, and `problem` says which.
SeaRoute builtInSeaRoute(LatLon from, LatLon to, const SeaRouteOptions& options);

// A router on the built-in graph and land that remembers its last routes (GraphSeaRouter). It
// reads nothing until a route is asked of it; the first route reads the graph and the land.
const SeaRouter& builtInSeaRouter();

} // namespace gyrena
