#pragma once

// The planning side of gyrena-route: --plan, --csv, --gpx and --batch.

#include "geo/location.h"
#include "geo/routeplan.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gyrena::route {

struct PlanRequest
{
    bool plan = false;      // --plan, or implied by --every-deg / --every-nm
    bool csv = false;       // --csv: the waypoint table alone, as CSV
    bool batch = false;     // --batch
    bool checkLand = false; // --check-land: exit status 3 when a leg crosses land
    std::optional<std::string> gpxPath;
    std::optional<std::string> rtzPath;
    std::optional<std::string> kmlPath;
    PlanOptions options;

    bool anyOutput() const { return plan || csv || gpxPath || rtzPath || kmlPath; }
};

enum class OptionResult { NotMine, Taken, Wrong };

// `text` as one CSV field: as it is, or quoted with its quotes doubled when it holds a comma, a
// quote or a line break.
std::string csvField(const std::string& text);

// Takes the option argv[i] (and its value, advancing i) into `request`; `error` says what is
// wrong with a Wrong one.
OptionResult takePlanOption(int argc, char** argv, int& i, PlanRequest& request,
                            std::string& error);

// The location state from the twelve texts in argument order: kCoordinateOrder, the start's
// first.
LocationState locationFromArgumentTexts(std::span<const std::string_view, 12> texts);

// After the boxes (or instead of them with --csv): the plan, the CSV table, the GPX file.
// `names` are the start and end names of a data file, empty otherwise. Returns the exit status:
// 0, or 1 when there is no route to plan or the GPX file cannot be written (a failed standard
// output is left for the caller to tell), or 3 under --check-land when the route crosses land.
// The text of --plan lists the crossings of land.
int writePlanOutputs(const LocationState& location, const PlanRequest& request,
                     const std::array<std::string, 2>& names);

// --batch: routes from standard input, one tab-separated line each on standard output, errors on
// standard error. Returns 1 if any line failed or the output could not be written (left marked on
// stdout for the caller to tell), else 0.
int runBatch(const PlanRequest& request);

} // namespace gyrena::route
