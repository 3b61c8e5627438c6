#include "geo/routeplan.h"

#include "geo/spherepath.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRadPerDeg = kPi / 180.0;
constexpr double kDegPerRad = 180.0 / kPi;
// Nautical miles in one radian of arc: the sphere's radius.
constexpr double kNmPerRad = kDegPerRad * kNauticalMilesPerDegree;
// Two positions closer than this are one, as the triangle's "Same Location!" test has it; a
// great circle whose vertex lies this close to a pole or to the equator is taken as a meridian
// or as the equator.
constexpr double kSameAngleRad = 1e-9 * kRadPerDeg;
const double kSameAngleSin = std::sin(kSameAngleRad);

using Vec = Vector3;

Vec unit(Vec a)
{
    return (1.0 / norm(a)) * a;
}
// The distance from the polar axis; the vectors here are unit vectors, so no overflow to guard.
double horizontal(Vec a)
{
    return std::sqrt(a.x * a.x + a.y * a.y);
}

// Degrees into 0 <= course < 360, never -0. A course a rounding error west of north is north,
// so that no text shows it as 360.
double course360(double degrees)
{
    if (degrees < 0.0)
        degrees += 360.0;
    if (degrees >= 360.0 - 1e-9)
        degrees = 0.0;
    return degrees + 0.0;
}

double latitudeOf(Vec p)
{
    // Within the coincidence tolerance of a pole is the pole, so that its rhumb legs run along
    // the meridian.
    if (horizontal(p) < kSameAngleSin)
        return p.z > 0.0 ? 90.0 : -90.0;
    return 0.0 + std::clamp(std::atan2(p.z, horizontal(p)) * kDegPerRad, -90.0, 90.0);
}

// The course of the direction `t` (a unit tangent) at the point `p`. At a pole every direction
// is south or north: `leaving` tells whether the route leaves the point or arrives at it.
double courseAt(Vec p, Vec t, bool leaving)
{
    const double r = horizontal(p);
    if (r < kSameAngleSin) {
        const bool northPole = p.z > 0.0;
        return northPole == leaving ? 180.0 : 0.0;
    }
    const double east = (-p.y * t.x + p.x * t.y) / r;
    const double north = (-p.z * p.x * t.x - p.z * p.y * t.y) / r + r * t.z;
    return course360(std::atan2(east, north) * kDegPerRad);
}

// The longitude of `p`; at a pole, that of the meridian the route leaves it along.
double longitudeAt(Vec p, Vec t)
{
    if (horizontal(p) < kSameAngleSin)
        return planLongitude(std::atan2(t.y, t.x) * kDegPerRad);
    return planLongitude(std::atan2(p.y, p.x) * kDegPerRad);
}

// Where along the circle a cos s + u sin s the point q lies, as an angle 0 <= s < 2 pi.
double angleAlong(Vec a, Vec u, Vec q)
{
    double s = std::atan2(dot(q, u), dot(q, a));
    if (s < 0.0)
        s += 2.0 * kPi;
    return s;
}

std::string rangeProblem(LatLon p, const char* which)
{
    if (!std::isfinite(p.latitude) || !std::isfinite(p.longitude))
        return std::string("the ") + which + " position is not a finite number";
    if (std::fabs(p.latitude) > 90.0)
        return std::string("the ") + which + " latitude is beyond 90 degrees";
    return {};
}

VertexPoint vertexPoint(Vec a, Vec u, double d, Vec v)
{
    VertexPoint point;
    point.position = {latitudeOf(v), planLongitude(std::atan2(v.y, v.x) * kDegPerRad)};
    const double s = angleAlong(a, u, v);
    // Ends included: a route that starts or ends on the vertex passes through it.
    if (s <= d + kSameAngleRad || s >= 2.0 * kPi - kSameAngleRad) {
        point.onRoute = true;
        point.distance = (s <= d + kSameAngleRad ? std::min(s, d) : 0.0) * kNmPerRad;
    }
    return point;
}

} // namespace

double planLongitude(double degrees)
{
    double wrapped = std::remainder(degrees, 360.0);
    if (wrapped <= -180.0)
        wrapped += 360.0;
    return wrapped + 0.0;
}

LatLon startPosition(const LocationState& location)
{
    return {location.startLatDir == "N" ? location.startLat : -location.startLat,
            location.startLongDir == "E" ? location.startLong : -location.startLong};
}

LatLon endPosition(const LocationState& location)
{
    return {location.endLatDir == "N" ? location.endLat : -location.endLat,
            location.endLongDir == "E" ? location.endLong : -location.endLong};
}

namespace {

RhumbLeg rhumbLeg(LatLon a, LatLon b, double psiA, double psiB)
{
    RhumbLeg leg;
    const double phi1 = a.latitude * kRadPerDeg;
    const double phi2 = b.latitude * kRadPerDeg;
    const double dPhi = phi2 - phi1;
    // A rhumb line reaches a pole only along a meridian (any other course spirals round it).
    if (std::fabs(a.latitude) == 90.0 || std::fabs(b.latitude) == 90.0) {
        leg.course = b.latitude > a.latitude ? 0.0 : (b.latitude < a.latitude ? 180.0 : 0.0);
        leg.distance = std::fabs(dPhi) * kNmPerRad;
        return leg;
    }
    double dLambda = std::remainder(b.longitude - a.longitude, 360.0);
    if (dLambda == -180.0)
        dLambda = 180.0;
    dLambda *= kRadPerDeg;
    const double dPsi = psiB - psiA;
    // Along a parallel the ratio dPhi / dPsi tends to the cosine of the latitude.
    const double q = std::fabs(dPhi) > 1e-12 ? dPhi / dPsi : std::cos(0.5 * (phi1 + phi2));
    leg.course = course360(std::atan2(dLambda, dPsi) * kDegPerRad);
    leg.distance = std::hypot(dPhi, q * dLambda) * kNmPerRad;
    return leg;
}

double isometricOrZero(LatLon p)
{
    return std::fabs(p.latitude) == 90.0 ? 0.0 : isometricLatitude(p.latitude);
}

} // namespace

RhumbLeg rhumbLine(LatLon a, LatLon b)
{
    return rhumbLeg(a, b, isometricOrZero(a), isometricOrZero(b));
}

RoutePlan planRoute(LatLon start, LatLon end, const PlanOptions& options)
{
    RoutePlan plan;
    plan.problem = rangeProblem(start, "start");
    if (plan.problem.empty())
        plan.problem = rangeProblem(end, "end");
    if (!plan.problem.empty())
        return plan;
    start.longitude = planLongitude(start.longitude);
    end.longitude = planLongitude(end.longitude);

    const Vec a = unitVector(start);
    const Vec b = unitVector(end);
    const double d = std::atan2(norm(cross(a, b)), dot(a, b));
    if (d < kSameAngleRad) {
        plan.problem = "the two locations coincide";
        return plan;
    }
    const Vec z{0.0, 0.0, 1.0};
    // u: the direction of travel at the start; the route is a cos s + u sin s, 0 <= s <= d.
    Vec u;
    if (d > kPi - kSameAngleRad) {
        // Antipodal: every great circle through both will do; take the one over the north pole,
        // as the triangle through the north pole does. From a pole, along the start's meridian.
        plan.overNorthPole = true;
        const Vec towardPole = z - dot(a, z) * a;
        if (norm(towardPole) < kSameAngleSin) {
            const double lambda = start.longitude * kRadPerDeg;
            u = {std::cos(lambda), std::sin(lambda), 0.0};
        } else {
            u = unit(towardPole);
        }
    } else {
        u = unit(b - dot(a, b) * a);
    }
    // Ends on one meridian or on opposite ones, or an end at a pole, span a meridian's plane:
    // the route leaves due north or due south. The subtraction above loses that to rounding as
    // the ends near antipodes (it once put a dozen waypoints at the pole), so the direction is
    // taken from the start's own meridian instead.
    const bool oneMeridian = std::remainder(end.longitude - start.longitude, 180.0) == 0.0 ||
                             std::fabs(end.latitude) == 90.0;
    if (!plan.overNorthPole && oneMeridian && std::fabs(start.latitude) != 90.0) {
        const double phi = start.latitude * kRadPerDeg, lambda = start.longitude * kRadPerDeg;
        const Vec north{-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda),
                        std::cos(phi)};
        u = dot(b - dot(a, b) * a, north) >= 0.0 ? north : -1.0 * north;
    }
    const Vec n = cross(a, u); // the pole of the great circle
    // How far rounding may have tilted that pole: u comes from a difference of size sin d.
    const double tilt = kSameAngleSin + 8.0 * std::numeric_limits<double>::epsilon() /
                                            std::max(std::sin(d), 1e-300);
    const auto tangentAt = [&](double s) { return std::cos(s) * u - std::sin(s) * a; };

    plan.hasRoute = true;
    plan.distance = d * kNmPerRad;

    // The vertex.
    const double nHorizontal = std::hypot(n.x, n.y);
    if (nHorizontal < kSameAngleSin) {
        plan.vertex.kind = Vertex::Kind::Equator;
    } else if (std::fabs(n.z) < tilt) {
        plan.vertex.kind = Vertex::Kind::Poles;
        plan.vertex.north = vertexPoint(a, u, d, z);
        plan.vertex.south = vertexPoint(a, u, d, -1.0 * z);
        plan.vertex.north.position = {90.0, 0.0};
        plan.vertex.south.position = {-90.0, 0.0};
    } else {
        const Vec v = unit(z - n.z * n);
        plan.vertex.north = vertexPoint(a, u, d, v);
        plan.vertex.south = vertexPoint(a, u, d, -1.0 * v);
    }

    // Where the waypoints lie along the route, as angles 0 < s < d.
    struct Along
    {
        double s;
        double longitude; // the meridian crossed, or nan to compute it
    };
    std::vector<Along> along;
    const int everyDegrees = std::clamp(options.everyDegrees, 1, 90);
    const bool byMeridians = options.spacing == PlanOptions::Spacing::Meridians &&
                             plan.vertex.kind != Vertex::Kind::Poles;
    if (byMeridians) {
        plan.spacing = PlanOptions::Spacing::Meridians;
        plan.spacingValue = everyDegrees;
        // The meridians k * N in -180 < longitude <= 180; a great circle that is no meridian
        // crosses each meridian (a half-plane) exactly once.
        // Longitude changes monotonically along an arc that passes no pole, eastward when the
        // circle's pole is north, and by less than a half turn: only the meridians in that
        // sweep are tried, with a margin of one on each side for rounding.
        const bool eastward = n.z > 0.0;
        double sweep = eastward ? end.longitude - start.longitude : start.longitude - end.longitude;
        if (sweep < 0.0)
            sweep += 360.0;
        const double from = eastward ? start.longitude : start.longitude - sweep;
        const int first = static_cast<int>(std::floor(from / everyDegrees)) - 1;
        const int last = static_cast<int>(std::ceil((from + sweep) / everyDegrees)) + 1;
        for (int k = first; k <= last; ++k) {
            const double meridian = planLongitude(k * everyDegrees);
            const double lambda = meridian * kRadPerDeg;
            const double sinL = std::sin(lambda), cosL = std::cos(lambda);
            const Vec m{-sinL, cosL, 0.0};
            const Vec e{cosL, sinL, 0.0};
            // a.m cos s + u.m sin s = 0 on the meridian's plane; the root on its half.
            double s = std::atan2(-dot(a, m), dot(u, m));
            if (dot(a, e) * std::cos(s) + dot(u, e) * std::sin(s) < 0.0)
                s += kPi;
            if (s < 0.0)
                s += 2.0 * kPi;
            if (s > kSameAngleRad && s < d - kSameAngleRad)
                along.push_back({s, meridian});
        }
        std::sort(along.begin(), along.end(),
                  [](const Along& x, const Along& y) { return x.s < y.s; });
        // With wide spacings the margins can bring one meridian in twice.
        along.erase(
            std::unique(along.begin(), along.end(),
                        [](const Along& x, const Along& y) { return y.s - x.s < kSameAngleRad; }),
            along.end());
    } else {
        plan.spacing = PlanOptions::Spacing::Distance;
        plan.spacingValue = options.spacing == PlanOptions::Spacing::Distance
                                ? std::max(options.everyNm, kMinimumSpacingNm)
                                : everyDegrees * kNauticalMilesPerDegree;
        if (!std::isfinite(plan.spacingValue))
            plan.spacingValue = plan.distance;
        const double step = plan.spacingValue / kNmPerRad;
        for (int k = 1; k * step < d - kSameAngleRad; ++k)
            along.push_back({k * step, std::nan("")});
    }

    plan.waypoints.reserve(along.size() + 2);
    plan.waypoints.push_back({start, 0.0, courseAt(a, u, true)});
    for (const Along& point : along) {
        const double sinS = std::sin(point.s), cosS = std::cos(point.s);
        const Vec p = cosS * a + sinS * u;
        const Vec t = cosS * u - sinS * a;
        Waypoint waypoint;
        waypoint.position.latitude = latitudeOf(p);
        waypoint.position.longitude =
            std::isnan(point.longitude) ? longitudeAt(p, t) : point.longitude;
        waypoint.distance = point.s * kNmPerRad;
        waypoint.course = courseAt(p, t, true);
        plan.waypoints.push_back(waypoint);
    }
    plan.waypoints.push_back({end, plan.distance, courseAt(b, tangentAt(d), false)});

    plan.legs.reserve(plan.waypoints.size() - 1);
    double psi = isometricOrZero(plan.waypoints.front().position);
    for (std::size_t i = 0; i + 1 < plan.waypoints.size(); ++i) {
        const double nextPsi = isometricOrZero(plan.waypoints[i + 1].position);
        plan.legs.push_back(
            rhumbLeg(plan.waypoints[i].position, plan.waypoints[i + 1].position, psi, nextPsi));
        psi = nextPsi;
    }

    plan.initialCourse = plan.waypoints.front().course;
    plan.arrivalCourse = plan.waypoints.back().course;

    plan.rhumb.line = rhumbLine(start, end);
    plan.rhumb.excessNm = std::max(0.0, plan.rhumb.line.distance - plan.distance);
    plan.rhumb.excessPercent = plan.rhumb.excessNm / plan.distance * 100.0;

    const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
    double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
    wgs84.Inverse(start.latitude, start.longitude, end.latitude, end.longitude, s12, azi1, azi2);
    plan.wgs84.metres = s12;
    plan.wgs84.distance = s12 / 1852.0;
    plan.wgs84.initialCourse = course360(azi1);
    plan.wgs84.arrivalCourse = course360(azi2);
    plan.wgs84.minusSphereNm = plan.wgs84.distance - plan.distance;
    return plan;
}

} // namespace gyrena
