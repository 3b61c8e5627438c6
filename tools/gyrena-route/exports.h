#pragma once

// The files gyrena-route writes for other programs beside GPX: RTZ for a ship's navigation
// system (--rtz) and KML for a globe (--kml).

#include "io/plan/passageplan.h"

#include <optional>
#include <string>
#include <string_view>

namespace gyrena::route {

struct PlanRequest;

// The file-name slot of `option` ("--gpx", "--rtz" or "--kml") in `request`, or null for any
// other option.
std::optional<std::string>* exportTarget(PlanRequest& request, std::string_view option);

// Writes the RTZ and KML files `request` asks for, each atomically. Returns 0, or 1 when any
// could not be written (why goes to standard error; the others are still written).
int writeExportFiles(const PassagePlan& plan, const PlanRequest& request);

} // namespace gyrena::route
