#pragma once

// A passage plan as it leaves the program (printed, PDF, RTZ, KML): one row per place and
// waypoint with the figures the window's table shows, in route order.

#include "geo/routeplan.h"
#include "geo/voyage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace gyrena {

struct PlanRow
{
    std::string name;                // UTF-8, any bytes: a place's name, or WP02, WP03...
    LatLon position;                 // signed degrees, latitude -90..90, longitude -180..180
    bool isPlace = false;            // a place of the voyage, not a waypoint computed between two
    std::optional<double> course;    // rhumb-line course to the next row, degrees 0..360; none last
    std::optional<double> legNm;     // that leg's distance, nautical miles; none on the last row
    double fromStartNm = 0.0;        // distance steered from the first row (the legs above), nm
    double toGoNm = 0.0;             // distance steered from here to the last row, nm
    std::optional<std::int64_t> eta; // UTC minute (geo/utctime.h); none without a departure
};

struct PassagePlan
{
    std::string name;                      // "San Francisco to Sydney", UTF-8
    std::vector<PlanRow> rows;             // at least two for a plan that can be exported
    double totalNm = 0.0;                  // the distance steered, every leg, nautical miles
    std::optional<std::int64_t> departure; // UTC minute (geo/utctime.h); none, no times

    // The places in order (the rows marked isPlace), e.g. {"Lisbon", "Funchal", "Bridgetown"}.
    std::vector<std::string> placeNames() const;
};

// The names of `count` route points: WP01, WP02 ... (as many digits as the last number needs,
// at least two), except that with two or more points a non-empty `startName` names the first
// and a non-empty `endName` the last.
std::vector<std::string> routePointNames(std::size_t count, const std::string& startName,
                                         const std::string& endName);

// The name of a route through places named `placeNames`, in order: the names joined by " – "
// ("Lisbon – Funchal – Bridgetown"). Every view and file names a route so (the text output, GPX,
// RTZ, KML, the printed plan), a place without a name going by its row's number (WP01, WP07).
std::string routeName(const std::vector<std::string>& placeNames);

// The names of the voyage's places as every view and file gives them: a place's own name, and
// for a place without one its row's number in the plan (WP01, WP07), or its own number when
// there is no plan.
std::vector<std::string> voyagePlaceNames(const Voyage& voyage, const VoyagePlan& plan);

// The plan of one route between two places: the ends are places named `startName` and
// `endName` (WP01 and the last number when empty), the waypoints between them WP02, WP03...;
// courses and legs are the plan's rhumb legs, distances from the start and to go the legs added
// up, as a voyage's plan counts them.
// A plan without a route gives a plan without rows.
PassagePlan passagePlanFromRoute(const RoutePlan& plan, const std::string& startName,
                                 const std::string& endName);

// The plan of a voyage: its rows, places under their names and the waypoints between (and any
// place without a name) WP01, WP02... by their row, with the ETAs and the departure when the
// plan has times. A voyage without a plan gives a plan without rows.
PassagePlan passagePlanFromVoyage(const Voyage& voyage, const VoyagePlan& plan);

// The track as sailed: the rhumb-line leg between each two consecutive rows, as points no more
// than `maxSpacingNm` nautical miles apart (taken as at least 1 nm), from the first row to the
// last. Longitudes run on continuously across the 180th meridian (they may leave -180..180);
// a leg to or from a pole follows the meridian of its other end. Empty for fewer than two rows.
std::vector<LatLon> sailedTrack(const PassagePlan& plan, double maxSpacingNm);

} // namespace gyrena
