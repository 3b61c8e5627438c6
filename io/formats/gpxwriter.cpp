#include "io/formats/gpxwriter.h"

#include "io/files/plainnumber.h"
#include "io/files/xmldocument.h"
#include "io/files/xmltext.h"
#include "io/formats/gpxdocument.h"

namespace gyrena {

std::string gpxText(std::string_view text)
{
    std::string out = xmlCharacters(text);
    std::size_t at = 0;
    while ((at = out.find('\r', at)) != std::string::npos) {
        if (at + 1 < out.size() && out[at + 1] == '\n')
            out.erase(at, 1);
        else
            out[at] = '\n';
    }
    return out;
}

GpxRouteDocument::GpxRouteDocument(std::string_view routeName, std::string_view extensionPrefix,
                                   std::string_view extensionUri)
{
    pugi::xml_node gpx = m_document.append_child("gpx");
    gpx.append_attribute("version").set_value("1.1");
    gpx.append_attribute("creator").set_value("Gyrena");
    gpx.append_attribute("xmlns").set_value(std::string(kGpxNamespace).c_str());
    gpx.append_attribute("xmlns:xsi").set_value("http://www.w3.org/2001/XMLSchema-instance");
    gpx.append_attribute("xsi:schemaLocation")
        .set_value("http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd");
    if (!extensionPrefix.empty())
        gpx.append_attribute(("xmlns:" + std::string(extensionPrefix)).c_str())
            .set_value(std::string(extensionUri).c_str());
    m_route = gpx.append_child("rte");
    if (!routeName.empty())
        m_route.append_child("name").text().set(gpxText(routeName).c_str());
}

pugi::xml_node GpxRouteDocument::routeExtensions()
{
    pugi::xml_node extensions = m_route.child("extensions");
    return extensions ? extensions : m_route.append_child("extensions");
}

pugi::xml_node GpxRouteDocument::appendPoint(LatLon position, std::string_view name, Digits digits)
{
    pugi::xml_node point = m_route.append_child("rtept");
    const bool exact = digits == Digits::Exact;
    const double longitude = position.longitude >= -180.0 && position.longitude < 180.0
                                 ? position.longitude
                                 : wrappedLongitude(position.longitude);
    point.append_attribute("lat").set_value(
        (exact ? formatShortest(position.latitude) : formatFixed(position.latitude, 9)).c_str());
    point.append_attribute("lon").set_value(
        (exact ? formatShortest(longitude) : formatLongitude(longitude, 9)).c_str());
    if (!name.empty())
        point.append_child("name").text().set(gpxText(name).c_str());
    return point;
}

pugi::xml_node GpxRouteDocument::pointExtensions(pugi::xml_node point)
{
    pugi::xml_node extensions = point.child("extensions");
    return extensions ? extensions : point.append_child("extensions");
}

std::string GpxRouteDocument::bytes() const
{
    return xmlDocumentBytes(m_document);
}

std::string writeGpxRoute(const PassagePlan& plan)
{
    GpxRouteDocument document(plan.name);
    for (const PlanRow& row : plan.rows)
        document.appendPoint(row.position, row.name, GpxRouteDocument::Digits::Nine);
    return document.bytes();
}

} // namespace gyrena
