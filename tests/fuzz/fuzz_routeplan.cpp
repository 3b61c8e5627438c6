// Arbitrary batch input through the line reader, the field splitter, the planner and the GPX
// writer, as gyrena-route --batch --plan and --gpx run them. Whatever the bytes: no crash, no
// undefined behaviour, no nan or inf in any figure, every waypoint in range and in order along
// the route with no two at one place, and every GPX document read back by Gyrena's reader with
// every point, its name and its position. Aborts on the first violation.
//
// Input: lines as --batch reads them, twelve texts separated by blanks or tabs. The first byte
// picks the spacing (even: every 1 + byte % 90 degrees of longitude; odd: every 1 + byte * 37
// nautical miles) and the size of the pieces the reader is handed. The texts of a line also
// name the route's points in its GPX document, so names carry whatever the input holds.

#include "geo/location.h"
#include "geo/routeplan.h"
#include "io/formats/batchreader.h"
#include "io/formats/gpxwriter.h"
#include "io/formats/voyagegpx.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void violation(const char* what, double value = 0.0)
{
    std::fprintf(stderr, "fuzz_routeplan: %s (%.17g)\n", what, value);
    std::abort();
}

void finite(double value, const char* what)
{
    if (!std::isfinite(value))
        violation(what, value);
}

void course(double value, const char* what)
{
    if (!(value >= 0.0 && value < 360.0))
        violation(what, value);
}

// The straight-line distance between two positions on the unit sphere.
double chord(gyrena::LatLon a, gyrena::LatLon b)
{
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    const double ca = std::cos(a.latitude * kRad), cb = std::cos(b.latitude * kRad);
    return std::hypot(ca * std::cos(a.longitude * kRad) - cb * std::cos(b.longitude * kRad),
                      ca * std::sin(a.longitude * kRad) - cb * std::sin(b.longitude * kRad),
                      std::sin(a.latitude * kRad) - std::sin(b.latitude * kRad));
}

void checkPlan(const gyrena::RoutePlan& plan)
{
    if (!plan.hasRoute) {
        if (plan.problem.empty() || !plan.waypoints.empty())
            violation("no route, yet no reason or waypoints");
        return;
    }
    if (plan.waypoints.size() < 2 || plan.legs.size() + 1 != plan.waypoints.size())
        violation("waypoints and legs do not match", static_cast<double>(plan.waypoints.size()));
    double previous = -1.0;
    const gyrena::Waypoint* before = nullptr;
    for (const gyrena::Waypoint& w : plan.waypoints) {
        // No two waypoints at one place: a pole at several longitudes is one place.
        if (before && chord(before->position, w.position) < 1e-12)
            violation("two waypoints coincide", w.distance);
        before = &w;
        if (!(w.position.latitude >= -90.0 && w.position.latitude <= 90.0))
            violation("waypoint latitude out of range", w.position.latitude);
        if (!(w.position.longitude > -180.0 && w.position.longitude <= 180.0))
            violation("waypoint longitude out of range", w.position.longitude);
        if (!(w.distance > previous) || !(w.distance <= plan.distance))
            violation("waypoint distance out of order", w.distance);
        previous = w.distance;
        course(w.course, "waypoint course");
    }
    for (const gyrena::RhumbLeg& leg : plan.legs) {
        course(leg.course, "leg course");
        finite(leg.distance, "leg distance");
    }
    if (!(plan.distance > 0.0 && plan.distance <= 10800.0 + 1e-6))
        violation("great-circle distance", plan.distance);
    course(plan.initialCourse, "initial course");
    course(plan.arrivalCourse, "arrival course");
    course(plan.rhumb.line.course, "rhumb course");
    finite(plan.rhumb.line.distance, "rhumb distance");
    finite(plan.rhumb.excessPercent, "rhumb excess");
    if (plan.rhumb.excessNm < 0.0)
        violation("rhumb line shorter than the great circle", plan.rhumb.excessNm);
    for (const gyrena::VertexPoint* v : {&plan.vertex.north, &plan.vertex.south}) {
        if (!(std::fabs(v->position.latitude) <= 90.0) ||
            !(v->position.longitude > -180.0 && v->position.longitude <= 180.0))
            violation("vertex out of range", v->position.latitude);
        finite(v->distance, "vertex distance");
    }
    finite(plan.wgs84.metres, "WGS84 distance");
    course(plan.wgs84.initialCourse, "WGS84 initial course");
    course(plan.wgs84.arrivalCourse, "WGS84 arrival course");
    finite(plan.wgs84.minusSphereNm, "WGS84 difference");
}

// The GPX document of `plan` read back by Gyrena's own reader: well-formed, in GPX's namespace,
// every point kept with its name (as XML can hold it) and its position to the 9 decimals written.
void checkGpx(const gyrena::PassagePlan& plan)
{
    const auto read = gyrena::readVoyageGpx(gyrena::writeGpxRoute(plan));
    if (plan.rows.size() < 2)
        return;
    const auto* voyage = std::get_if<gyrena::Voyage>(&read);
    if (!voyage)
        violation("GPX: not read back");
    if (voyage->places.size() != plan.rows.size())
        violation("GPX: points lost", static_cast<double>(voyage->places.size()));
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const gyrena::VoyagePlace& place = voyage->places[i];
        if (place.name != gyrena::gpxText(plan.rows[i].name))
            violation("GPX: a name changed", static_cast<double>(i));
        const double dLat = place.position.latitude - plan.rows[i].position.latitude;
        const double dLon =
            std::remainder(place.position.longitude - plan.rows[i].position.longitude, 360.0);
        if (std::fabs(dLat) > 1e-9 || std::fabs(dLon) > 1e-9)
            violation("GPX: a point moved", dLat + dLon);
    }
}

gyrena::PassagePlan namedPlan(std::string_view name, std::vector<gyrena::PlanRow> rows)
{
    gyrena::PassagePlan plan;
    plan.name = std::string(name);
    plan.rows = std::move(rows);
    return plan;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    gyrena::PlanOptions options;
    if (data[0] % 2 == 0) {
        options.everyDegrees = 1 + data[0] % 90;
    } else {
        options.spacing = gyrena::PlanOptions::Spacing::Distance;
        options.everyNm = 1.0 + data[0] * 37.0;
    }
    const std::size_t piece = 1 + data[0] % 61;
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    gyrena::BatchLineReader reader([&](char* buffer, std::size_t room) -> std::ptrdiff_t {
        const std::size_t n = std::min({room, piece, input.size()});
        std::memcpy(buffer, input.data(), n);
        input.remove_prefix(n);
        return static_cast<std::ptrdiff_t>(n);
    });

    gyrena::BatchLine line;
    std::array<std::string_view, 12> f;
    std::size_t lastNumber = 0;
    while (reader.next(line)) {
        if (line.number != lastNumber + 1 || line.text.size() > gyrena::kBatchLineLimit)
            violation("line numbers or bound", static_cast<double>(line.number));
        lastNumber = line.number;
        if (gyrena::splitBatchFields(line.text, f) < f.size())
            continue;
        gyrena::LocationState location;
        gyrena::updateStartLat(location, f[0], f[1]);
        gyrena::updateStartLatDir(location, f[2]);
        gyrena::updateStartLong(location, f[3], f[4]);
        gyrena::updateStartLongDir(location, f[5]);
        gyrena::updateEndLat(location, f[6], f[7]);
        gyrena::updateEndLatDir(location, f[8]);
        gyrena::updateEndLong(location, f[9], f[10]);
        gyrena::updateEndLongDir(location, f[11]);
        const gyrena::RoutePlan plan = gyrena::planRoute(gyrena::startPosition(location),
                                                         gyrena::endPosition(location), options);
        checkPlan(plan);
        std::vector<gyrena::PlanRow> rows(plan.waypoints.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i].name = std::string(f[i % 12]);
            rows[i].position = plan.waypoints[i].position;
        }
        checkGpx(namedPlan(line.text, std::move(rows)));
    }
    // The same bytes as a route name and one point, unsplit.
    const std::string_view whole(reinterpret_cast<const char*>(data), size);
    std::vector<gyrena::PlanRow> rows(2);
    rows[0].name = rows[1].name = std::string(whole);
    rows[1].position = {1.0, 1.0};
    checkGpx(namedPlan(whole, std::move(rows)));
    return 0;
}
