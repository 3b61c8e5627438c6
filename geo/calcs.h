#pragma once

#include "geo/location.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

// The triangle start - end - north pole as the last computation left it. Angles in degrees
// unless the name ends in Rad; the companions Cos/Sin are plain ratios. All 0 before the first
// computation; the direction words are empty.
struct ResultState
{
    double DeltaLong = 0.0, DeltaLongRad = 0.0;
    double StartColat = 0.0, StartColatRad = 0.0;
    double EndColat = 0.0, EndColatRad = 0.0;
    double DistCos = 0.0, DistRad = 0.0, Dist = 0.0;
    double StartAngleCos = 0.0, StartAngleRad = 0.0, StartAngle = 0.0;
    double EndAngleCos = 0.0, EndAngleSin = 0.0, EndAngleRad = 0.0, EndAngle = 0.0;
    double InitialCourse = 0.0, ArrivalCourse = 0.0;
    std::string DirectionEW; // "East", "West" or "North/South"
    std::string DirectionNS; // "North" or "South", set only by North/South routes

    bool operator==(const ResultState&) const = default;
};

// One text written into one output box ("Text3", "Text11", ...).
struct BoxWrite
{
    std::string box;
    std::string text;

    bool operator==(const BoxWrite&) const = default;
};

// Every output box a route writes; a completed run writes each of them once.
inline constexpr std::array<std::string_view, 12> kOutputBoxes = {
    "Text11", "Text14", "Text16", "Text12", "Text3",  "Text6",
    "Text19", "Text20", "Text4",  "Text5",  "Text17", "Text18",
};

enum class CalcsOutcome {
    Completed,    // every box of the route was written
    SameLocation, // the two locations coincide: nothing was written, results unchanged
    Failed,       // the arithmetic failed part-way: writes holds the boxes written before it
};

struct CalcsRun
{
    ResultState results;          // the new result state
    std::vector<BoxWrite> writes; // in the order the computation wrote them
    CalcsOutcome outcome = CalcsOutcome::Completed;
    // Failed: an English sentence "This route cannot be computed: <why>."; SameLocation:
    // "Same Location!"; Completed: empty.
    std::string message;
};

// Solves the triangle start - end - north pole from the location state (degrees, any value; the
// offered ranges are latitudes 0..90 and longitudes 0..180). `previous` supplies the values
// that persist from run to run (the courses and DirectionNS) and every value a failed run does
// not reach. `decimalSeparator` (UTF-8, any length) goes into the two-decimal patterns.
// Two locations within 1e-9 degrees of each other (a pole at any two longitudes included) give
// SameLocation. Routes along a meridian or over a pole between opposite meridians are
// "North/South". Angles out of range are computed as given while the arithmetic stays finite;
// a text beyond the range of a double, or a start or end exactly on a pole given out of range,
// gives Failed before the box that would show the failing value. Never throws; no box and no
// result value ever holds nan or inf.
CalcsRun Calcs(const LocationState& location, const ResultState& previous,
               std::string_view decimalSeparator);

} // namespace gyrena
