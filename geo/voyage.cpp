#include "geo/voyage.h"

#include "geo/spherepath.h"
#include "geo/utctime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kRad = std::numbers::pi / 180.0;
// Latitudes and longitudes closer than this are one (as planRoute's coincidence test).
constexpr double kSameDegrees = 1e-9;

// One stretch of a leg: from `at` to the next stretch's `at`.
struct Stretch
{
    LatLon at;
    double course = 0.0; // rhumb-line course to steer to the next point
    double legNm = 0.0;  // rhumb-line distance to it: the distance steered
    bool rhumb = false;
    double track = 0.0; // the course of the track leaving `at`
    // A turning point of a route by sea, and the passage it is named after.
    bool turn = false;
    std::string passage;
};

std::string placeName(const Voyage& voyage, std::size_t i)
{
    const std::string& name = voyage.places[i].name;
    const bool blank = name.find_first_not_of(" \t") == std::string::npos;
    return blank ? "place " + std::to_string(i + 1) : name;
}

// The great circle from a to b as stretches between its waypoints, b not included; `arrival`
// becomes the course on reaching b.
void appendGreatCircle(std::vector<Stretch>& out, const RoutePlan& plan, double& arrival)
{
    for (std::size_t i = 0; i + 1 < plan.waypoints.size(); ++i)
        out.push_back({plan.waypoints[i].position,
                       plan.legs[i].course,
                       plan.legs[i].distance,
                       false,
                       plan.waypoints[i].course,
                       false,
                       {}});
    arrival = plan.waypoints.back().course;
}

// The rhumb line from a to b (neither at a pole unless along a meridian) as stretches between
// waypoints where it crosses the spacing's meridians, or every spacing's distance; b not
// included.
void appendRhumbLine(std::vector<Stretch>& out, LatLon a, LatLon b, const PlanOptions& options,
                     double& arrival)
{
    double dlon = std::remainder(b.longitude - a.longitude, 360.0);
    if (dlon == -180.0)
        dlon = 180.0;
    const bool atPole = std::fabs(a.latitude) >= 90.0 || std::fabs(b.latitude) >= 90.0;
    const double psiA = atPole ? 0.0 : isometricLatitude(a.latitude);
    const double psiB = atPole ? 0.0 : isometricLatitude(b.latitude);
    const bool alongParallel = std::fabs(b.latitude - a.latitude) < kSameDegrees;
    // The point at fraction t of the longitude (or, along a meridian, of the latitude).
    const auto atLongitude = [&](double t) -> LatLon {
        const double latitude =
            alongParallel ? a.latitude : std::atan(std::sinh(psiA + t * (psiB - psiA))) / kRad;
        return {latitude, planLongitude(a.longitude + t * dlon)};
    };
    const auto atDistance = [&](double t) -> LatLon {
        if (alongParallel || atPole || std::fabs(dlon) < kSameDegrees)
            return {a.latitude + t * (b.latitude - a.latitude),
                    planLongitude(atPole
                                      ? (std::fabs(a.latitude) >= 90.0 ? b.longitude : a.longitude)
                                      : a.longitude + t * dlon)};
        // Latitude runs linearly with distance along a rhumb line, longitude with isometric
        // latitude.
        const double latitude = a.latitude + t * (b.latitude - a.latitude);
        return {latitude, planLongitude(a.longitude + dlon * (isometricLatitude(latitude) - psiA) /
                                                          (psiB - psiA))};
    };

    std::vector<LatLon> points{a};
    const int everyDegrees = std::clamp(options.everyDegrees, 1, 90);
    const bool byMeridians = options.spacing == PlanOptions::Spacing::Meridians && !atPole &&
                             std::fabs(dlon) >= kSameDegrees;
    if (byMeridians) {
        const double from = std::min(a.longitude, a.longitude + dlon);
        const double to = std::max(a.longitude, a.longitude + dlon);
        std::vector<double> meridians;
        for (double k = std::floor(from / everyDegrees) + 1; k * everyDegrees < to; ++k)
            if (k * everyDegrees - from > kSameDegrees && to - k * everyDegrees > kSameDegrees)
                meridians.push_back(k * everyDegrees);
        if (dlon < 0.0)
            std::reverse(meridians.begin(), meridians.end());
        for (const double meridian : meridians)
            points.push_back(atLongitude((meridian - a.longitude) / dlon));
    } else {
        const double total = rhumbLine(a, b).distance;
        double step = options.spacing == PlanOptions::Spacing::Distance
                          ? std::max(options.everyNm, kMinimumSpacingNm)
                          : everyDegrees * kNauticalMilesPerDegree;
        if (!std::isfinite(step))
            step = total;
        for (int k = 1; k * step < total - 1e-9; ++k)
            points.push_back(atDistance(k * step / total));
    }
    points.push_back(b);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const RhumbLeg leg = rhumbLine(points[i], points[i + 1]);
        out.push_back({points[i], leg.course, leg.distance, true, leg.course, false, {}});
        arrival = leg.course;
    }
}

// Where a great circle whose vertex lies on the parallel `limit` (signed degrees) passes a
// point at `latitude` (|latitude| <= |limit|): degrees of longitude from the vertex.
double longitudeToVertex(double latitude, double limit)
{
    return std::acos(std::clamp(std::tan(latitude * kRad) / std::tan(limit * kRad), -1.0, 1.0)) /
           kRad;
}

// The route by sea of leg `i` as great circles between its turning points, each with its
// waypoints; an empty string when it went well, else the problem.
std::string planLegBySea(const Voyage& voyage, std::size_t i, const SeaRouter* sea,
                         std::vector<Stretch>& out, PlannedLeg& planned, double& arrival)
{
    if (!sea)
        return "the routes by sea are not ready";
    const LatLon a = voyage.places[i].position, b = voyage.places[i + 1].position;
    const SeaRoute route = sea->route(a, b, voyage.sea);
    if (!route.found || route.points.size() < 2)
        return "no route by sea from " + placeName(voyage, i) + " to " + placeName(voyage, i + 1) +
               (route.problem.empty() ? std::string() : ": " + route.problem);
    planned.passages = route.passages;
    planned.narrowed = route.narrowed;
    const std::size_t before = out.size();
    for (std::size_t k = 0; k + 1 < route.points.size(); ++k) {
        const RoutePlan part =
            planRoute(route.points[k].position, route.points[k + 1].position, voyage.spacing);
        if (!part.hasRoute)
            continue; // a turning point on top of the next: nothing to sail between them
        const std::size_t first = out.size();
        appendGreatCircle(out, part, arrival);
        if (k > 0) {
            out[first].turn = true;
            out[first].passage = route.points[k].passage;
        }
    }
    if (out.size() == before) // every point of the route on one spot: a router's fault
        return "the route by sea from " + placeName(voyage, i) + " has no length";
    return {};
}

// Plans leg `i` into its stretches. An empty string when it went well, else the problem.
std::string planLeg(const Voyage& voyage, std::size_t i, const SeaRouter* sea,
                    std::vector<Stretch>& out, PlannedLeg& planned, double& arrival)
{
    const LatLon a = voyage.places[i].position, b = voyage.places[i + 1].position;
    const VoyageLeg leg = i < voyage.legs.size() ? voyage.legs[i] : VoyageLeg{};
    planned.sailing = leg.sailing;
    const RoutePlan greatCircle = planRoute(a, b, voyage.spacing);
    if (!greatCircle.hasRoute)
        return placeName(voyage, i) + " and " + placeName(voyage, i + 1) + " coincide";
    planned.greatCircleNm = greatCircle.distance;
    if (leg.sailing == Sailing::BySea)
        return planLegBySea(voyage, i, sea, out, planned, arrival);

    if (leg.sailing == Sailing::RhumbLine) {
        appendRhumbLine(out, greatCircle.waypoints.front().position,
                        greatCircle.waypoints.back().position, voyage.spacing, arrival);
        return {};
    }
    double sign = 0.0;
    const double limit =
        std::clamp(std::isfinite(leg.limitLatitude) ? std::fabs(leg.limitLatitude) : kMaximumLimit,
                   kMinimumLimit, kMaximumLimit);
    if (leg.sailing == Sailing::Composite) {
        // No track from or to a place beyond the limit keeps within it.
        for (const std::size_t p : {i, i + 1}) {
            if (std::fabs(voyage.places[p].position.latitude) > limit + kSameDegrees)
                return placeName(voyage, p) + " lies beyond the limiting latitude";
        }
    }
    if (leg.sailing == Sailing::Composite && greatCircle.vertex.kind != Vertex::Kind::Equator) {
        if (greatCircle.vertex.north.onRoute &&
            greatCircle.vertex.north.position.latitude > limit + kSameDegrees)
            sign = 1.0;
        else if (greatCircle.vertex.south.onRoute &&
                 greatCircle.vertex.south.position.latitude < -limit - kSameDegrees)
            sign = -1.0;
    }
    if (sign == 0.0) {
        appendGreatCircle(out, greatCircle, arrival);
        return {};
    }
    const LatLon from = greatCircle.waypoints.front().position;
    const LatLon to = greatCircle.waypoints.back().position;
    double dlon = std::remainder(to.longitude - from.longitude, 360.0);
    const double east = dlon >= 0.0 || dlon == -180.0 ? 1.0 : -1.0;
    const double parallel = sign * limit;
    const double toLimit = longitudeToVertex(from.latitude, parallel);
    const double fromLimit = longitudeToVertex(to.latitude, parallel);
    const double along = std::fabs(dlon) - toLimit - fromLimit;
    if (along < 0.0) { // rounding at a great circle that only touches the limit
        appendGreatCircle(out, greatCircle, arrival);
        return {};
    }
    const LatLon meets{parallel, planLongitude(from.longitude + east * toLimit)};
    const LatLon leaves{parallel, planLongitude(to.longitude - east * fromLimit)};
    planned.reachesLimit = true;
    planned.limitLatitude = parallel;
    planned.meetsLimit = meets;
    planned.leavesLimit = leaves;
    if (toLimit > kSameDegrees)
        appendGreatCircle(out, planRoute(from, meets, voyage.spacing), arrival);
    if (along > kSameDegrees)
        appendRhumbLine(out, meets, leaves, voyage.spacing, arrival);
    if (fromLimit > kSameDegrees)
        appendGreatCircle(out, planRoute(leaves, to, voyage.spacing), arrival);
    return {};
}

// The times of the plan's rows and its time under way; a reason when there are none.
std::string addTimes(const Voyage& voyage, VoyagePlan& plan)
{
    for (std::size_t i = 0; i < plan.legs.size(); ++i) {
        const double speed = plan.legs[i].speed;
        if (!(speed >= kMinimumSpeed && speed <= kMaximumSpeed))
            return "the speed of leg " + std::to_string(i + 1) +
                   " is not between 0.1 and 1000 knots";
    }
    double hoursBefore = 0.0;
    std::vector<double> hours(plan.rows.size(), 0.0);
    for (const PlannedLeg& leg : plan.legs) {
        const double legStart = plan.rows[leg.firstRow].fromStartNm;
        for (std::size_t r = leg.firstRow; r <= leg.lastRow; ++r)
            hours[r] = hoursBefore + (plan.rows[r].fromStartNm - legStart) / leg.speed;
        hoursBefore += leg.distance / leg.speed;
    }
    plan.minutesUnderWay = std::llround(hoursBefore * 60.0);
    if (!voyage.departure)
        return {};
    if (*voyage.departure < kFirstUtcMinute ||
        *voyage.departure + *plan.minutesUnderWay > kLastUtcMinute)
        return "the voyage would end after the year 9999";
    for (std::size_t r = 0; r < plan.rows.size(); ++r)
        plan.rows[r].eta = *voyage.departure + std::llround(hours[r] * 60.0);
    return {};
}

} // namespace

VoyagePlan planVoyage(const Voyage& voyage, const SeaRouter* sea)
{
    VoyagePlan plan;
    if (voyage.places.size() < 2) {
        plan.problem = "a voyage needs at least two places";
        return plan;
    }
    for (std::size_t i = 0; i < voyage.places.size(); ++i) {
        const LatLon p = voyage.places[i].position;
        if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude)) {
            plan.problem = "the position of " + placeName(voyage, i) + " is not a finite number";
            return plan;
        }
        if (std::fabs(p.latitude) > 90.0) {
            plan.problem = "the latitude of " + placeName(voyage, i) + " is beyond 90 degrees";
            return plan;
        }
    }
    std::vector<Stretch> stretches;
    double arrival = 0.0;
    for (std::size_t i = 0; i + 1 < voyage.places.size(); ++i) {
        PlannedLeg planned;
        const std::size_t first = stretches.size();
        plan.problem = planLeg(voyage, i, sea, stretches, planned, arrival);
        if (!plan.problem.empty()) {
            plan.problem += " (leg " + std::to_string(i + 1) + ")";
            return plan;
        }
        const VoyageLeg leg = i < voyage.legs.size() ? voyage.legs[i] : VoyageLeg{};
        planned.speed = leg.speed.value_or(voyage.speed);
        planned.firstRow = first;
        planned.lastRow = stretches.size();
        for (std::size_t s = first; s < stretches.size(); ++s)
            planned.distance += stretches[s].legNm;
        plan.greatCircleNm += planned.greatCircleNm;
        plan.legs.push_back(planned);
    }

    plan.rows.reserve(stretches.size() + 1);
    std::size_t leg = 0;
    double fromStart = 0.0;
    for (const Stretch& stretch : stretches) {
        while (leg + 1 < plan.legs.size() && plan.legs[leg].lastRow <= plan.rows.size())
            ++leg;
        VoyageRow row;
        row.isPlace = plan.legs[leg].firstRow == plan.rows.size();
        row.place = leg;
        if (row.isPlace)
            row.name = voyage.places[leg].name;
        row.turningPoint = stretch.turn && !row.isPlace;
        if (row.turningPoint)
            row.name = stretch.passage;
        row.position = {stretch.at.latitude, planLongitude(stretch.at.longitude)};
        row.courseToNext = stretch.course;
        row.legNm = stretch.legNm;
        row.rhumbToNext = stretch.rhumb;
        row.course = stretch.track;
        row.fromStartNm = fromStart;
        fromStart += stretch.legNm;
        plan.rows.push_back(std::move(row));
    }
    VoyageRow last;
    last.name = voyage.places.back().name;
    last.position = voyage.places.back().position;
    last.position.longitude = planLongitude(last.position.longitude);
    last.isPlace = true;
    last.place = voyage.places.size() - 1;
    last.course = arrival;
    last.fromStartNm = fromStart;
    plan.rows.push_back(std::move(last));
    plan.distance = fromStart;
    for (VoyageRow& row : plan.rows)
        row.toGoNm = std::max(0.0, plan.distance - row.fromStartNm);
    plan.timeProblem = addTimes(voyage, plan);
    if (!plan.timeProblem.empty()) {
        for (VoyageRow& row : plan.rows)
            row.eta.reset();
    }
    plan.hasPlan = true;
    return plan;
}

std::vector<LatLon> sailedPath(const VoyagePlan& plan, double stepDegrees)
{
    std::vector<LatLon> out;
    if (!plan.hasPlan || plan.rows.empty())
        return out;
    const double step = std::max(stepDegrees, 0.01);
    out.push_back(plan.rows.front().position);
    for (std::size_t i = 0; i + 1 < plan.rows.size(); ++i) {
        const LatLon a = plan.rows[i].position, b = plan.rows[i + 1].position;
        if (!plan.rows[i].rhumbToNext) {
            appendGreatCircle(out, a, b, step);
            continue;
        }
        const std::vector<LatLon> line = rhumbLinePath(a, b, step);
        out.insert(out.end(), line.begin() + 1, line.end());
    }
    return out;
}

bool hasLegBySea(const Voyage& voyage)
{
    for (std::size_t i = 0; i + 1 < voyage.places.size() && i < voyage.legs.size(); ++i)
        if (voyage.legs[i].sailing == Sailing::BySea)
            return true;
    return false;
}

Voyage twoPlaceVoyage(const VoyagePlace& start, const VoyagePlace& end)
{
    Voyage voyage;
    voyage.places = {start, end};
    voyage.legs = {VoyageLeg{}};
    return voyage;
}

} // namespace gyrena
