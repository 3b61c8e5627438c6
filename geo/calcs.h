#pragma once

#include "geo/location.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

// The triangle start - end - north pole as the last computation left it. Angles in degrees
// unless the name ends in Rad; the companions Cos/Sin are plain ratios. All 0 before the first
// computation; the direction words are empty.
struct ResultState
{
    double deltaLong = 0.0, deltaLongRad = 0.0;
    double startColat = 0.0, startColatRad = 0.0;
    double endColat = 0.0, endColatRad = 0.0;
    double distCos = 0.0, distRad = 0.0, dist = 0.0;
    double startAngleCos = 0.0, startAngleRad = 0.0, startAngle = 0.0;
    double endAngleCos = 0.0, endAngleSin = 0.0, endAngleRad = 0.0, endAngle = 0.0;
    double initialCourse = 0.0, arrivalCourse = 0.0;
    std::string directionEW; // "East", "West" or "North/South"
    std::string directionNS; // "North" or "South", set only by North/South routes

    bool operator==(const ResultState&) const = default;
};

// The figures a computation produces, one text each. The window shows each in a box of its own.
enum class ResultField {
    DeltaLongitude,  // N, the difference of longitude, degrees
    StartColatitude, // s, degrees
    EndColatitude,   // e, degrees
    Arc,             // n, the great-circle arc, degrees
    DistanceNm,      // nautical miles
    DistanceStatute, // statute miles
    StartAngle,      // Sang, the angle at the start, degrees
    EndAngle,        // Eang, the angle at the end, degrees
    InitialCourse,   // degrees
    ArrivalCourse,   // degrees
    DirectionEW,     // "East", "West" or "North/South"
    DirectionNS,     // "North", "South" or empty
};
inline constexpr std::size_t kResultFieldCount = 12;

// One text produced for one result field.
struct FieldWrite
{
    ResultField field;
    std::string text;

    bool operator==(const FieldWrite&) const = default;
};

enum class RouteOutcome {
    Completed,    // every field of the route was written
    SameLocation, // the two locations coincide: nothing was written, results unchanged
    Failed,       // the arithmetic failed part-way: writes holds the fields written before it
};

struct RouteRun
{
    ResultState results;            // the new result state
    std::vector<FieldWrite> writes; // in the order the computation produced them
    RouteOutcome outcome = RouteOutcome::Completed;
    // Failed: the field whose value could not be computed; the run got no further.
    std::optional<ResultField> stoppedAt;
    // Failed: an English sentence "This route cannot be computed: <why>."; SameLocation:
    // "Same Location!"; Completed: empty.
    std::string message;
};

// Solves the triangle start - end - north pole from the location state (degrees, any value; the
// offered ranges are latitudes 0..90 and longitudes 0..180). `previous` supplies the values
// that persist from run to run (the courses and directionNS) and every value a failed run does
// not reach. `decimalSeparator` (UTF-8, any length) goes into the two-decimal patterns.
// Two locations within 1e-9 degrees of each other (a pole at any two longitudes included) give
// SameLocation. Routes along a meridian or over a pole between opposite meridians are
// "North/South". Angles out of range are computed as given while the arithmetic stays finite;
// a text beyond the range of a double, or a start or end exactly on a pole given out of range,
// gives Failed before the field that would show the failing value. Never throws; no text and
// no result value ever holds nan or inf.
RouteRun computeRoute(const LocationState& location, const ResultState& previous,
                      std::string_view decimalSeparator);

} // namespace gyrena
