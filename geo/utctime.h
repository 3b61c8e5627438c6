#pragma once

// Times of a voyage: whole minutes of UTC counted from 1970-01-01T00:00Z, written and read as
// ISO 8601 (2026-06-01T08:00Z) whatever the locale.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace gyrena {

// The earliest and latest minute a voyage time may take: years 1 to 9999, which ISO 8601 writes
// with four digits.
inline constexpr std::int64_t kFirstUtcMinute = -1035593280; // 0001-01-01T00:00Z
inline constexpr std::int64_t kLastUtcMinute = 4223371679;   // 9999-12-31T23:59Z

// Reads "YYYY-MM-DDTHH:MMZ", "YYYY-MM-DDTHH:MM:SSZ" or either with "+00:00" for the Z (a "t" or
// a blank for the T; seconds are dropped, not rounded). Nothing for any other text, a date that
// does not exist (2026-02-30), an hour beyond 23 or a minute or second beyond 59.
std::optional<std::int64_t> parseUtcMinute(std::string_view text);

// "YYYY-MM-DDTHH:MMZ" for a minute in kFirstUtcMinute..kLastUtcMinute; a minute outside is
// written as the nearest of the two.
std::string utcMinuteText(std::int64_t minute);

// A duration of whole minutes (negative taken as 0) as "3 d 04 h 05 min"; under a day
// "4 h 05 min", under an hour "5 min".
std::string durationText(std::int64_t minutes);

} // namespace gyrena
