#pragma once

// Which legs of a voyage cross land, as sailed: a great-circle stretch is checked as the exact
// great circle, a rhumb-line stretch (a rhumb-line leg, a composite leg's run along its
// parallel) as great-circle chords whose distance from the rhumb line is at most
// kRhumbChordErrorNm.

#include "geo/landindex.h"
#include "geo/latlon.h"
#include "geo/voyage.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

// Land within this distance of a place, along the leg that leaves or reaches it, is that
// place's approach (a town's centre a little inland, its harbour, its river mouth), not a
// crossing: a stretch of land lying wholly within it is left out. A stretch that reaches beyond
// it is a crossing, told whole. About 10 nm: 12, so that a port at the head of its estuary
// counts as one (a straight leg west from Lisbon's centre runs 11.9 nm along the Tagus's north
// shore before open water).
inline constexpr double kApproachNm = 12.0;
// How far a chord of a densified rhumb line may stand from the rhumb line, at most.
inline constexpr double kRhumbChordErrorNm = 1.0;
// The spacing of the points of LandCrossing::path, degrees of arc.
inline constexpr double kDrawingStepDegrees = 0.5;

// One stretch of land on a leg.
struct LandCrossing
{
    std::size_t leg = 0; // index into VoyagePlan::legs (leg 1 is 0)
    double fromNm = 0.0; // along the leg from the place it leaves, nautical miles
    double toNm = 0.0;
    LatLon entry; // where the track reaches land; longitude -180..180
    LatLon exit;  // where it leaves land again
    // The rows of the plan whose stretch to the next row meets this land: firstRow..lastRow.
    std::size_t firstRow = 0;
    std::size_t lastRow = 0;
    // The track over land, entry to exit, for drawing: points at most kDrawingStepDegrees of
    // arc apart (longitudes -180..180).
    std::vector<LatLon> path;

    double nm() const { return toNm - fromNm; }
};

// The crossings of land of every leg of the plan, in leg order and along each leg. A plan
// without a plan has none.
std::vector<LandCrossing> landCrossings(const VoyagePlan& plan, const LandIndex& land);

// One crossing in a line: "leg 4 Sydney – Singapore: 1816.9 nm over land from 33°52.2'S
// 151°12.0'E to 16°25.5'S 123°38.6'E" (UTF-8), the leg numbered from 1, the distance to a tenth
// of a nautical mile with `decimalSeparator` (the window passes its locale's).
std::string landCrossingText(const LandCrossing& crossing, std::string_view fromName,
                             std::string_view toName, std::string_view decimalSeparator = ".");

// The points of a rhumb line from a to b (latitudes -90..90) close enough that the great-circle
// chords between them stand at most kRhumbChordErrorNm from it; a and b included, longitudes
// running on continuously.
std::vector<LatLon> rhumbLineChords(LatLon a, LatLon b);

} // namespace gyrena
