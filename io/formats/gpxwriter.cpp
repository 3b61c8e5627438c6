#include "io/formats/gpxwriter.h"

#include "io/files/plainnumber.h"
#include "io/files/xmltext.h"

#include <cstdio>

namespace gyrena {

namespace {

void appendCoordinate(std::string& out, const char* attribute, const std::string& value)
{
    out += ' ';
    out += attribute;
    out += "=\"";
    out += value;
    out += '"';
}

} // namespace

std::string xmlEscaped(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const char c = text.front();
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        // References, so that attribute normalization cannot turn them into blanks.
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default: {
            const std::size_t length = xmlCharLength(text);
            if (length == 0) {
                out += kReplacement;
                text.remove_prefix(1);
                continue;
            }
            out += text.substr(0, length);
            text.remove_prefix(length);
            continue;
        }
        }
        text.remove_prefix(1);
    }
    return out;
}

std::string writeGpxRoute(std::string_view routeName, const std::vector<GpxPoint>& points)
{
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<gpx version=\"1.1\" creator=\"Gyrena\" "
                      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                      "  <rte>\n"
                      "    <name>";
    out += xmlEscaped(routeName);
    out += "</name>\n";
    for (const GpxPoint& point : points) {
        out += "    <rtept";
        appendCoordinate(out, "lat", formatFixed(point.position.latitude, 9));
        appendCoordinate(out, "lon", formatLongitude(point.position.longitude, 9));
        out += "><name>";
        out += xmlEscaped(point.name);
        out += "</name></rtept>\n";
    }
    out += "  </rte>\n</gpx>\n";
    return out;
}

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

} // namespace gyrena
