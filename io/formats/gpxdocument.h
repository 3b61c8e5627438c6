#pragma once

// The one GPX 1.1 writer: a document of one <rte>, built on pugixml. Export GPX of a route
// (io/formats/gpxwriter.h) and the voyage file (io/formats/voyagegpx.h) both write through it,
// so the two files differ only in what the voyage adds in <extensions>. For io/ only.

#include "geo/latlon.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace gyrena {

inline constexpr std::string_view kGpxNamespace = "http://www.topografix.com/GPX/1/1";

class GpxRouteDocument
{
public:
    // How a coordinate is written: with 9 decimals (0.1 mm), as every exported file holds
    // them, or Exact, in full so that it reads back as the same double (io/files/plainnumber.h).
    enum class Digits { Nine, Exact };

    // A document whose <gpx> declares, besides GPX's own, the namespace `extensionUri` under
    // `extensionPrefix` for <extensions> (none when empty), and whose <rte> is named
    // `routeName` (no <name> when empty). Names are UTF-8 with any bytes: what XML cannot hold
    // becomes U+FFFD and a carriage return a line feed (io/files/xmltext.h).
    GpxRouteDocument(std::string_view routeName, std::string_view extensionPrefix = {},
                     std::string_view extensionUri = {});

    // The route's <extensions>, made on the first call; call it before the first point.
    pugi::xml_node routeExtensions();

    // Appends a <rtept> at `position` (longitude taken into [-180, 180)) named `name` (no
    // <name> when empty) and returns it.
    pugi::xml_node appendPoint(LatLon position, std::string_view name, Digits digits);

    // The <extensions> of a point appendPoint returned, made on the first call.
    static pugi::xml_node pointExtensions(pugi::xml_node point);

    // The document's bytes (io/files/xmldocument.h).
    std::string bytes() const;

private:
    pugi::xml_document m_document;
    pugi::xml_node m_route;
};

} // namespace gyrena
