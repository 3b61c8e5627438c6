#pragma once

// Which legal time zone holds a place: the time-zone map (assets/timezones/tz-lookup.bin,
// written by tools/make-time-zones.py from @photostructure/tz-lookup), a grid of 7.5-degree
// cells each a zone or four quarter cells, down to a few kilometres. Read bounded and
// whole-or-nothing.

#include "geo/latlon.h"
#include "io/earth/dataerror.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gyrena {

inline constexpr std::string_view kTimeZoneMagic = "GYTZ";
inline constexpr std::uint16_t kTimeZoneVersion = 1;
inline constexpr std::size_t kMaxTimeZoneBytes = 4 * 1024 * 1024;

class TimeZoneMap
{
public:
    // The zone at `position` (latitude -90..90, longitude any finite value, wrapped): an IANA
    // name such as "Europe/Lisbon", or "Etc/GMT+5" and the like on the open sea (and "Etc/GMT" at
    // the North Pole). Empty for a position that is not finite.
    std::string_view zoneAt(LatLon position) const;
    std::size_t zoneCount() const { return m_names.size(); }

private:
    friend std::variant<TimeZoneMap, EarthDataError> readTimeZoneMap(std::string_view bytes);
    std::vector<std::string> m_names;
    std::vector<std::uint16_t> m_entries;
};

// Checks every entry: a leaf names a zone, a node's four children lie within the entries, and
// no walk can loop (children always lie after their node).
std::variant<TimeZoneMap, EarthDataError> readTimeZoneMap(std::string_view bytes);

// Whether a zone of the map is a legal time on land rather than the nautical time of the open
// sea (the "Etc/" zones).
bool isLegalZone(std::string_view zone);

} // namespace gyrena
