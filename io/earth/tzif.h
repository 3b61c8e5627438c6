#pragma once

// A time zone's rules from the system's time-zone data (Debian's tzdata, the TZif files under
// /usr/share/zoneinfo): its offset from UTC at any moment, from the file's transitions and, past
// the last of them, from the POSIX rule at its end ("CET-1CEST,M3.5.0,M10.5.0/3").

#include "io/earth/dataerror.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

class ZoneRules
{
public:
    // The offset from UTC at `utcSeconds`, seconds east positive.
    int offsetAt(std::int64_t utcSeconds) const;

private:
    friend std::variant<ZoneRules, EarthDataError> readZoneFile(std::string_view bytes);
    std::vector<std::int64_t> m_transitions; // ascending, seconds since 1970
    std::vector<int> m_offsets;              // the offset from each transition on
    int m_firstOffset = 0;                   // before the first transition
    std::optional<PosixZoneRule> m_rule;     // after the last one
};

// A TZif file of version 2 or later (its 64-bit part and its rule are read; the 32-bit part is
// skipped), at most kMaxZoneFileBytes, whole or nothing.
std::variant<ZoneRules, EarthDataError> readZoneFile(std::string_view bytes);

// Whether `zone` is a name that may be looked up as a file below the zone folder: letters,
// digits, "_", "+", "-" and "/" between names, no "." anywhere.
bool isZoneFileName(std::string_view zone);

} // namespace gyrena
