#pragma once

// A time zone's rule after the last transition of the system's time-zone data: the POSIX rule at
// the end of its TZif file ("CET-1CEST,M3.5.0,M10.5.0/3"). The transitions themselves are read by
// the date library (io/earth/earth.h), which keeps the last offset for ever after them.

#include "io/earth/dataerror.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena {

inline constexpr std::size_t kMaxZoneFileBytes = 256 * 1024;

// A POSIX TZ rule: standard time, and daylight time between two yearly moments.
struct PosixZoneRule
{
    int standardOffset = 0; // seconds east of UTC
    bool hasDaylight = false;
    int daylightOffset = 0;
    // The yearly start and end of daylight time: kind 'M' (month, week 1..5, weekday 0..6), 'J'
    // (day 1..365, never counting 29 February) or 'N' (day 0..365); seconds after local midnight
    // (in the time then in force; -167..167 hours).
    struct Moment
    {
        char kind = 'M';
        int month = 0, week = 0, weekday = 0, day = 0;
        int seconds = 7200;
    };
    Moment start, end;

    // The offset at `utcSeconds` (any moment of the years 1..9999).
    int offsetAt(std::int64_t utcSeconds) const;
};

// Reads "CET-1CEST,M3.5.0,M10.5.0/3", "<+0545>-5:45", "EST5EDT,M3.2.0,M11.1.0" and the like.
std::optional<PosixZoneRule> readPosixZoneRule(std::string_view text);

// The POSIX rule at the end of a TZif file of version 2 or later (its last line), which holds
// after the file's last transition; nothing for another file, a file without one or a rule that
// does not read. At most kMaxZoneFileBytes.
std::optional<PosixZoneRule> readZoneFileRule(std::string_view bytes);

// Whether `zone` is a name that may be looked up as a file below the zone folder: letters,
// digits, "_", "+", "-" and "/" between names, no "." anywhere.
bool isZoneFileName(std::string_view zone);

} // namespace gyrena
