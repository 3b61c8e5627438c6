#include "io/formats/rtzwriter.h"

#include "io/files/plainnumber.h"
#include "io/files/xmldocument.h"
#include "io/files/xmltext.h"

#include <algorithm>

namespace gyrena {

namespace {

constexpr int kDecimals = 9;

void setText(pugi::xml_attribute attribute, const std::string& text)
{
    attribute.set_value(xmlCharacters(text).c_str());
}

} // namespace

std::string writeRtzRoute(const PassagePlan& plan)
{
    pugi::xml_document doc;
    pugi::xml_node route = doc.append_child("route");
    route.append_attribute("xmlns") = "http://www.cirm.org/RTZ/1/0";
    route.append_attribute("version") = "1.0";

    pugi::xml_node info = route.append_child("routeInfo");
    setText(info.append_attribute("routeName"), plan.name.empty() ? "Route" : plan.name);

    pugi::xml_node waypoints = route.append_child("waypoints");
    // Every leg is sailed on a constant course between the computed waypoints.
    waypoints.append_child("defaultWaypoint").append_child("leg").append_attribute("geometryType") =
        "Loxodrome";
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const PlanRow& row = plan.rows[i];
        pugi::xml_node waypoint = waypoints.append_child("waypoint");
        waypoint.append_attribute("id") = static_cast<unsigned long long>(i + 1);
        setText(waypoint.append_attribute("name"), row.name);
        pugi::xml_node position = waypoint.append_child("position");
        position.append_attribute("lat") = formatFixed(row.position.latitude, kDecimals).c_str();
        position.append_attribute("lon") =
            formatLongitude(row.position.longitude, kDecimals).c_str();
        // In RTZ a waypoint's leg is the one that arrives at it.
        if (i > 0)
            waypoint.append_child("leg").append_attribute("geometryType") = "Loxodrome";
    }

    // A schedule is whole or not written: every waypoint after the first has its ETA.
    const bool timed = plan.departure && std::all_of(plan.rows.begin() + 1, plan.rows.end(),
                                                     [](const PlanRow& row) { return row.eta; });
    if (timed) {
        pugi::xml_node schedule = route.append_child("schedules").append_child("schedule");
        schedule.append_attribute("id") = 1;
        schedule.append_attribute("name") = "Planned";
        pugi::xml_node calculated = schedule.append_child("calculated");
        for (std::size_t i = 0; i < plan.rows.size(); ++i) {
            const std::optional<std::int64_t> time = i == 0 ? plan.departure : plan.rows[i].eta;
            pugi::xml_node element = calculated.append_child("sheduleElement");
            element.append_attribute("waypointId") = static_cast<unsigned long long>(i + 1);
            element.append_attribute(i == 0 ? "etd" : "eta") = xmlDateTime(*time).c_str();
        }
    }

    return xmlDocumentBytes(doc);
}

} // namespace gyrena
