#include "geo/almanac.h"

#include "geo/numberformat.h"
#include "geo/utctime.h"

#include <cmath>
#include <cstdlib>
#include <iterator>

namespace gyrena {

int zoneDescription(double longitude)
{
    double wrapped = std::remainder(longitude, 360.0); // -180..180
    if (!std::isfinite(wrapped))
        return 0;
    // Halves away from Greenwich: 7.5 E is zone -1, 7.5 W zone +1.
    const int zone = static_cast<int>(std::round(wrapped / 15.0));
    return -zone;
}

std::string zoneDescriptionText(int zoneDescription, bool typographic)
{
    if (zoneDescription == 0)
        return "0";
    const std::string sign = zoneDescription > 0 ? "+" : (typographic ? "\u2212" : "-");
    return sign + std::to_string(std::abs(zoneDescription));
}

namespace {

// Each light's key in files and its name in the window, in the order of Light.
struct LightWords
{
    std::string_view key;
    std::string_view name;
};
constexpr LightWords kLightWords[] = {
    {"day", "Day"},
    {"civil-twilight", "Civil twilight"},
    {"nautical-twilight", "Nautical twilight"},
    {"astronomical-twilight", "Astronomical twilight"},
    {"night", "Night"},
};
static_assert(std::size(kLightWords) == std::size_t(Light::Night) + 1);

const LightWords& wordsOf(Light light)
{
    const auto i = std::size_t(light);
    return kLightWords[i < std::size(kLightWords) ? i : std::size(kLightWords) - 1];
}

} // namespace

std::string_view lightKey(Light light)
{
    return wordsOf(light).key;
}

int shownOffset(const AlmanacRow& row, TimeKeeping keeping)
{
    if (keeping == TimeKeeping::Utc)
        return 0;
    if (keeping == TimeKeeping::Local && row.utcOffset)
        return *row.utcOffset;
    return -60 * row.zoneDescription;
}

std::string_view lightName(Light light)
{
    return wordsOf(light).name;
}

std::string variationText(double degrees, std::string_view decimalSeparator)
{
    const std::string size = formatDecimals(std::abs(degrees), 1, decimalSeparator);
    if (size == formatDecimals(0.0, 1, decimalSeparator))
        return size + "\u00b0";
    return size + (degrees < 0 ? "\u00b0W" : "\u00b0E");
}

std::string sunDayText(const SunDay& day)
{
    if (day.upAllDay)
        return "Sun up all day (polar day)";
    if (day.downAllDay)
        return "Sun below the horizon all day (polar night)";
    std::string text = day.sunrise ? "sunrise " + utcMinuteText(*day.sunrise) : "no sunrise";
    text += day.sunset ? ", sunset " + utcMinuteText(*day.sunset) : ", no sunset";
    return text;
}

std::string offsetTimeText(std::int64_t utcMinute, int offsetMinutes)
{
    std::string text = utcMinuteText(utcMinute + offsetMinutes);
    text.pop_back(); // the Z
    const int size = std::abs(offsetMinutes);
    const char digits[] = {offsetMinutes < 0 ? '-' : '+', char('0' + size / 600),
                           char('0' + size / 60 % 10),    ':',
                           char('0' + size % 60 / 10),    char('0' + size % 10)};
    return text + std::string(digits, sizeof digits);
}

Almanac almanacFor(const VoyagePlan& plan, std::int64_t nowMinute, const AlmanacEarth& earth)
{
    Almanac almanac;
    if (!plan.hasPlan)
        return almanac;
    const MagneticModel* model = earth.magneticModel();
    std::optional<int> yearOutside;
    almanac.rows.reserve(plan.rows.size());
    for (const VoyageRow& row : plan.rows) {
        AlmanacRow out;
        const std::int64_t when = row.eta.value_or(nowMinute);
        if (model) {
            const double year = decimalYear(when);
            out.variation = model->variation(row.position, year);
            if (!model->holdsFor(year) && !yearOutside)
                yearOutside = int(std::floor(year));
        }
        if (out.variation && row.courseToNext) {
            const double course = std::fmod(*row.courseToNext - *out.variation + 720.0, 360.0);
            out.magneticCourse = course >= 360.0 ? 0.0 : course;
        }
        if (row.eta) {
            out.light = lightAt(row.position, *row.eta);
            out.sun = sunDay(row.position, *row.eta);
        }
        out.zoneDescription = zoneDescription(row.position.longitude);
        if (row.isPlace) {
            if (auto zone = earth.legalZone(row.position)) {
                out.timeZone = std::move(*zone);
                if (row.eta)
                    out.utcOffset = earth.utcOffset(out.timeZone, *row.eta);
            }
        }
        almanac.rows.push_back(std::move(out));
    }
    if (!model) {
        almanac.magneticNote = "No magnetic variation: the magnetic model could not be read.";
    } else if (yearOutside) {
        const MagneticCoefficients& c = model->coefficients();
        almanac.magneticNote = "No magnetic variation in " + std::to_string(*yearOutside) +
                               ": the " + c.name + " holds from " +
                               std::to_string(int(c.firstYear)) + " to the end of " +
                               std::to_string(int(c.lastYear) - 1) + ".";
    }
    return almanac;
}

} // namespace gyrena
