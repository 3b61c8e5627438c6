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

// The land between a place and open water along its leg, up to this distance, is that place's
// approach (a town's centre a little inland, its harbour, its river mouth), not a crossing: a
// stretch of land that begins at the place (within kPlaceSlackNm of it) and ends in water within
// kApproachNm of it along the leg is left out, and likewise at the leg's end. Land anywhere
// else is a crossing, however near a place: a headland a mile off a harbour, or the land
// between the close places of a canal's transit. About 10 nm: 12, so that a port at the head
// of its estuary counts as one (a straight leg west from Lisbon's centre runs 11.9 nm along the
// Tagus's north shore before open water).
inline constexpr double kApproachNm = 12.0;
// How near a place its approach must begin: a place given in whole minutes of arc lies up to
// 0.7 nm from where it was meant.
inline constexpr double kPlaceSlackNm = 1.0;
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

// What one leg crosses, for a summary: its land in all, in how many stretches, and the longest.
struct LegOverLand
{
    std::size_t leg = 0; // index into VoyagePlan::legs
    double nm = 0.0;     // all its stretches together
    std::size_t stretches = 0;
    std::size_t longest =
        0; // index into the crossings of its longest stretch (the first of equals)
};

// The legs that cross land, in leg order, from landCrossings' result.
std::vector<LegOverLand> legsOverLand(const std::vector<LandCrossing>& crossings);

// Whether each of `rowCount` rows of the plan has land on its stretch to the next row.
std::vector<bool> rowsOverLand(const std::vector<LandCrossing>& crossings, std::size_t rowCount);

// A leg's land in a sentence for the summary: "Leg 4, Sydney – Singapore, crosses land: 1,933 nm
// in 7 stretches, the longest from 33°52.1'S 151°12.4'E to 16°25.6'S 123°38.6'E." (one stretch:
// "…crosses land: 175 nm from … to …."). Distances under 10 nm to a tenth, others whole with
// `groupSeparator` between thousands; `decimalSeparator` in the numbers (the window passes its
// locale's). UTF-8.
std::string legOverLandText(const LegOverLand& leg, const std::vector<LandCrossing>& crossings,
                            std::string_view fromName, std::string_view toName,
                            std::string_view decimalSeparator = ".",
                            std::string_view groupSeparator = ",");

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
