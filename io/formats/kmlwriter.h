#pragma once

// KML 2.2 documents for globe viewers.

#include "io/plan/passageplan.h"

#include <string>

namespace gyrena {

// The largest distance between two points of the route line written, nautical miles: close
// enough that a globe draws each rhumb leg where it runs.
inline constexpr double kKmlTrackSpacingNm = 30.0;

// The bytes of a KML 2.2 document of `plan`: the route as one tessellated LineString along the
// rhumb legs as sailed (a point at least every kKmlTrackSpacingNm), then a pin (Placemark with
// a Point) per row with its name, and its ETA when there is one. Coordinates are
// "longitude,latitude" with 9 decimals, longitudes in [-180, 180), whatever the locale; names
// are kept whole (what XML cannot hold becomes U+FFFD). The caller checks that the plan has at
// least two rows.
std::string writeKmlRoute(const PassagePlan& plan);

} // namespace gyrena
