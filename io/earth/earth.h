#pragma once

// The Earth's data the program carries and finds: the World Magnetic Model 2025 and the
// time-zone map compiled in (assets/magnetic, assets/timezones), each read and checked on first
// use only, never at start-up; and the system's time-zone rules (tzdata, /usr/share/zoneinfo or
// $TZDIR), each zone's file read the first time that zone is asked for. Safe from any thread.

#include "geo/almanac.h"
#include "io/earth/magneticmodel.h"
#include "io/earth/timezones.h"
#include "io/earth/tzif.h"

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
// tzdata; nothing for a name that is no zone file there or a file that cannot be read.
std::optional<int> systemUtcOffset(const std::string& zone, std::int64_t utcMinute);

// The program's Earth: the two assets and the system's tzdata; legalZone() gives the map's zone
// at a position unless it is one of the sea's "Etc/" zones.
const AlmanacEarth& programEarth();

} // namespace gyrena
