#include "io/plan/passageplan.h"

#include "geo/routeview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gyrena {

std::vector<std::string> routePointNames(std::size_t count, const std::string& startName,
                                         const std::string& endName)
{
    const int width = count > 99 ? static_cast<int>(std::to_string(count).size()) : 2;
    std::vector<std::string> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, "WP%0*zu", width, i + 1);
        out.emplace_back(text);
    }
    if (count >= 2) {
        if (!startName.empty())
            out.front() = startName;
        if (!endName.empty())
            out.back() = endName;
    }
    return out;
}

std::string routeName(const std::vector<std::string>& placeNames)
{
    std::string out;
    for (std::size_t i = 0; i < placeNames.size(); ++i)
        out += (i == 0 ? "" : " \u2013 ") + placeNames[i];
    return out;
}

std::vector<std::string> voyagePlaceNames(const Voyage& voyage, const VoyagePlan& plan)
{
    std::vector<std::string> out;
    if (plan.hasPlan) {
        const std::vector<std::string> numbers = routePointNames(plan.rows.size(), "", "");
        for (std::size_t i = 0; i < plan.rows.size(); ++i)
            if (plan.rows[i].isPlace)
                out.push_back(plan.rows[i].name.empty() ? numbers[i] : plan.rows[i].name);
        return out;
    }
    const std::vector<std::string> numbers = routePointNames(voyage.places.size(), "", "");
    for (std::size_t i = 0; i < voyage.places.size(); ++i)
        out.push_back(voyage.places[i].name.empty() ? numbers[i] : voyage.places[i].name);
    return out;
}

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
    out.name = routeName({names.front(), names.back()});
    double steered = 0.0;
    for (const RhumbLeg& leg : plan.legs)
        out.totalNm += leg.distance;
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
        row.fromStartNm = steered;
        row.toGoNm = std::max(0.0, out.totalNm - steered);
        steered += row.legNm.value_or(0.0);
        out.rows.push_back(std::move(row));
    }
    return out;
}

PassagePlan passagePlanFromVoyage(const Voyage& voyage, const VoyagePlan& plan)
{
    PassagePlan out;
    if (!plan.hasPlan || plan.rows.size() < 2)
        return out;
    const std::vector<std::string> numbers = routePointNames(plan.rows.size(), "", "");
    out.totalNm = plan.distance;
    if (plan.minutesUnderWay)
        out.departure = voyage.departure;
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const VoyageRow& row = plan.rows[i];
        PlanRow exported;
        // A turning point by sea goes by its passage's name where it has one.
        exported.name =
            (row.isPlace || row.turningPoint) && !row.name.empty() ? row.name : numbers[i];
        exported.position = row.position;
        exported.isPlace = row.isPlace;
        exported.course = row.courseToNext;
        exported.legNm = row.legNm;
        exported.fromStartNm = row.fromStartNm;
        exported.toGoNm = row.toGoNm;
        if (out.departure)
            exported.eta = row.eta;
        out.rows.push_back(std::move(exported));
    }
    out.name = routeName(out.placeNames());
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

} // namespace gyrena
