#pragma once

// --check-land: the stretches of land a route or voyage crosses, one "Land:" line each.

#include "geo/voyage.h"

#include <optional>
#include <string>
#include <vector>

namespace gyrena::route {

// The exit status when a leg crosses land and --check-land was given.
inline constexpr int kExitCrossesLand = 3;

// Prints "Land: leg N FROM – TO: ..." for every crossing of land in the plan, or "No leg
// crosses land." when there is none; `placeNames` names the voyage's places in order. Reads the
// land on first use. Returns whether a leg crosses land, or nothing when the land could not be
// read (why goes to standard error).
std::optional<bool> printLandCrossings(const VoyagePlan& plan,
                                       const std::vector<std::string>& placeNames);

// The exit status after the land was checked: a failure's status stays; otherwise 3 when
// --check-land was asked for and a leg crosses land, else 0. A land that could not be read fails.
int landStatus(int status, bool checkLand, const std::optional<bool>& crossesLand);

} // namespace gyrena::route
