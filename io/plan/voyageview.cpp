#include "io/plan/voyageview.h"

#include "geo/numberformat.h"
#include "geo/routeview.h"
#include "geo/utctime.h"

#include <algorithm>
#include <cmath>

namespace gyrena {

namespace {

std::string joinedNames(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return out;
}

std::string summaryOf(const VoyageView& view, const Voyage& voyage,
                      const VoyageViewOptions& options)
{
    const VoyagePlan& plan = view.plan;
    if (!plan.hasPlan)
        return "No route: " + plan.problem;
    const auto nm = [&](double value) {
        return formatDecimals(value, 1, options.decimalSeparator) + " nm";
    };
    // The distance steered, as the table's legs add up, and the great circle beside it.
    std::string summary = view.twoPlaceGreatCircle
                              ? routeSummary(view.route, options.decimalSeparator) + "; steered " +
                                    nm(plan.distance) + " on rhumb legs"
                              : "Voyage of " + std::to_string(voyage.places.size()) + " places, " +
                                    nm(plan.distance) + " steered, " + nm(plan.greatCircleNm) +
                                    " by great circles";
    // The legs by sea: the passages taken, and on a voyage not wholly by sea how far its legs by
    // sea run against the great circles between the same places.
    double bySea = 0.0, direct = 0.0;
    std::size_t legsBySea = 0;
    std::vector<std::string> passages;
    bool narrowed = false;
    for (const PlannedLeg& leg : plan.legs) {
        if (leg.sailing != Sailing::BySea)
            continue;
        ++legsBySea;
        bySea += leg.distance;
        direct += leg.greatCircleNm;
        narrowed = narrowed || leg.narrowed;
        for (const std::string& passage : leg.passages)
            if (std::find(passages.begin(), passages.end(), passage) == passages.end())
                passages.push_back(passage);
    }
    if (legsBySea > 0) {
        summary += legsBySea == plan.legs.size()
                       ? "; by sea"
                       : "; legs by sea " + nm(bySea) + " (great circle " + nm(direct) + "),";
        summary += passages.empty() ? std::string(" through no named passage")
                                    : " through " + joinedNames(passages);
        if (narrowed)
            summary += ", nearer the coast than " + nm(voyage.sea.clearanceNm) + " near a place";
    }
    if (plan.minutesUnderWay)
        summary += "; under way " + durationText(*plan.minutesUnderWay);
    if (plan.rows.back().eta)
        summary += ", arriving " + utcMinuteText(*plan.rows.back().eta);
    if (!plan.timeProblem.empty())
        summary += "; no times: " + plan.timeProblem;
    // A route that crosses no other meridian is spaced by distance instead.
    if (view.twoPlaceGreatCircle && voyage.spacing.spacing == PlanOptions::Spacing::Meridians &&
        view.route.spacing == PlanOptions::Spacing::Distance)
        summary += "; waypoints every " + std::to_string(std::llround(view.route.spacingValue)) +
                   " nm, as the route runs along a meridian";
    // Why rows have no variation, a sentence of its own (without its full stop, as the rest).
    const std::string& note = view.almanac.magneticNote;
    if (!note.empty())
        summary += ". " + note.substr(0, note.size() - 1);
    return summary;
}

std::string descriptionOf(const VoyageView& view, const Voyage& voyage)
{
    if (!view.plan.hasPlan)
        return view.summary; // why there is no route, as the summary says it
    if (view.twoPlaceGreatCircle)
        return routeDescription(view.route, view.startName, view.endName);
    const std::size_t between = voyage.places.size() > 2 ? voyage.places.size() - 2 : 0;
    // A voyage wholly by sea says so, and which passages it takes.
    bool wholly = true;
    std::vector<std::string> passages;
    for (const PlannedLeg& leg : view.plan.legs) {
        wholly = wholly && leg.sailing == Sailing::BySea;
        for (const std::string& passage : leg.passages)
            if (std::find(passages.begin(), passages.end(), passage) == passages.end())
                passages.push_back(passage);
    }
    std::string out = std::string(wholly ? "Voyage by sea" : "Voyage") + " from " + view.startName +
                      " to " + view.endName;
    if (between > 0)
        out += " by way of " + std::to_string(between) + (between == 1 ? " place" : " places");
    if (wholly && !passages.empty())
        out += " through " + joinedNames(passages);
    return out + ", " + std::to_string(std::llround(view.plan.distance)) + " nautical miles";
}

MapRoute mapOf(const VoyageView& view, const Voyage& voyage, const std::vector<std::string>& names)
{
    MapRoute map;
    map.startName = view.startName;
    map.endName = view.endName;
    const VoyagePlan& plan = view.plan;
    if (!plan.hasPlan)
        return map;
    map.start = plan.rows.front().position;
    map.end = plan.rows.back().position;
    map.greatCircle = sailedPath(plan);
    if (view.twoPlaceGreatCircle) {
        map.rhumbLine = rhumbLinePath(map.start, map.end);
        map.vertex = vertexOnRoute(view.route);
    }
    map.waypoints.reserve(plan.rows.size());
    for (const VoyageRow& row : plan.rows) {
        map.waypoints.push_back(row.position);
        if (row.isPlace && row.place > 0 && row.place + 1 < voyage.places.size())
            map.stops.push_back({row.position, names[row.place]});
        if (row.turningPoint)
            map.turns.push_back({row.position, row.name});
    }
    // Each leg's own track, as the great-circle chart centres on one leg.
    VoyagePlan part;
    part.hasPlan = true;
    map.legs.reserve(plan.legs.size());
    for (const PlannedLeg& leg : plan.legs) {
        part.rows.assign(plan.rows.begin() + std::ptrdiff_t(leg.firstRow),
                         plan.rows.begin() + std::ptrdiff_t(leg.lastRow) + 1);
        map.legs.push_back(sailedPath(part));
    }
    return map;
}

} // namespace

VoyageView viewVoyage(const Voyage& voyage, const VoyageViewOptions& options)
{
    VoyageView view;
    view.plan = planVoyage(voyage, options.sea);
    view.twoPlaceGreatCircle =
        voyage.places.size() == 2 &&
        (voyage.legs.empty() || voyage.legs.front().sailing == Sailing::GreatCircle);
    if (view.twoPlaceGreatCircle)
        view.route =
            planRoute(voyage.places[0].position, voyage.places[1].position, voyage.spacing);
    const std::vector<std::string> names = voyagePlaceNames(voyage, view.plan);
    if (options.earth)
        view.almanac = almanacFor(view.plan, options.nowMinute, *options.earth);
    view.magneticCourses = options.magneticCourses;
    view.timeKeeping = options.timeKeeping;
    view.startName = names.empty() ? std::string() : names.front();
    view.endName = names.empty() ? std::string() : names.back();
    if (options.land) {
        view.landChecked = true;
        view.land = landCrossings(view.plan, *options.land);
        for (const LegOverLand& leg : legsOverLand(view.land))
            view.landWarnings.push_back(
                legOverLandText(leg, view.land, names.at(leg.leg), names.at(leg.leg + 1),
                                options.decimalSeparator, options.groupSeparator));
        view.rowsOverLand = rowsOverLand(view.land, view.plan.rows.size());
    }
    view.summary = summaryOf(view, voyage, options);
    view.description = descriptionOf(view, voyage);
    // Every view says the same of the land: the summary and the description end with it.
    for (const std::string& warning : view.landWarnings) {
        view.summary += "\n" + warning;
        view.description += ". " + warning;
    }
    view.map = mapOf(view, voyage, names);
    for (const LandCrossing& crossing : view.land)
        view.map.overLand.push_back(crossing.path);
    view.passage = passagePlanFromVoyage(voyage, view.plan);
    return view;
}

} // namespace gyrena
