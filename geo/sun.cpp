#include "geo/sun.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace gyrena {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kSecondsPerDay = 86400.0;

// The Sun's declination and Greenwich hour angle, degrees, at `utcSeconds`.
struct SunPlace
{
    double declination = 0.0;
    double greenwichHourAngle = 0.0;
};

SunPlace sunPlace(double utcSeconds)
{
    const double daysSince2000 = utcSeconds / kSecondsPerDay - 10957.5; // from J2000.0
    const double t = daysSince2000 / 36525.0;                           // Julian centuries
    const double meanLongitude = 280.46646 + t * (36000.76983 + t * 0.0003032);
    const double meanAnomaly = (357.52911 + t * (35999.05029 - 0.0001537 * t)) * kDegree;
    const double centre = std::sin(meanAnomaly) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2 * meanAnomaly) * (0.019993 - 0.000101 * t) +
                          std::sin(3 * meanAnomaly) * 0.000289;
    const double node = (125.04 - 1934.136 * t) * kDegree;
    const double apparentLongitude =
        (meanLongitude + centre - 0.00569 - 0.00478 * std::sin(node)) * kDegree;
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = (meanObliquity + 0.00256 * std::cos(node)) * kDegree;
    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(apparentLongitude), std::cos(apparentLongitude)) /
        kDegree;
    const double declination =
        std::asin(std::sin(obliquity) * std::sin(apparentLongitude)) / kDegree;
    const double siderealTime =
        280.46061837 + 360.98564736629 * daysSince2000 + t * t * (0.000387933 - t / 38710000.0);
    return {declination, std::fmod(siderealTime - rightAscension, 360.0)};
}

double altitudeAbove(LatLon position, double utcSeconds, double threshold)
{
    return sunAltitude(position, utcSeconds) - threshold;
}

// The moment in [a, b] where the altitude crosses `threshold`, given that it lies on either side
// at the two ends: the Illinois variant of regula falsi, to within a second.
double crossing(LatLon position, double a, double b, double fa, double fb, double threshold)
{
    int side = 0;
    for (int i = 0; i < 60 && b - a > 1.0; ++i) {
        const double c = (a * fb - b * fa) / (fb - fa);
        const double fc = altitudeAbove(position, c, threshold);
        if ((fc > 0) == (fb > 0)) {
            b = c, fb = fc;
            if (side == -1)
                fa /= 2;
            side = -1;
        } else {
            a = c, fa = fc;
            if (side == 1)
                fb /= 2;
            side = 1;
        }
    }
    return (a + b) / 2;
}

} // namespace

double sunAltitude(LatLon position, double utcSeconds)
{
    const SunPlace sun = sunPlace(utcSeconds);
    const double hourAngle = (sun.greenwichHourAngle + position.longitude) * kDegree;
    const double latitude = position.latitude * kDegree;
    const double declination = sun.declination * kDegree;
    const double sine = std::sin(latitude) * std::sin(declination) +
                        std::cos(latitude) * std::cos(declination) * std::cos(hourAngle);
    return std::asin(std::clamp(sine, -1.0, 1.0)) / kDegree;
}

Light lightAt(LatLon position, std::int64_t utcMinute)
{
    const double altitude = sunAltitude(position, double(utcMinute) * 60.0);
    if (altitude > kSunriseAltitude)
        return Light::Day;
    if (altitude > -6.0)
        return Light::CivilTwilight;
    if (altitude > -12.0)
        return Light::NauticalTwilight;
    if (altitude > -18.0)
        return Light::AstronomicalTwilight;
    return Light::Night;
}

SunDay sunDay(LatLon position, std::int64_t utcMinute)
{
    const std::int64_t dayMinute = utcMinute - ((utcMinute % 1440) + 1440) % 1440;
    const double start = double(dayMinute) * 60.0;
    const double end = start + kSecondsPerDay;
    // The altitude rises from lower to upper transit and falls back: between the transits it is
    // monotonic, so each stretch holds at most one crossing. The hour angle turns by about 360
    // degrees a day, so the transits (hour angle 0 and 180) are found from the day's start.
    const double hourAngleAtStart =
        std::fmod(sunPlace(start).greenwichHourAngle + position.longitude + 720.0, 360.0);
    std::array<double, 6> bounds{};
    std::size_t count = 0;
    bounds[count++] = start;
    for (double target : {180.0, 360.0, 540.0}) {
        const double at = start + (target - hourAngleAtStart) / 360.0 * kSecondsPerDay;
        if (at > start && at < end)
            bounds[count++] = at;
    }
    bounds[count++] = end;

    SunDay day;
    const double fStart = altitudeAbove(position, bounds[0], kSunriseAltitude);
    double fPrevious = fStart;
    for (std::size_t i = 1; i < count; ++i) {
        const double f = altitudeAbove(position, bounds[i], kSunriseAltitude);
        if ((fPrevious > 0) != (f > 0)) {
            const double at =
                crossing(position, bounds[i - 1], bounds[i], fPrevious, f, kSunriseAltitude);
            const auto minute = static_cast<std::int64_t>(std::floor(at / 60.0 + 0.5));
            auto& event = f > 0 ? day.sunrise : day.sunset;
            if (!event && at < end)
                event = std::min(minute, dayMinute + 1439);
        }
        fPrevious = f;
    }
    if (!day.sunrise && !day.sunset) {
        day.upAllDay = fStart > 0;
        day.downAllDay = !day.upAllDay;
    }
    return day;
}

} // namespace gyrena
