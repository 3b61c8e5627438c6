// gyrena-route: the great-circle computation of Gyrena for scripts and for checking the core
// against other geodesic tools.

#include "geo/calcs.h"
#include "geo/location.h"
#include "geo/resultboxes.h"
#include "io/files/regularfile.h"
#include "io/formats/datafile.h"
#include "io/formats/locationfields.h"
#include "io/plan/passageplan.h"
#include "land_output.h"
#include "place_options.h"
#include "plan_output.h"
#include "voyage_options.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kExitRouteFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: gyrena-route [--boxes] START_LAT_DEG START_LAT_MIN N|S START_LONG_DEG START_LONG_MIN "
    "E|W END_LAT_DEG END_LAT_MIN N|S END_LONG_DEG END_LONG_MIN E|W\n"
    "       gyrena-route [--boxes] FILE.gdf\n"
    "       gyrena-route [--plan] [--every-deg N | --every-nm D] [--csv] [--gpx FILE] [--rtz "
    "FILE]\n"
    "                    [--kml FILE] [--check-land] ROUTE\n"
    "       gyrena-route --batch [--plan] < ROUTES\n";

constexpr std::string_view kHelp =
    "Computes the great-circle route between two locations as Gyrena does.\n"
    "\n"
    "Each location is given as six texts: latitude degrees, minutes and letter (N or S), then\n"
    "longitude degrees, minutes and letter (E or W), exactly as they would be typed into the\n"
    "window's lists (\"12abc\" reads as 12, a latitude letter other than \"N\" counts as \"S\").\n"
    "Begin the texts with \"--\" when a degree text itself starts with \"--\".\n"
    "\n"
    "With one argument, the route stored in a Gyrena data file (.gdf) is computed.\n"
    "\n"
    "Options:\n"
    "  --boxes   print one TextN=value line per output box, in the order they are written,\n"
    "            then Message=... when the route could not be computed\n"
    "  --plan    after the boxes, print the vertex, the rhumb line against the great circle,\n"
    "            the WGS84 geodesic and the waypoints with the rhumb-line legs between them\n"
    "  --every-deg N  a waypoint where the route crosses every N degrees of longitude\n"
    "            (1 to 90, default 10; implies --plan); routes along a meridian or over a\n"
    "            pole cross none, and get one every N degrees of arc instead\n"
    "  --every-nm D   a waypoint every D nautical miles along the route (1 to 21600)\n"
    "  --csv     print the waypoint table alone, as CSV (signed decimal degrees)\n"
    "  --gpx FILE  write the route as GPX 1.1 (<rte> of start, waypoints, end), named after\n"
    "            the data file's locations or WP01, WP02...; the file is replaced whole\n"
    "  --rtz FILE  write the route as RTZ 1.0 for a ship's navigation system (ECDIS):\n"
    "            every point a waypoint, every leg a loxodrome (the rhumb line steered)\n"
    "  --kml FILE  write the route as KML 2.2 for a globe: the legs as one line with a\n"
    "            point at least every 30 nm, and a pin per point with its name\n"
    "  --batch   read routes from standard input, one per line as twelve texts separated by\n"
    "            blanks or tabs; write one tab-separated line each: nautical and statute\n"
    "            miles, initial course, course of arrival, direction EW and NS, and with\n"
    "            --plan the north vertex's latitude and longitude and the rhumb line's\n"
    "            course, distance and excess in nm and %. A line that fails gives an empty\n"
    "            output line and \"line N: why\" on standard error; the others go on\n"
    "  --check-land  check every leg against the coast of Natural Earth's 1:10m land, the\n"
    "            ship canals (Suez, Panama, Kiel, Corinth) taken as water: print one line per\n"
    "            stretch of land a leg crosses, e.g.\n"
    "              Land: leg 1 Tampa \u2013 Miami: 131.2 nm over land from ... to ...\n"
    "            (land within 10 nm of a place along its leg is its approach, not a crossing),\n"
    "            or \"No leg crosses land.\"; the exit status is 3 when a leg crosses land.\n"
    "            --plan and a voyage's text list the crossings without it too. The map\n"
    "            misses what is smaller than it shows: islets, reefs, narrow channels\n"
    "  --help    show this help\n"
    "\n"
    "Without --boxes each box is printed on its own line, labelled as in the window, e.g.\n"
    "  Great Circle Distance = 6457.91 nautical miles\n"
    "The decimal separator is always \".\".\n"
    "\n"
    "Exit status: 0 when the route was computed, 1 when it cannot be computed (the reason is\n"
    "printed on standard error, \"Same Location!\" for two equal locations), when the data\n"
    "file cannot be read or when the output cannot be written, 2 for wrong usage, 3 under\n"
    "--check-land when a leg crosses land.\n"
    "\n"
    "Planning uses full-precision pi on the same sphere (1 nautical mile = 1 arc minute);\n"
    "the triangle's boxes keep the window's figures. With --batch the exit status is 1 when\n"
    "any line failed.\n"
    "\n"
    "Example: gyrena-route 37 45 N 122 27 W 34 0 S 151 0 E\n"
    "         gyrena-route --plan --gpx sf-sydney.gpx 37 45 N 122 27 W 34 0 S 151 0 E\n";

// Why the first write to standard output failed; 0 while none has.
int outputError = 0;

// Flushes standard output and remembers why it failed, before later calls can change errno.
void flushOutput()
{
    if (outputError != 0)
        return;
    errno = 0;
    if (!std::cout.flush() || std::fflush(stdout) != 0 || std::ferror(stdout))
        outputError = errno != 0 ? errno : EIO;
}

// The twelve texts in argument order (kCoordinateOrder, the start's first).
gyrena::LocationState locationFromTexts(std::span<const std::string, 12> t)
{
    std::array<std::string_view, 12> views;
    std::copy(t.begin(), t.end(), views.begin());
    return gyrena::route::locationFromArgumentTexts(views);
}

int printRoute(std::span<const std::string, 12> texts, bool boxes)
{
    const gyrena::RouteRun run =
        gyrena::computeRoute(locationFromTexts(texts), gyrena::ResultState{}, ".");
    for (const gyrena::FieldWrite& write : run.writes) {
        if (boxes)
            std::cout << gyrena::resultBox(write.field).objectName << '=' << write.text << '\n';
        else
            std::cout << gyrena::labelledResult(write) << '\n';
    }
    if (run.outcome == gyrena::RouteOutcome::Completed) {
        flushOutput();
        return 0;
    }
    if (boxes)
        std::cout << "Message=" << run.message << '\n';
    // Standard output first, so that a terminal shows the boxes before the reason.
    flushOutput();
    std::cerr << run.message << '\n';
    return kExitRouteFailed;
}

// Reads the twelve coordinate texts of a data file into argument order; on failure prints what
// went wrong and where, and returns false.
bool textsFromDataFile(const std::string& path, std::array<std::string, 12>& texts,
                       std::array<std::string, 2>& names)
{
    // Only a regular file is read (a named pipe would block the tool until a writer came), and a
    // file chosen by mistake is never read whole.
    const auto parsed = gyrena::readRegularFile<gyrena::LocationData>(
        path, {gyrena::kDataFileReadLimit}, gyrena::readDataFile);
    if (const auto* failed = std::get_if<gyrena::FileReadError>(&parsed)) {
        const gyrena::FileError& error = failed->error;
        switch (failed->step) {
        case gyrena::ReadStep::Open:
            std::cerr << path << ": cannot open the file: " << error.what << '\n';
            break;
        case gyrena::ReadStep::Read:
            std::cerr << path << ": cannot read the file: " << error.what << '\n';
            break;
        case gyrena::ReadStep::Parse:
            std::cerr << path << ": not a readable Gyrena data file: " << error.what;
            if (error.what.find("line") == std::string::npos && error.line > 0)
                std::cerr << " (line " << error.line << ')';
            std::cerr << '\n';
            break;
        }
        return false;
    }
    const gyrena::LocationData& data = std::get<gyrena::LocationData>(parsed);
    names = {data.start.name, data.end.name};
    const std::size_t perEnd = gyrena::kCoordinateOrder.size();
    for (std::size_t i = 0; i < perEnd; ++i) {
        texts[i] = data.start[gyrena::kCoordinateOrder[i]];
        texts[perEnd + i] = data.end[gyrena::kCoordinateOrder[i]];
    }
    return true;
}

int usageError(std::string_view why)
{
    std::cerr << "gyrena-route: " << why << '\n'
              << kUsage << gyrena::route::kPlaceUsage << gyrena::route::kVoyageUsage
              << "Try 'gyrena-route --help'.\n";
    return kExitUsage;
}

} // namespace

// Standard output as far as it went: a full disk or a closed output must not pass for success.
int finishOutput(int status)
{
    flushOutput();
    if (outputError == 0)
        return status;
    std::cerr << "gyrena-route: cannot write the output: " << std::strerror(outputError) << '\n';
    return kExitRouteFailed;
}

int run(int argc, char** argv)
{
    bool boxes = false;
    gyrena::route::PlanRequest planning;
    gyrena::route::PlaceRequest places;
    gyrena::route::VoyageRequest voyage;
    std::vector<std::string> texts;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            std::cout << kUsage << gyrena::route::kPlaceUsage << gyrena::route::kVoyageUsage << '\n'
                      << kHelp << gyrena::route::kPlaceHelp << gyrena::route::kVoyageHelp;
            return 0;
        } else if (!optionsEnded && arg == "--boxes") {
            boxes = true;
        } else if (!optionsEnded && arg.starts_with("--")) {
            std::string wrong;
            auto taken = gyrena::route::takePlaceOption(argc, argv, i, places, wrong);
            if (taken == gyrena::route::OptionResult::NotMine)
                taken = gyrena::route::takePlanOption(argc, argv, i, planning, wrong);
            if (taken == gyrena::route::OptionResult::NotMine)
                taken = gyrena::route::takeVoyageOption(argc, argv, i, voyage, wrong);
            switch (taken) {
            case gyrena::route::OptionResult::Taken:
                continue;
            case gyrena::route::OptionResult::Wrong:
                return usageError(wrong);
            case gyrena::route::OptionResult::NotMine:
                return usageError("unknown option " + std::string(arg));
            }
        } else {
            texts.emplace_back(arg);
        }
    }
    if (places.find)
        return texts.empty() ? gyrena::route::runFind(*places.find)
                             : usageError("--find takes no coordinate texts");
    if (places.anyRoute() && (!places.from || !places.to || !texts.empty()))
        return usageError("--from and --to go together, in place of the coordinate texts");
    if (planning.checkLand && (planning.batch || planning.csv))
        return usageError("--check-land prints lines of its own: not with --batch or --csv");
    if (planning.batch) {
        if (!texts.empty())
            return usageError("--batch reads the routes from standard input, not arguments");
        return gyrena::route::runBatch(planning);
    }
    if (voyage.voyagePath)
        return texts.empty() && (!voyage.limitLatitude || voyage.sea)
                   ? gyrena::route::runVoyage(voyage, planning, std::nullopt, {})
                   : usageError("--voyage takes the places from its file alone");
    std::array<std::string, 12> route;
    std::array<std::string, 2> names;
    if (places.anyRoute()) {
        if (!gyrena::route::routeFromPlaces(places, voyage.sea, route, names))
            return kExitRouteFailed;
    } else if (texts.size() == 1) {
        if (!textsFromDataFile(texts.front(), route, names))
            return kExitRouteFailed;
    } else if (texts.size() == 12) {
        std::copy(texts.begin(), texts.end(), route.begin());
    } else {
        return usageError("expected 12 coordinate texts or one data file, got " +
                          std::to_string(texts.size()) + " arguments");
    }
    if (voyage.any())
        return gyrena::route::runVoyage(voyage, planning, locationFromTexts(route), names);
    // The CSV table stands alone, so that it can be read as it comes.
    const int status = planning.csv ? 0 : printRoute(route, boxes);
    if (!planning.anyOutput()) {
        if (!planning.checkLand || status != 0)
            return status;
        const gyrena::LocationState location = locationFromTexts(route);
        const std::vector<std::string> ends = gyrena::routePointNames(2, names[0], names[1]);
        const auto crossesLand = gyrena::route::printLandCrossings(
            gyrena::planVoyage(gyrena::twoPlaceVoyage({ends[0], gyrena::startPosition(location)},
                                                      {ends[1], gyrena::endPosition(location)})),
            ends);
        return gyrena::route::landStatus(status, true, crossesLand);
    }
    const int planStatus =
        gyrena::route::writePlanOutputs(locationFromTexts(route), planning, names);
    return std::max(status, planStatus);
}

int main(int argc, char** argv)
{
    return finishOutput(run(argc, argv));
}
