#pragma once

// GPX 1.1 route files for chart plotters and GPS programs.

#include "geo/latlon.h"

#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

struct GpxPoint
{
    LatLon position;  // latitude -90..90; longitude any finite value
    std::string name; // UTF-8, any bytes
};

// The bytes of a GPX 1.1 document holding one <rte> named `routeName` whose <rtept>s are
// `points` in order. Coordinates are written with 9 decimals and "." whatever the locale, the
// longitude in [-180, 180) as the schema wants it (180 is written -180); a non-finite one is
// written as 0.
// Names are escaped whatever they hold: markup characters become entities, line breaks and tabs
// character references, and what XML 1.0 cannot hold at all (other control characters, bytes
// that are not UTF-8) U+FFFD, so the document is always well-formed.
std::string writeGpxRoute(std::string_view routeName, const std::vector<GpxPoint>& points);

// The names of `count` route points: WP01, WP02 ... (as many digits as the last number needs,
// at least two), except that with two or more points a non-empty `startName` names the first
// and a non-empty `endName` the last.
std::vector<std::string> routePointNames(std::size_t count, const std::string& startName,
                                         const std::string& endName);

// `text` escaped for XML character data and attribute values, as writeGpxRoute does it.
std::string xmlEscaped(std::string_view text);

} // namespace gyrena
