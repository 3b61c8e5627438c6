#include "plan_output.h"

#include "exports.h"
#include "land_output.h"

#include "geo/positiontext.h"
#include "io/files/atomicfile.h"
#include "io/files/plainnumber.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/locationfields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iostream>
#include <vector>

namespace gyrena::route {

namespace {

std::string fixed(double value, int decimals)
{
    return formatFixed(value, decimals);
}

std::string course(double degrees, int decimals)
{
    return formatCourse(degrees, decimals);
}

bool numberArgument(std::string_view text, double& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && std::isfinite(value);
}

// Characters as a terminal shows them, for lining up columns of UTF-8 text.
std::size_t displayWidth(std::string_view text)
{
    std::size_t width = 0;
    for (const char c : text)
        width += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u;
    return width;
}

std::string padded(std::string text, std::size_t width, bool right)
{
    const std::size_t shown = displayWidth(text);
    if (shown >= width)
        return text;
    const std::string fill(width - shown, ' ');
    return right ? fill + text : text + fill;
}

std::string vertexPointText(const VertexPoint& point)
{
    std::string text = placeText(point.position);
    if (point.onRoute)
        return text + " (on the route, " + fixed(point.distance, 2) +
               " nautical miles from the start)";
    return text + " (not on the route)";
}

std::string vertexText(const Vertex& vertex)
{
    switch (vertex.kind) {
    case Vertex::Kind::Equator:
        return "none: the route follows the equator, at latitude 0 all along";
    case Vertex::Kind::Poles: {
        std::string text;
        for (const VertexPoint* pole : {&vertex.north, &vertex.south}) {
            if (!pole->onRoute)
                continue;
            if (!text.empty())
                text += "; ";
            text += placeText(pole->position) + " (on the route, " + fixed(pole->distance, 2) +
                    " nautical miles from the start)";
        }
        return text.empty() ? "none: the route runs along a meridian" : text;
    }
    case Vertex::Kind::Points:
        break;
    }
    return vertexPointText(vertex.north) + "; " + vertexPointText(vertex.south);
}

void printPlan(const RoutePlan& plan, const std::vector<std::string>& names)
{
    std::cout << "\nVertex: " << vertexText(plan.vertex) << '\n';
    std::cout << "Rhumb line: course " << course(plan.rhumb.line.course, 2) << " degrees, "
              << fixed(plan.rhumb.line.distance, 2) << " nautical miles, "
              << fixed(plan.rhumb.excessNm, 2) << " nautical miles ("
              << fixed(plan.rhumb.excessPercent, 2) << " %) longer than the great circle\n";
    const double difference = plan.wgs84.minusSphereNm;
    std::cout << "WGS84 ellipsoid: " << fixed(plan.wgs84.distance, 2) << " nautical miles ("
              << fixed(plan.wgs84.metres, 3) << " m), initial course "
              << course(plan.wgs84.initialCourse, 2) << " degrees, course of arrival "
              << course(plan.wgs84.arrivalCourse, 2) << " degrees, "
              << fixed(std::fabs(difference), 2) << " nautical miles "
              << (difference < 0.0 ? "shorter" : "longer") << " than the sphere\n";
    std::cout << "Great circle: " << fixed(plan.distance, 2) << " nautical miles, initial course "
              << course(plan.initialCourse, 2) << " degrees, course of arrival "
              << course(plan.arrivalCourse, 2) << " degrees"
              << (plan.overNorthPole ? ", over the North Pole (the ends are antipodal)" : "")
              << '\n';
    if (plan.spacing == PlanOptions::Spacing::Meridians)
        std::cout << "Waypoints where the route crosses every " << plan.spacingValue
                  << " degrees of longitude:\n";
    else
        std::cout << "Waypoints every " << fixed(plan.spacingValue, 2)
                  << " nautical miles along the route:\n";

    std::size_t nameWidth = 8;
    for (const std::string& name : names)
        nameWidth = std::max(nameWidth, displayWidth(name));
    std::cout << padded("Waypoint", nameWidth, false) << "  " << padded("Position", 21, false)
              << "  " << padded("Distance", 9, true) << "  " << padded("Course", 6, true) << "  "
              << padded("Leg course", 10, true) << "  " << padded("Leg nm", 8, true) << '\n';
    for (std::size_t i = 0; i < plan.waypoints.size(); ++i) {
        const Waypoint& waypoint = plan.waypoints[i];
        std::string line = padded(names[i], nameWidth, false) + "  " +
                           padded(positionText(waypoint.position), 21, false) + "  " +
                           padded(fixed(waypoint.distance, 2), 9, true) + "  " +
                           padded(course(waypoint.course, 2), 6, true);
        if (i < plan.legs.size())
            line += "  " + padded(course(plan.legs[i].course, 2), 10, true) + "  " +
                    padded(fixed(plan.legs[i].distance, 2), 8, true);
        std::cout << line << '\n';
    }
}

void printCsv(const RoutePlan& plan, const std::vector<std::string>& names)
{
    std::cout << "waypoint,latitude,longitude,distance_nm,course,leg_course,leg_nm\n";
    for (std::size_t i = 0; i < plan.waypoints.size(); ++i) {
        const Waypoint& waypoint = plan.waypoints[i];
        std::cout << csvField(names[i]) << ',' << fixed(waypoint.position.latitude, 9) << ','
                  << formatLongitude(waypoint.position.longitude, 9) << ','
                  << fixed(waypoint.distance, 6) << ',' << course(waypoint.course, 9) << ',';
        if (i < plan.legs.size())
            std::cout << course(plan.legs[i].course, 9) << ',' << fixed(plan.legs[i].distance, 6);
        else
            std::cout << ',';
        std::cout << '\n';
    }
}

} // namespace

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

OptionResult takePlanOption(int argc, char** argv, int& i, PlanRequest& request, std::string& error)
{
    const std::string_view arg = argv[i];
    const auto value = [&]() -> std::optional<std::string_view> {
        if (i + 1 >= argc) {
            error = "option " + std::string(arg) + " needs a value";
            return std::nullopt;
        }
        return std::string_view(argv[++i]);
    };
    if (arg == "--plan") {
        request.plan = true;
    } else if (arg == "--csv") {
        request.csv = true;
    } else if (arg == "--batch") {
        request.batch = true;
    } else if (arg == "--check-land") {
        request.checkLand = true;
    } else if (std::optional<std::string>* target = exportTarget(request, arg)) {
        const auto path = value();
        if (!path)
            return OptionResult::Wrong;
        if (path->empty()) {
            error = "option " + std::string(arg) + " needs a file name";
            return OptionResult::Wrong;
        }
        *target = std::string(*path);
    } else if (arg == "--every-deg" || arg == "--every-nm") {
        const auto text = value();
        if (!text)
            return OptionResult::Wrong;
        double number = 0.0;
        const bool degrees = arg == "--every-deg";
        const bool ok = numberArgument(*text, number) &&
                        (degrees ? number >= 1 && number <= 90 && number == std::floor(number)
                                 : number >= kMinimumSpacingNm && number <= 21600.0);
        if (!ok) {
            error = std::string(arg) + " " + std::string(*text) +
                    (degrees ? ": expected a whole number of degrees from 1 to 90"
                             : ": expected nautical miles from 1 to 21600");
            return OptionResult::Wrong;
        }
        request.plan = true;
        if (degrees) {
            request.options.spacing = PlanOptions::Spacing::Meridians;
            request.options.everyDegrees = static_cast<int>(number);
        } else {
            request.options.spacing = PlanOptions::Spacing::Distance;
            request.options.everyNm = number;
        }
    } else {
        return OptionResult::NotMine;
    }
    return OptionResult::Taken;
}

LocationState locationFromArgumentTexts(std::span<const std::string_view, 12> texts)
{
    LocationTexts start;
    LocationTexts end;
    setCoordinates(start, end, texts);
    LocationState state;
    updateLocation(state, RouteEnd::Start, start);
    updateLocation(state, RouteEnd::End, end);
    return state;
}

int writePlanOutputs(const LocationState& location, const PlanRequest& request,
                     const std::array<std::string, 2>& names)
{
    const RoutePlan plan =
        planRoute(startPosition(location), endPosition(location), request.options);
    if (!plan.hasRoute) {
        std::cout.flush();
        std::cerr << "gyrena-route: no route to plan: " << plan.problem << '\n';
        return 1;
    }
    const std::vector<std::string> pointNames =
        routePointNames(plan.waypoints.size(), names[0], names[1]);
    std::optional<bool> crossesLand = false;
    if (request.csv) {
        printCsv(plan, pointNames);
    } else if (request.plan) {
        printPlan(plan, pointNames);
        crossesLand = printLandCrossings(
            planVoyage(twoPlaceVoyage({pointNames.front(), plan.waypoints.front().position},
                                      {pointNames.back(), plan.waypoints.back().position})),
            {pointNames.front(), pointNames.back()});
    }
    // A failed output is told once, by the tool as it ends.
    std::cout.flush();
    const PassagePlan passage = passagePlanFromRoute(plan, names[0], names[1]);
    if (request.gpxPath) {
        const std::string failed = writeFileAtomically(*request.gpxPath, writeGpxRoute(passage));
        if (!failed.empty()) {
            std::cerr << "gyrena-route: the GPX file was not written: " << failed << '\n';
            return 1;
        }
    }
    return landStatus(writeExportFiles(passage, request), request.checkLand, crossesLand);
}

} // namespace gyrena::route
