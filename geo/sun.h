#pragma once

// The Sun as a watch keeper needs it: its altitude, the light at a moment (day, the three
// twilights, night) and sunrise and sunset on a UTC day, from the solar coordinates of Meeus'
// Astronomical Algorithms (chapter 25, as NOAA's solar calculator uses them) and the mean
// sidereal time: good to about 0.01 degree of altitude, needing no data.

#include "geo/latlon.h"

#include <cstdint>
#include <optional>

namespace gyrena {

// The altitude of the Sun's centre that counts as rising and setting: 50 minutes of arc below
// the horizon (16' semi-diameter and 34' of refraction), degrees.
inline constexpr double kSunriseAltitude = -50.0 / 60.0;

enum class Light {
    Day,                  // the Sun's upper edge above the horizon (centre above kSunriseAltitude)
    CivilTwilight,        // centre down to 6 degrees below the horizon
    NauticalTwilight,     // down to 12 degrees
    AstronomicalTwilight, // down to 18 degrees
    Night,
};

// The geometric altitude of the Sun's centre (no refraction), degrees -90..90, seen from
// `position` (latitude -90..90) at `utcSeconds` since 1970-01-01T00:00Z (years 1..9999).
double sunAltitude(LatLon position, double utcSeconds);

// The light at `position` at the UTC minute `utcMinute` (geo/utctime.h).
Light lightAt(LatLon position, std::int64_t utcMinute);

// Sunrise and sunset on one UTC day at one position.
struct SunDay
{
    // The minutes (geo/utctime.h, to the nearest minute) at which the Sun's centre rises above
    // and sets below kSunriseAltitude on the day; the first of each when there are two, nothing
    // when it does not rise or set that day.
    std::optional<std::int64_t> sunrise;
    std::optional<std::int64_t> sunset;
    // Neither rising nor setting: the Sun is up the whole day (polar day) or down the whole day
    // (polar night). Both false when it rises or sets.
    bool upAllDay = false;
    bool downAllDay = false;
};

// Sunrise and sunset on the UTC day (00:00Z to 24:00Z) that holds the minute `utcMinute`.
SunDay sunDay(LatLon position, std::int64_t utcMinute);

} // namespace gyrena
