#pragma once

// The voyage side of gyrena-route: --voyage FILE.gpx with --depart and --speed, and
// --limit-lat for a single route sailed as composite sailing.

#include "geo/location.h"
#include "plan_output.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena::route {

struct VoyageRequest
{
    std::optional<std::string> voyagePath; // --voyage FILE.gpx
    std::optional<std::int64_t> departure; // --depart, UTC minute
    std::optional<double> speed;           // --speed, knots
    std::optional<double> limitLatitude;   // --limit-lat, degrees
    bool almanac = false;                  // --almanac: variation, Sun and times at every row
    bool sea = false;                      // --sea: every leg by sea
    std::vector<std::string> avoid;        // --avoid KEY,KEY
    std::optional<double> clearance;       // --clearance, nautical miles

    bool any() const { return voyagePath || departure || speed || limitLatitude || almanac || sea; }
};

extern const std::string_view kVoyageUsage;
extern const std::string_view kVoyageHelp;

// Takes the option argv[i] (and its value, advancing i) into `request`.
OptionResult takeVoyageOption(int argc, char** argv, int& i, VoyageRequest& request,
                              std::string& error);

// Plans the voyage of `request.voyagePath`, or the route of `location` (named `names`) as one
// leg, composite under --limit-lat, and writes what `planning` asks for: the plan as text, or as
// CSV with --csv, and the GPX, RTZ and KML files. Returns 0, or 1 when the file cannot be read,
// there is no plan or a file cannot be written (why goes to standard error).
int runVoyage(const VoyageRequest& request, const PlanRequest& planning,
              const std::optional<LocationState>& location,
              const std::array<std::string, 2>& names);

} // namespace gyrena::route
