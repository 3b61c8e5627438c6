#include "io/formats/kmlwriter.h"

#include "geo/positiontext.h"
#include "geo/utctime.h"
#include "io/files/plainnumber.h"
#include "io/files/xmldocument.h"
#include "io/files/xmltext.h"

namespace gyrena {

namespace {

constexpr int kDecimals = 9;

void appendCoordinate(std::string& out, LatLon position)
{
    out += formatLongitude(position.longitude, kDecimals);
    out += ',';
    out += formatFixed(position.latitude, kDecimals);
}

void appendText(pugi::xml_node parent, const char* name, const std::string& text)
{
    parent.append_child(name).text().set(xmlCharacters(text).c_str());
}

// What a pin says beyond its name: where it is, how far along, and when.
std::string pinDescription(const PlanRow& row)
{
    std::string text = positionText(row.position) + ", " + formatFixed(row.fromStartNm, 1) +
                       " nm from the start, " + formatFixed(row.toGoNm, 1) + " nm to go";
    if (row.eta)
        text += ", ETA " + utcMinuteText(*row.eta);
    return text;
}

} // namespace

std::string writeKmlRoute(const PassagePlan& plan)
{
    pugi::xml_document doc;
    pugi::xml_node kml = doc.append_child("kml");
    kml.append_attribute("xmlns") = "http://www.opengis.net/kml/2.2";
    pugi::xml_node document = kml.append_child("Document");
    const std::string name = plan.name.empty() ? std::string("Route") : plan.name;
    appendText(document, "name", name);

    // The route's colour on the map (aabbggrr) and the two kinds of pin.
    pugi::xml_node line = document.append_child("Style");
    line.append_attribute("id") = "route";
    pugi::xml_node lineStyle = line.append_child("LineStyle");
    appendText(lineStyle, "color", "ff2e1cb0");
    appendText(lineStyle, "width", "3");
    for (const char* id : {"place", "waypoint"}) {
        pugi::xml_node style = document.append_child("Style");
        style.append_attribute("id") = id;
        appendText(style.append_child("IconStyle"), "scale",
                   std::string_view(id) == "place" ? "1.1" : "0.7");
    }

    pugi::xml_node routeMark = document.append_child("Placemark");
    appendText(routeMark, "name", name);
    appendText(routeMark, "styleUrl", "#route");
    pugi::xml_node lineString = routeMark.append_child("LineString");
    appendText(lineString, "tessellate", "1");
    std::string coordinates;
    for (const LatLon& point : sailedTrack(plan, kKmlTrackSpacingNm)) {
        if (!coordinates.empty())
            coordinates += ' ';
        appendCoordinate(coordinates, point);
    }
    appendText(lineString, "coordinates", coordinates);

    pugi::xml_node pins = document.append_child("Folder");
    appendText(pins, "name", "Places and waypoints");
    for (const PlanRow& row : plan.rows) {
        pugi::xml_node pin = pins.append_child("Placemark");
        appendText(pin, "name", row.name);
        appendText(pin, "description", pinDescription(row));
        appendText(pin, "styleUrl", row.isPlace ? "#place" : "#waypoint");
        std::string where;
        appendCoordinate(where, row.position);
        appendText(pin.append_child("Point"), "coordinates", where);
    }

    return xmlDocumentBytes(doc);
}

} // namespace gyrena
