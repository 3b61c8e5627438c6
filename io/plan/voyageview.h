#pragma once

// Everything a voyage shows and exports, worked out once from the voyage alone: its plan, the
// summary under the map, the sentence a screen reader says for the map, the lines the map draws
// and the passage plan that is printed and exported. Every view reads this one result, so no
// two views can tell different stories about the same voyage.

#include "geo/almanac.h"
#include "geo/landcheck.h"
#include "geo/maproute.h"
#include "geo/routeplan.h"
#include "geo/voyage.h"
#include "io/plan/passageplan.h"

#include <cstdint>
#include <string>

namespace gyrena {

struct VoyageViewOptions
{
    std::string decimalSeparator = "."; // for the summary's figures (UTF-8): the window's locale's
    std::string groupSeparator = ",";   // between thousands, where the summary groups digits
    // The land every leg is checked against, as sailed; null leaves the voyage unchecked (a
    // flight, or the land not read yet).
    const LandIndex* land = nullptr;
    // Finds the routes of the legs by sea; null gives a voyage with a leg by sea no plan ("the
    // routes by sea are not ready").
    const SeaRouter* sea = nullptr;

    // Where the almanac's data come from (the magnetic model, the time zones); without one the
    // view has no almanac. `nowMinute` (UTC minute) dates the variation of a voyage without a
    // departure.
    const AlmanacEarth* earth = nullptr;
    std::int64_t nowMinute = 0;
    // How the table shows the almanac: courses true or magnetic, times in UTC, zone time or
    // local time.
    bool magneticCourses = false;
    TimeKeeping timeKeeping = TimeKeeping::Utc;
};

struct VoyageView
{
    VoyagePlan plan;
    // A voyage of two places joined by a great circle is the main window's route: its route plan
    // (for the summary's comparison with the rhumb line and the ellipsoid, the rhumb line drawn
    // beside it and the vertex). For any other voyage a plan without a route.
    RoutePlan route;
    bool twoPlaceGreatCircle = false;

    // The first and last places by the names every view and file gives them (voyagePlaceNames).
    std::string startName;
    std::string endName;
    std::string summary;     // one line under the map; "No route: ..." without a plan
    std::string description; // the map in one sentence; says the same as the summary without a plan
    MapRoute map;            // what the map draws; empty lines without a plan
    PassagePlan passage;     // what is printed and exported; no rows without a plan

    // The land the legs cross, when the voyage was checked (`landChecked`): every stretch, a
    // sentence for each leg that crosses land (also at the end of the summary and the
    // description; the map draws the stretches in map.overLand), and for each row of the plan
    // whether its stretch to the next row meets land.
    bool landChecked = false;
    std::vector<LandCrossing> land;
    std::vector<std::string> landWarnings;
    std::vector<bool> rowsOverLand;

    // The navigator's almanac at every row of the plan (no rows without a plan or an earth), and
    // the choices it is shown under; the summary says why rows have no variation.
    Almanac almanac;
    bool magneticCourses = false;
    TimeKeeping timeKeeping = TimeKeeping::Utc;

    // More views of the same plan join here, so that the window, the print and the files take
    // them from one place.
};

// The view of `voyage`. Never throws; without a plan every part says why, from plan.problem.
VoyageView viewVoyage(const Voyage& voyage, const VoyageViewOptions& options = {});

} // namespace gyrena
