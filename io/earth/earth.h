#pragma once

// The Earth's data the program carries and finds: the World Magnetic Model 2025 and the
// time-zone map compiled in (assets/magnetic, assets/timezones), each read and checked on first
// use only, never at start-up; and the system's time-zone rules (tzdata in /usr/share/zoneinfo,
// through the date library), each zone read the first time it is asked for. Safe from any thread.

#include "geo/almanac.h"
#include "io/earth/magneticmodel.h"
#include "io/earth/timezones.h"
#include "io/earth/zonerule.h"

#include <string_view>

namespace gyrena {

// nullptr only if the compiled-in asset is broken (a broken build).
const MagneticModel* builtInMagneticModel();
const TimeZoneMap* builtInTimeZoneMap();

// The assets' bytes as compiled in, unread (for benchmarks and checks of the readers).
std::string_view builtInMagneticMetadata();
std::string_view builtInMagneticCoefficients();
std::string_view builtInTimeZoneBytes();

// Whether either asset has been read yet in this process.
bool builtInEarthDataRead();

// The offset of `zone` from UTC at `utcMinute`, minutes east positive, from the system's
// tzdata: the zone's transitions as the date library reads them and, after the last, the POSIX
// rule at the end of its file. Nothing for a name that is not a zone of the system's data.
std::optional<int> systemUtcOffset(const std::string& zone, std::int64_t utcMinute);

// The program's Earth: the two assets and the system's tzdata; legalZone() gives the map's zone
// at a position unless it is one of the sea's "Etc/" zones.
const AlmanacEarth& programEarth();

} // namespace gyrena
