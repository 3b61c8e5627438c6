#pragma once

// RTZ 1.0 route files (IEC 61174) for a ship's navigation system (ECDIS).

#include "io/plan/passageplan.h"

#include <string>

namespace gyrena {

// The bytes of an RTZ 1.0 document of `plan`: routeInfo/routeName from the plan's name, one
// <waypoint> per row with ids 1, 2, 3... and its name, each leg a Loxodrome (the rhumb line the
// plan steers) between the computed waypoints, and with a departure a schedule whose
// sheduleElements (the spelling of version 1.0) carry the ETD of the first row and the ETA of
// every later one; a plan whose rows do not all have their ETA gets no schedule. Positions have 9
// decimals, longitudes in [-180, 180), whatever the locale; names are kept whole (what XML cannot
// hold becomes U+FFFD). An empty route name reads "Route". The caller checks that the plan has at
// least two rows.
std::string writeRtzRoute(const PassagePlan& plan);

} // namespace gyrena
