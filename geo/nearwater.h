#pragma once

// Where a place meets the water of the land model: a port's position is often its town's centre,
// which the 1:10m land may put well inland (Rotterdam's lies 16 nm up the Nieuwe Maas, a river
// the map draws as land).

#include "geo/landindex.h"
#include "geo/latlon.h"

#include <optional>

namespace gyrena {

// How far from a place its nearest water is looked for, and the spacing of the rings looked on.
inline constexpr double kNearWaterReachNm = 30.0;
inline constexpr double kNearWaterStepNm = 0.25;

// The nearest point of water to `place` (itself when it is water) on rings kNearWaterStepNm
// apart round it, each ring's points about as far apart, out to `reachNm` (at most
// kNearWaterReachNm); of points on one ring the first clockwise from north. None when all is
// land that far, or the place is no position (latitude beyond +-90 degrees, not finite).
std::optional<LatLon> nearestWater(const LandIndex& land, LatLon place,
                                   double reachNm = kNearWaterReachNm);

} // namespace gyrena
