#pragma once

// A voyage: an ordered list of places, how each leg between two of them is sailed, a speed and
// perhaps a departure. Its plan is a pure function of it, like the route between two places:
// every leg's waypoints in order, each place a row of its own, with distances, courses and
// times.

#include "geo/latlon.h"
#include "geo/routeplan.h"
#include "geo/searouting.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gyrena {

enum class Sailing {
    GreatCircle,
    RhumbLine,
    // The great circle to the limiting parallel, along it, then the great circle to the next
    // place; a great circle that never passes the limit is sailed as it is.
    Composite,
    // The shortest way that stays in water (geo/searouting.h): great circles between turning
    // points that a router finds, the straits and canals passed named.
    BySea,
};

// The speeds a plan accepts, knots; a speed outside gives a plan without times.
inline constexpr double kMinimumSpeed = 0.1;
inline constexpr double kMaximumSpeed = 1000.0;
// Limiting latitudes a composite leg accepts, degrees (either hemisphere: the limit holds north
// and south of the equator).
inline constexpr double kMinimumLimit = 1.0;
inline constexpr double kMaximumLimit = 89.0;

struct VoyagePlace
{
    std::string name; // UTF-8, any text; may be empty
    LatLon position;  // latitude -90..90, longitude any finite value (wrapped)

    bool operator==(const VoyagePlace&) const = default;
};

struct VoyageLeg
{
    Sailing sailing = Sailing::GreatCircle;
    double limitLatitude = 60.0; // degrees kMinimumLimit..kMaximumLimit, for Composite only
    std::optional<double> speed; // knots, this leg only; the voyage's speed when empty

    bool operator==(const VoyageLeg&) const = default;
};

struct Voyage
{
    std::vector<VoyagePlace> places; // at least two for a plan
    // legs[i] runs from places[i] to places[i + 1]; missing legs are great circles, extra ones
    // are ignored.
    std::vector<VoyageLeg> legs;
    double speed = 6.0; // knots
    // Minutes of UTC since 1970-01-01T00:00Z (see geo/utctime.h); no times without it.
    std::optional<std::int64_t> departure;
    PlanOptions spacing; // where the waypoints of each leg lie
    SeaRouteOptions sea; // how every leg by sea is routed

    bool operator==(const Voyage&) const = default;
};

// One row of a plan: a place or a waypoint computed on a leg.
struct VoyageRow
{
    // The place's name; a turning point's passage ("Suez Canal"), or empty; empty for a computed
    // waypoint (writers number them).
    std::string name;
    LatLon position; // latitude -90..90, longitude -180 < longitude <= 180
    bool isPlace = false;
    // A turning point of a leg by sea: computed, not a place, where one great circle of the
    // route ends and the next begins.
    bool turningPoint = false;
    std::size_t place = 0; // the index of the place, or of the place that begins the leg
    // To the next row (none on the last): the rhumb-line course to steer, degrees 0..360, and
    // its distance, nautical miles.
    std::optional<double> courseToNext;
    std::optional<double> legNm;
    // Whether the stretch to the next row is a rhumb line (a rhumb-line leg, or a composite
    // leg's run along its parallel) rather than a great circle: how a map draws it.
    bool rhumbToNext = false;
    // The course of the track as sailed here, degrees 0..360: the great circle's course on a
    // great-circle stretch, the rhumb line's on a rhumb-line one; on the last row the course of
    // arrival.
    double course = 0.0;
    // The distance steered: the previous row's fromStartNm plus its legNm, the rest of the voyage's
    // legs for toGoNm. (The great circle between two rows is a little shorter than its leg.)
    double fromStartNm = 0.0;
    double toGoNm = 0.0;
    std::optional<std::int64_t> eta; // UTC minute (see geo/utctime.h), with a departure only
};

struct PlannedLeg
{
    Sailing sailing = Sailing::GreatCircle;
    double distance = 0.0;      // steered (the sum of its rows' legs), nautical miles
    double greatCircleNm = 0.0; // the great circle between the same places, for comparison
    double speed = 0.0;         // knots used for its times
    // For a composite leg that reaches its limit: the limiting parallel (signed) and where the
    // route meets and leaves it.
    bool reachesLimit = false;
    double limitLatitude = 0.0;
    LatLon meetsLimit;
    LatLon leavesLimit;
    // For a leg by sea: the passages taken, in order, each once; whether the way to a place is
    // narrower than the clearance asked.
    std::vector<std::string> passages;
    bool narrowed = false;
    std::size_t firstRow = 0; // the row of the place it leaves
    std::size_t lastRow = 0;  // the row of the place it reaches
};

struct VoyagePlan
{
    // False when there is no plan: fewer than two places, a position out of range, two
    // consecutive places that coincide, a place beyond its composite leg's limiting latitude, a
    // leg by sea without a route (or without a router to ask).
    // `problem` then says why, naming the place, and the rest is empty.
    bool hasPlan = false;
    std::string problem;

    std::vector<VoyageRow> rows;
    std::vector<PlannedLeg> legs;
    double distance = 0.0;      // steered: the sum of every row's leg, nautical miles
    double greatCircleNm = 0.0; // the sum of the great circles between consecutive places
    // Whole minutes under way, when every leg's speed is in kMinimumSpeed..kMaximumSpeed.
    std::optional<std::int64_t> minutesUnderWay;
    // Why there are no times although the plan exists (a speed out of range, an arrival beyond
    // the year 9999); empty otherwise.
    std::string timeProblem;
};

// Plans the voyage, its legs by sea by `sea`'s routes (each stretch between two turning points a
// great circle with its waypoints). Never throws; no number in the result is nan or inf.
VoyagePlan planVoyage(const Voyage& voyage, const SeaRouter* sea = nullptr);

// Whether any leg of the voyage between its places is sailed by sea.
bool hasLegBySea(const Voyage& voyage);

// The voyage's track as sailed, for drawing: points at most about `stepDegrees` (>= 0.01) of arc
// apart, great circles between great-circle rows and rhumb lines along rhumb rows. Longitudes run
// on continuously along rhumb stretches (they may leave -180..180 across the 180 meridian).
std::vector<LatLon> sailedPath(const VoyagePlan& plan, double stepDegrees = 1.0);

// The voyage of two places joined by a great circle, as the main window's route gives it.
Voyage twoPlaceVoyage(const VoyagePlace& start, const VoyagePlace& end);

} // namespace gyrena
