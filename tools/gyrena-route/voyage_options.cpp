#include "voyage_options.h"

#include "exports.h"
#include "geo/almanac.h"
#include "geo/positiontext.h"
#include "geo/routeplan.h"
#include "geo/utctime.h"
#include "geo/voyage.h"
#include "io/earth/earth.h"
#include "io/earth/searoutesasset.h"
#include "io/files/atomicfile.h"
#include "io/files/plainnumber.h"
#include "io/files/regularfile.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"
#include "io/plan/passageplan.h"
#include "land_output.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <iostream>

namespace gyrena::route {

const std::string_view kVoyageUsage =
    "       gyrena-route --limit-lat DEG [--depart TIME] [--speed KNOTS] [--almanac] [--csv] "
    "[--gpx FILE] ROUTE\n"
    "       gyrena-route --voyage FILE.gpx [--depart TIME] [--speed KNOTS] [--almanac] [--csv] "
    "[--gpx FILE]\n"
    "       gyrena-route --sea [--avoid NAME,...] [--clearance NM] [--limit-lat DEG] "
    "ROUTE|--voyage FILE.gpx\n";

const std::string_view kVoyageHelp =
    "\n"
    "Voyages:\n"
    "  --limit-lat DEG  plan the route as composite sailing: the great circle to the parallel\n"
    "            DEG (1 to 89; the highest latitude allowed, north or south), along it, then\n"
    "            the great circle on; a route that stays below DEG is the great circle\n"
    "  --voyage FILE.gpx  plan the voyage of a GPX file: Gyrena's own voyage file with its\n"
    "            places, legs, speeds and departure, or any GPX route, whose points become\n"
    "            places joined by great circles\n"
    "  --depart TIME  the departure in UTC, YYYY-MM-DDTHH:MMZ: every row gets its ETA\n"
    "  --speed KNOTS  the voyage's speed (0.1 to 1000; default 6, or the file's); legs with\n"
    "            a speed of their own keep it\n"
    "With these, the output is the voyage: its legs, the time under way and a row for every\n"
    "place and waypoint; --csv prints the rows with the columns of the route's CSV and\n"
    "place (1 for a place, 0 for a waypoint), to_go_nm and eta_utc (empty without --depart);\n"
    "the last row's distance_nm is the voyage's total. --gpx writes the voyage file, which\n"
    "Gyrena's route window opens as it was planned.\n"
    "  --almanac  add at every row the magnetic variation (World Magnetic Model 2025, at the\n"
    "            ETA's date or today's) and the course to steer by compass, the light at the\n"
    "            ETA with sunrise and sunset on its UTC day, the zone time (ZD = the hours added\n"
    "            to zone time to give UTC) and at each place its time zone and local time; the\n"
    "            CSV gains variation_deg (east positive), magnetic_course_deg, light, "
    "sunrise_utc,\n"
    "            sunset_utc, zone_time, local_time and time_zone\n"
    "\n"
    "By sea:\n"
    "  --sea     plan every leg by sea: the shortest way that stays in water, as great circles\n"
    "            between turning points, through the straits and canals it needs (each named\n"
    "            where it is passed; the line \"By sea:\" lists them). For estimates and\n"
    "            planning, never for navigation: it knows no depths, traffic separation\n"
    "            schemes or notices to mariners. A voyage file's legs by sea are routed so\n"
    "            without --sea, under the file's options unless these below are given; --gpx\n"
    "            writes the legs by sea and the options\n"
    "  --avoid NAME,...  keep out of these passages (suez, panama, kiel, corinth, gibraltar,\n"
    "            dover, bosporus, dardanelles, singapore, malacca, bab-el-mandeb, hormuz,\n"
    "            torres, sunda, lombok, oresund, great-belt, skagerrak, gulf-of-suez,\n"
    "            cape-horn, good-hope, juan-de-fuca, admiralty)\n"
    "  --clearance NM  how far to keep off the coast (0 to 50; default 3), but for the\n"
    "            channels of the passages and the approach to each place\n"
    "  --limit-lat DEG  with --sea, the highest latitude the route may reach (default 72)\n";

namespace {

constexpr const char* kSailingNames[] = {"great circle", "rhumb line", "composite", "by sea"};
static_assert(std::size(kSailingNames) == std::size_t(Sailing::BySea) + 1);

std::optional<double> numberIn(std::string_view text)
{
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The almanac's facts of one row, as the text output states them.
std::string almanacText(const AlmanacRow& a, const PlanRow& row)
{
    std::string text = "variation ";
    text += a.variation ? variationText(*a.variation) : std::string("none");
    if (a.magneticCourse)
        text += ", magnetic course " + formatCourse(*a.magneticCourse, 1);
    if (a.light)
        text += "; light " + std::string(lightKey(*a.light));
    if (a.sun)
        text += "; " + sunDayText(*a.sun);
    if (row.eta)
        text += "; zone time " + offsetTimeText(*row.eta, -60 * a.zoneDescription);
    text += " (ZD " + zoneDescriptionText(a.zoneDescription) + ")";
    if (!a.timeZone.empty()) {
        text += "; ";
        if (a.utcOffset && row.eta)
            text += "local time " + offsetTimeText(*row.eta, *a.utcOffset) + " ";
        text += a.timeZone;
    }
    return text;
}

void printText(const Voyage& voyage, const VoyagePlan& plan, const PassagePlan& rows,
               const Almanac* almanac)
{
    std::cout << "Voyage: " << rows.name << ", " << voyage.places.size() << " places, "
              << formatFixed(plan.distance, 2) << " nautical miles as sailed\n";
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        const PlannedLeg& leg = plan.legs[i];
        std::cout << "Leg " << i + 1 << ": " << rows.placeNames()[i] << " to "
                  << rows.placeNames()[i + 1] << ", "
                  << kSailingNames[static_cast<int>(leg.sailing)] << ", "
                  << formatFixed(leg.distance, 2) << " nautical miles (great circle "
                  << formatFixed(leg.greatCircleNm, 2) << "), " << formatFixed(leg.speed, 1)
                  << " knots";
        if (leg.reachesLimit)
            std::cout << "; along " << latitudeText(leg.limitLatitude) << " from "
                      << placeText(leg.meetsLimit) << " to " << placeText(leg.leavesLimit);
        for (std::size_t k = 0; k < leg.passages.size(); ++k)
            std::cout << (k == 0 ? "; through " : ", ") << leg.passages[k];
        std::cout << '\n';
    }
    if (plan.minutesUnderWay)
        std::cout << "Under way: " << durationText(*plan.minutesUnderWay) << '\n';
    if (voyage.departure && plan.rows.back().eta)
        std::cout << "Departure " << utcMinuteText(*voyage.departure) << ", arrival "
                  << utcMinuteText(*plan.rows.back().eta) << '\n';
    if (!plan.timeProblem.empty())
        std::cout << "No times: " << plan.timeProblem << '\n';
    if (almanac && !almanac->magneticNote.empty())
        std::cout << almanac->magneticNote << '\n';
    std::cout << '\n';
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        const PlanRow& row = rows.rows[i];
        std::cout << row.name << "  " << placeText(row.position) << "  ";
        if (row.course)
            std::cout << "course " << formatCourse(*row.course, 1) << "  leg "
                      << formatFixed(*row.legNm, 2) << " nm  ";
        std::cout << "from start " << formatFixed(row.fromStartNm, 2) << " nm  to go "
                  << formatFixed(row.toGoNm, 2) << " nm";
        if (row.eta)
            std::cout << "  ETA " << utcMinuteText(*row.eta);
        std::cout << '\n';
        if (almanac)
            std::cout << "    " << almanacText(almanac->rows[i], row) << '\n';
    }
}

void printCsv(const VoyagePlan& plan, const PassagePlan& rows, const Almanac* almanac)
{
    std::cout << "waypoint,latitude,longitude,distance_nm,course,leg_course,leg_nm,place,"
                 "to_go_nm,eta_utc";
    if (almanac)
        std::cout << ",variation_deg,magnetic_course_deg,light,sunrise_utc,sunset_utc,zone_time,"
                     "local_time,time_zone";
    std::cout << '\n';
    for (std::size_t i = 0; i < rows.rows.size(); ++i) {
        const PlanRow& row = rows.rows[i];
        std::cout << csvField(row.name) << ',' << formatFixed(row.position.latitude, 9) << ','
                  << formatLongitude(row.position.longitude, 9) << ','
                  << formatFixed(row.fromStartNm, 6) << ',' << formatCourse(plan.rows[i].course, 9)
                  << ',';
        if (row.course)
            std::cout << formatCourse(*row.course, 9) << ',' << formatFixed(*row.legNm, 6);
        else
            std::cout << ',';
        std::cout << ',' << (row.isPlace ? 1 : 0) << ',' << formatFixed(row.toGoNm, 6) << ','
                  << (row.eta ? utcMinuteText(*row.eta) : std::string());
        if (almanac) {
            const AlmanacRow& a = almanac->rows[i];
            const auto minute = [](const std::optional<std::int64_t>& m) {
                return m ? utcMinuteText(*m) : std::string();
            };
            std::cout << ',' << (a.variation ? formatFixed(*a.variation, 6) : std::string()) << ','
                      << (a.magneticCourse ? formatCourse(*a.magneticCourse, 6) : std::string())
                      << ',' << (a.light ? lightKey(*a.light) : std::string_view()) << ','
                      << (a.sun ? minute(a.sun->sunrise) : std::string()) << ','
                      << (a.sun ? minute(a.sun->sunset) : std::string()) << ','
                      << (row.eta ? offsetTimeText(*row.eta, -60 * a.zoneDescription)
                                  : std::string())
                      << ','
                      << (row.eta && a.utcOffset ? offsetTimeText(*row.eta, *a.utcOffset)
                                                 : std::string())
                      << ',' << a.timeZone;
        }
        std::cout << '\n';
    }
}

} // namespace

OptionResult takeVoyageOption(int argc, char** argv, int& i, VoyageRequest& request,
                              std::string& error)
{
    const std::string_view arg = argv[i];
    if (arg == "--almanac") {
        request.almanac = true;
        return OptionResult::Taken;
    }
    if (arg == "--sea") {
        request.sea = true;
        return OptionResult::Taken;
    }
    if (arg != "--voyage" && arg != "--depart" && arg != "--speed" && arg != "--limit-lat" &&
        arg != "--avoid" && arg != "--clearance")
        return OptionResult::NotMine;
    if (i + 1 >= argc) {
        error = "option " + std::string(arg) + " needs a value";
        return OptionResult::Wrong;
    }
    const std::string_view text = argv[++i];
    if (arg == "--voyage") {
        request.voyagePath = std::string(text);
    } else if (arg == "--depart") {
        request.departure = parseUtcMinute(text);
        if (!request.departure) {
            error = "--depart " + std::string(text) + ": expected YYYY-MM-DDTHH:MMZ (UTC)";
            return OptionResult::Wrong;
        }
    } else if (arg == "--speed") {
        request.speed = numberIn(text);
        if (!request.speed || *request.speed < kMinimumSpeed || *request.speed > kMaximumSpeed) {
            error = "--speed " + std::string(text) + ": expected knots from 0.1 to 1000";
            return OptionResult::Wrong;
        }
    } else if (arg == "--avoid") {
        std::size_t from = 0;
        while (from <= text.size()) {
            const std::size_t comma = std::min(text.find(',', from), text.size());
            if (comma > from)
                request.avoid.emplace_back(text.substr(from, comma - from));
            from = comma + 1;
        }
    } else if (arg == "--clearance") {
        request.clearance = numberIn(text);
        if (!request.clearance || *request.clearance < 0 ||
            *request.clearance > kMaximumSeaClearanceNm) {
            error = "--clearance " + std::string(text) + ": expected nautical miles from 0 to 50";
            return OptionResult::Wrong;
        }
    } else {
        request.limitLatitude = numberIn(text);
        if (!request.limitLatitude || *request.limitLatitude < kMinimumLimit ||
            *request.limitLatitude > kMaximumLimit) {
            error = "--limit-lat " + std::string(text) + ": expected degrees from 1 to 89";
            return OptionResult::Wrong;
        }
    }
    return OptionResult::Taken;
}

namespace {

// Every leg of `voyage` sailed by sea, routed as the request asks.
void setBySea(const VoyageRequest& request, Voyage& voyage)
{
    for (VoyageLeg& leg : voyage.legs)
        leg.sailing = Sailing::BySea;
    if (request.clearance)
        voyage.sea.clearanceNm = *request.clearance;
    if (request.limitLatitude)
        voyage.sea.limitLatitude = *request.limitLatitude;
    if (!request.avoid.empty())
        voyage.sea.avoid = request.avoid;
}

// The passages the legs by sea take, in order, each once, and the legs (from 1) whose way to a
// place is narrower than the clearance.
void passagesOf(const VoyagePlan& plan, std::vector<std::string>& passages,
                std::vector<std::size_t>& narrowed)
{
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        if (plan.legs[i].narrowed)
            narrowed.push_back(i + 1);
        for (const std::string& name : plan.legs[i].passages)
            if (std::find(passages.begin(), passages.end(), name) == passages.end())
                passages.push_back(name);
    }
}

void printPassages(const std::vector<std::string>& passages,
                   const std::vector<std::size_t>& narrowed, double clearanceNm)
{
    std::cout << "By sea: ";
    if (passages.empty())
        std::cout << "no named passage";
    for (std::size_t i = 0; i < passages.size(); ++i)
        std::cout << (i ? ", " : "") << passages[i];
    std::cout << '\n';
    // A way in narrower than the clearance asked is taken as it is, and said.
    for (std::size_t leg : narrowed)
        std::cout << "Clearance: leg " << leg << " passes nearer the coast than "
                  << formatShortest(clearanceNm) << " nm where no wider way leads\n";
}

} // namespace

int runVoyage(const VoyageRequest& request, const PlanRequest& planning,
              const std::optional<LocationState>& location, const std::array<std::string, 2>& names)
{
    Voyage voyage;
    if (request.voyagePath) {
        const auto read =
            readRegularFile<Voyage>(*request.voyagePath, kVoyageFileLimit, readVoyageGpx);
        if (const auto* failed = std::get_if<FileReadError>(&read)) {
            std::cerr << *request.voyagePath << ": not a readable voyage: " << failed->error.what;
            if (failed->error.line > 0)
                std::cerr << " (line " << failed->error.line << ')';
            std::cerr << '\n';
            return 1;
        }
        voyage = std::get<Voyage>(read);
        if (planning.plan)
            voyage.spacing = planning.options;
    } else if (location) {
        voyage = twoPlaceVoyage({names[0], startPosition(*location)},
                                {names[1], endPosition(*location)});
        voyage.spacing = planning.options;
        if (request.limitLatitude && !request.sea)
            voyage.legs.front() = {Sailing::Composite, *request.limitLatitude, std::nullopt};
    }
    if (request.sea)
        setBySea(request, voyage);
    if (request.speed)
        voyage.speed = *request.speed;
    if (request.departure)
        voyage.departure = request.departure;

    // Legs by sea (asked here or read from the voyage) are routed on the built-in graph, which
    // is read only then.
    const VoyagePlan plan = planVoyage(voyage, &builtInSeaRouter());
    if (!plan.hasPlan) {
        std::cerr << "gyrena-route: no voyage to plan: " << plan.problem << '\n';
        if (const auto* graph = std::get_if<SeaGraph>(&builtInSeaGraph());
            graph && plan.problem.find("there is no passage") != std::string::npos) {
            std::cerr << "The passages are:";
            for (const SeaPassage& p : graph->passages())
                std::cerr << ' ' << p.key;
            std::cerr << '\n';
        }
        return 1;
    }
    std::vector<std::string> seaPassages;
    std::vector<std::size_t> narrowed;
    passagesOf(plan, seaPassages, narrowed);
    // Times asked for (a departure) that cannot be given: the outputs that carry them are not
    // written half, and the reason goes to standard error. The text output says it in its place.
    const bool timesOut = planning.csv || planning.rtzPath || planning.kmlPath;
    if (voyage.departure && !plan.timeProblem.empty() && timesOut) {
        std::cerr << "gyrena-route: no times: " << plan.timeProblem << '\n';
        return 1;
    }
    const PassagePlan rows = passagePlanFromVoyage(voyage, plan);
    std::optional<Almanac> almanac;
    if (request.almanac) {
        const auto now = std::chrono::duration_cast<std::chrono::minutes>(
            std::chrono::system_clock::now().time_since_epoch());
        almanac = almanacFor(plan, now.count(), programEarth());
    }
    const Almanac* facts = almanac ? &*almanac : nullptr;
    std::optional<bool> crossesLand = false;
    if (planning.csv) {
        printCsv(plan, rows, facts);
    } else {
        printText(voyage, plan, rows, facts);
        if (hasLegBySea(voyage))
            printPassages(seaPassages, narrowed, voyage.sea.clearanceNm);
        std::cout << '\n';
        crossesLand = printLandCrossings(plan, rows.placeNames());
    }
    std::cout.flush();
    int status = 0;
    if (planning.gpxPath) {
        const std::string failed =
            writeFileAtomically(*planning.gpxPath, writeVoyageGpx(voyage, plan));
        if (!failed.empty()) {
            std::cerr << "gyrena-route: the GPX file was not written: " << failed << '\n';
            status = 1;
        }
    }
    return landStatus(std::max(status, writeExportFiles(rows, planning)), planning.checkLand,
                      crossesLand);
}

} // namespace gyrena::route
