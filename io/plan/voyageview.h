#pragma once

// Everything a voyage shows and exports, worked out once from the voyage alone: its plan, the
// summary under the map, the sentence a screen reader says for the map, the lines the map draws
// and the passage plan that is printed and exported. Every view reads this one result, so no
// two views can tell different stories about the same voyage.

#include "geo/maproute.h"
#include "geo/routeplan.h"
#include "geo/voyage.h"
#include "io/plan/passageplan.h"

#include <string>

namespace gyrena {

struct VoyageViewOptions
{
    std::string decimalSeparator = "."; // for the summary's figures (UTF-8): the window's locale's
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

    // More views of the same plan join here (land crossings, almanac rows), so that the window,
    // the print and the files take them from one place.
};

// The view of `voyage`. Never throws; without a plan every part says why, from plan.problem.
VoyageView viewVoyage(const Voyage& voyage, const VoyageViewOptions& options = {});

} // namespace gyrena
