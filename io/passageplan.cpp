#include "io/passageplan.h"

#include "geo/routeview.h"
#include "io/gpxwriter.h"

#include <algorithm>
#include <cmath>

namespace gyrena {

std::vector<std::string> PassagePlan::placeNames() const
{
    std::vector<std::string> out;
    for (const PlanRow& row : rows)
        if (row.isPlace)
            out.push_back(row.name);
    return out;
}

PassagePlan passagePlanFromRoute(const RoutePlan& plan, const std::string& startName,
                                 const std::string& endName)
{
    PassagePlan out;
    if (!plan.hasRoute || plan.waypoints.size() < 2)
        return out;
    const std::vector<std::string> names =
        routePointNames(plan.waypoints.size(), startName, endName);
    out.name = names.front() + " to " + names.back();
    out.totalNm = plan.distance;
    for (std::size_t i = 0; i < plan.waypoints.size(); ++i) {
        const Waypoint& waypoint = plan.waypoints[i];
        PlanRow row;
        row.name = names[i];
        row.position = waypoint.position;
        row.isPlace = i == 0 || i + 1 == plan.waypoints.size();
        if (i < plan.legs.size()) {
            row.course = plan.legs[i].course;
            row.legNm = plan.legs[i].distance;
        }
        row.fromStartNm = waypoint.distance;
        row.toGoNm = std::max(0.0, plan.distance - waypoint.distance);
        out.rows.push_back(std::move(row));
    }
    return out;
}

std::vector<LatLon> sailedTrack(const PassagePlan& plan, double maxSpacingNm)
{
    std::vector<LatLon> out;
    if (plan.rows.size() < 2)
        return out;
    // rhumbLinePath keeps both the latitude and the longitude step below `step` degrees, so a
    // step is at most sqrt(2) * step * 60 nm long.
    const double step = std::max(maxSpacingNm, 1.0) / (kNauticalMilesPerDegree * std::sqrt(2.0));
    double shift = 0.0; // keeps the longitudes continuous from one leg to the next
    out.push_back(plan.rows.front().position);
    for (std::size_t i = 0; i + 1 < plan.rows.size(); ++i) {
        const std::vector<LatLon> leg =
            rhumbLinePath(plan.rows[i].position, plan.rows[i + 1].position, step);
        const double legShift = out.back().longitude - leg.front().longitude;
        shift = std::round(legShift / 360.0) * 360.0;
        for (std::size_t k = 1; k < leg.size(); ++k)
            out.push_back({leg[k].latitude, leg[k].longitude + shift});
    }
    return out;
}

std::string utcIsoText(std::int64_t seconds)
{
    // Days from the civil date (proleptic Gregorian), after H. Hinnant's chrono algorithms.
    constexpr std::int64_t kFirst = -62135596800; // 0001-01-01T00:00:00Z
    constexpr std::int64_t kLast = 253402300799;  // 9999-12-31T23:59:59Z
    seconds = std::clamp(seconds, kFirst, kLast);
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

    const auto digits = [](std::int64_t value, int width) {
        std::string text(static_cast<std::size_t>(width), '0');
        for (int i = width - 1; i >= 0 && value > 0; --i, value /= 10)
            text[static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
        return text;
    };
    return digits(year, 4) + '-' + digits(month, 2) + '-' + digits(day, 2) + 'T' +
           digits(rest / 3600, 2) + ':' + digits(rest / 60 % 60, 2) + ':' + digits(rest % 60, 2) +
           'Z';
}

} // namespace gyrena
