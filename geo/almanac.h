#pragma once

// The navigator's almanac at every row of a voyage's plan: the magnetic variation and the
// course to steer by compass, the light and the Sun's rising and setting, the zone time at sea
// and the legal local time at each place. A pure function of the plan, the present moment (for
// a plan without times) and the Earth's data, which come in through AlmanacEarth.

#include "geo/latlon.h"
#include "geo/magnetic.h"
#include "geo/sun.h"
#include "geo/voyage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena {

// Where the almanac finds what it cannot compute: the magnetic model, the legal time zone of a
// place and that zone's offset from UTC. io/earth/earth.h gives the program's own.
class AlmanacEarth
{
public:
    virtual ~AlmanacEarth() = default;
    // The magnetic model, or nullptr when there is none.
    virtual const MagneticModel* magneticModel() const = 0;
    // The IANA name of the legal time zone at `position` ("Europe/Lisbon"); nothing at sea.
    virtual std::optional<std::string> legalZone(LatLon position) const = 0;
    // The zone's offset from UTC at the UTC minute `utcMinute`, minutes east of Greenwich
    // (Lisbon in summer +60); nothing for a zone unknown to the system's time-zone data.
    virtual std::optional<int> utcOffset(const std::string& zone, std::int64_t utcMinute) const = 0;
};

// The zone description of a longitude (degrees, any finite value): the nautical time zone's
// number of hours, -12..12, that is added to the zone time to give UTC. West of Greenwich it is
// positive (75 W: +5, zone time = UTC - 5 h), east negative; 172.5 E to 180 is -12, 180 to
// 172.5 W +12, and a longitude on a zone's edge (7.5, 22.5...) belongs to the zone farther from
// Greenwich.
int zoneDescription(double longitude);

// "+5", "-10" (with a minus sign U+2212 when `typographic`), "0".
std::string zoneDescriptionText(int zoneDescription, bool typographic = false);

struct AlmanacRow
{
    // The variation at the row's position on the date of its ETA (or of the present moment in a
    // plan without times), degrees east positive; nothing outside the model's years.
    std::optional<double> variation;
    // The course to steer by compass (free of deviation): the row's course to the next row less
    // the variation, degrees 0..360; nothing on the last row or without a variation.
    std::optional<double> magneticCourse;
    // With an ETA only: the light at the ETA, and sunrise and sunset on the ETA's UTC day.
    std::optional<Light> light;
    std::optional<SunDay> sun;
    int zoneDescription = 0; // of the row's longitude, see zoneDescription()
    // A place's legal time zone (IANA name), empty for a waypoint and for a place at sea; with an
    // ETA and a zone the system knows, its offset from UTC then, minutes east positive.
    std::string timeZone;
    std::optional<int> utcOffset;
};

struct Almanac
{
    std::vector<AlmanacRow> rows; // one per row of the plan, in order
    // Why rows have no variation ("" when every row has one): the model's years or its absence.
    std::string magneticNote;
};

// The almanac of `plan` (rows without a plan give none). `nowMinute` (UTC minute) dates the
// variation of a plan without times.
Almanac almanacFor(const VoyagePlan& plan, std::int64_t nowMinute, const AlmanacEarth& earth);

// The words of a light for files and standard output: "day", "civil-twilight",
// "nautical-twilight", "astronomical-twilight", "night".
std::string_view lightKey(Light light);

// A variation as a navigator writes it, to a tenth of a degree: "4.2°W", "12.0°E", "0.0°".
std::string variationText(double degrees, std::string_view decimalSeparator = ".");

// Sunrise and sunset of a day for files and standard output: "sunrise 2026-06-01T05:12Z, sunset
// 2026-06-01T20:03Z", "no sunrise, sunset ...", "Sun up all day (polar day)", "Sun below the
// horizon all day (polar night)".
std::string sunDayText(const SunDay& day);

// How the window shows a row's times: in UTC, in the zone time of the row's longitude, or in
// local time (a place's legal time where it has one, zone time elsewhere).
enum class TimeKeeping { Utc, Zone, Local };

// The offset from UTC in which `row`'s times are shown under `keeping`, minutes east positive.
int shownOffset(const AlmanacRow& row, TimeKeeping keeping);

// The words of a light for the window: "Day", "Civil twilight", "Nautical twilight",
// "Astronomical twilight", "Night".
std::string_view lightName(Light light);

// The minute's zone time as "YYYY-MM-DDTHH:MM" followed by its offset "-05:00" (the zone
// description with the opposite sign), or a local time with `offsetMinutes` east of UTC.
std::string offsetTimeText(std::int64_t utcMinute, int offsetMinutes);

} // namespace gyrena
