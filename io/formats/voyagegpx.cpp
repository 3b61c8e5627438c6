#include "io/formats/voyagegpx.h"

#include "geo/utctime.h"
#include "io/files/plainnumber.h"
#include "io/files/xmltext.h"
#include "io/formats/gpxwriter.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace gyrena {

namespace {

constexpr const char* kGpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr const char* kSchemaLocation =
    "http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd";

struct SailingName
{
    Sailing sailing;
    std::string_view name;
};
constexpr SailingName kSailingNames[] = {
    {Sailing::GreatCircle, "great-circle"},
    {Sailing::RhumbLine, "rhumb-line"},
    {Sailing::Composite, "composite"},
};

std::string_view sailingName(Sailing sailing)
{
    for (const SailingName& entry : kSailingNames)
        if (entry.sailing == sailing)
            return entry.name;
    return kSailingNames[0].name;
}

class StringWriter : public pugi::xml_writer
{
public:
    void write(const void* data, std::size_t size) override
    {
        m_out.append(static_cast<const char*>(data), size);
    }
    std::string m_out;
};

// A name as a file holds it: what XML can hold, with line feeds for carriage returns, which a
// reader would turn into line feeds anyway. The reader passes names through it too, so that
// whatever it reads it writes back the same.
std::string fileText(std::string_view text)
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

void setNumber(pugi::xml_node node, const char* attribute, double value)
{
    node.append_attribute(attribute).set_value(formatShortest(value).c_str());
}

// A longitude as written: as it is in [-180, 180), so that it reads back exactly; else wrapped.
double fileLongitude(double longitude)
{
    return longitude >= -180.0 && longitude < 180.0 ? longitude : wrappedLongitude(longitude);
}

void appendLeg(pugi::xml_node place, const VoyageLeg& leg)
{
    place.append_attribute("sailing").set_value(std::string(sailingName(leg.sailing)).c_str());
    setNumber(place, "limit", leg.limitLatitude);
    if (leg.speed)
        setNumber(place, "speed", *leg.speed);
}

} // namespace

std::string writeVoyageGpx(const Voyage& voyage, const VoyagePlan& plan)
{
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node gpx = doc.append_child("gpx");
    gpx.append_attribute("version").set_value("1.1");
    gpx.append_attribute("creator").set_value("Gyrena");
    gpx.append_attribute("xmlns").set_value(kGpxNamespace);
    gpx.append_attribute("xmlns:xsi").set_value("http://www.w3.org/2001/XMLSchema-instance");
    gpx.append_attribute("xsi:schemaLocation").set_value(kSchemaLocation);
    gpx.append_attribute("xmlns:gyrena").set_value(std::string(kVoyageNamespace).c_str());

    pugi::xml_node rte = gpx.append_child("rte");
    if (!voyage.places.empty()) {
        const std::string name = voyage.places.front().name + " to " + voyage.places.back().name;
        rte.append_child("name").text().set(fileText(name).c_str());
    }
    pugi::xml_node settings = rte.append_child("extensions").append_child("gyrena:voyage");
    setNumber(settings, "speed", voyage.speed);
    if (voyage.departure) {
        std::string departure = utcMinuteText(*voyage.departure);
        departure.insert(departure.size() - 1, ":00"); // xsd:dateTime has seconds
        settings.append_attribute("departure").set_value(departure.c_str());
    }
    const bool byDistance = voyage.spacing.spacing == PlanOptions::Spacing::Distance;
    settings.append_attribute("spacing").set_value(byDistance ? "distance" : "meridians");
    settings.append_attribute("every-degrees").set_value(voyage.spacing.everyDegrees);
    setNumber(settings, "every-nm", voyage.spacing.everyNm);

    // The rows to write: the plan's, or the places alone.
    struct Point
    {
        LatLon position;
        bool isPlace;
        std::size_t place;
    };
    std::vector<Point> points;
    if (plan.hasPlan) {
        for (const VoyageRow& row : plan.rows)
            points.push_back({row.position, row.isPlace, row.place});
    } else {
        for (std::size_t i = 0; i < voyage.places.size(); ++i)
            points.push_back({voyage.places[i].position, true, i});
    }
    const std::vector<std::string> numbered = routePointNames(points.size(), {}, {});
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& point = points[i];
        pugi::xml_node rtept = rte.append_child("rtept");
        setNumber(rtept, "lat", point.position.latitude);
        setNumber(rtept, "lon", fileLongitude(point.position.longitude));
        const std::string& name = point.isPlace ? voyage.places[point.place].name : numbered[i];
        if (!name.empty())
            rtept.append_child("name").text().set(fileText(name).c_str());
        if (!point.isPlace)
            continue;
        pugi::xml_node place = rtept.append_child("extensions").append_child("gyrena:place");
        if (point.place + 1 < voyage.places.size())
            appendLeg(place,
                      point.place < voyage.legs.size() ? voyage.legs[point.place] : VoyageLeg{});
    }
    StringWriter writer;
    doc.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return writer.m_out;
}

namespace {

// Why a read stops: the message and the node it is about.
struct ReadError
{
    std::string what;
    pugi::xml_node where;
};

std::string_view localName(const char* name)
{
    const std::string_view text(name);
    const std::size_t colon = text.find(':');
    return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

// The namespace URI of an element, from the xmlns attributes of it and its ancestors.
std::string_view namespaceOf(pugi::xml_node node)
{
    const std::string_view name(node.name());
    const std::size_t colon = name.find(':');
    const std::string attribute =
        colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
    for (pugi::xml_node n = node; n; n = n.parent()) {
        if (const pugi::xml_attribute a = n.attribute(attribute.c_str()))
            return a.value();
    }
    return {};
}

bool isElement(pugi::xml_node node, std::string_view local, std::string_view ns)
{
    return node.type() == pugi::node_element && localName(node.name()) == local &&
           namespaceOf(node) == ns;
}

// The first child element of `parent` called `local` in namespace `ns`.
pugi::xml_node childOf(pugi::xml_node parent, std::string_view local, std::string_view ns)
{
    for (pugi::xml_node child : parent.children())
        if (isElement(child, local, ns))
            return child;
    return {};
}

// Gyrena's element `local` inside the <extensions> of `parent`.
pugi::xml_node ownExtension(pugi::xml_node parent, std::string_view gpxNs, std::string_view local)
{
    return childOf(childOf(parent, "extensions", gpxNs), local, kVoyageNamespace);
}

std::optional<double> numberIn(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// The attribute `name` of `node` as a number in [low, high]; `fallback` when it is absent and a
// fallback is given.
double numberAttribute(pugi::xml_node node, const char* name, double low, double high,
                       std::optional<double> fallback = std::nullopt)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        if (fallback)
            return *fallback;
        throw ReadError{
            "<" + std::string(localName(node.name())) + "> has no " + name + " attribute", node};
    }
    const std::optional<double> value = numberIn(attribute.value());
    if (!value)
        throw ReadError{std::string(name) + " \"" + attribute.value() + "\" is not a number", node};
    if (*value < low || *value > high)
        throw ReadError{std::string(name) + " " + attribute.value() + " is outside " +
                            formatShortest(low) + ".." + formatShortest(high),
                        node};
    return *value;
}

Sailing sailingAttribute(pugi::xml_node place)
{
    const std::string_view text = place.attribute("sailing").value();
    if (text.empty())
        return Sailing::GreatCircle;
    for (const SailingName& entry : kSailingNames)
        if (entry.name == text)
            return entry.sailing;
    throw ReadError{"sailing \"" + std::string(text) +
                        "\" is none of great-circle, rhumb-line, "
                        "composite",
                    place};
}

Voyage readVoyage(const pugi::xml_document& doc)
{
    const pugi::xml_node gpx = doc.document_element();
    if (!gpx || localName(gpx.name()) != "gpx")
        throw ReadError{"the document is not GPX (its root is not <gpx>)", gpx};
    const std::string_view gpxNs = namespaceOf(gpx);
    const pugi::xml_node rte = childOf(gpx, "rte", gpxNs);
    if (!rte)
        throw ReadError{"the file holds no route (<rte>)", gpx};

    Voyage voyage;
    const pugi::xml_node settings = ownExtension(rte, gpxNs, "voyage");
    const bool own = static_cast<bool>(settings);
    if (own) {
        voyage.speed = numberAttribute(settings, "speed", kMinimumSpeed, kMaximumSpeed);
        if (const pugi::xml_attribute departure = settings.attribute("departure")) {
            voyage.departure = parseUtcMinute(departure.value());
            if (!voyage.departure)
                throw ReadError{"departure \"" + std::string(departure.value()) +
                                    "\" is not a UTC date and time (YYYY-MM-DDTHH:MM:SSZ)",
                                settings};
        }
        const std::string_view spacing = settings.attribute("spacing").value();
        if (spacing != "meridians" && spacing != "distance")
            throw ReadError{"spacing \"" + std::string(spacing) +
                                "\" is neither meridians nor "
                                "distance",
                            settings};
        voyage.spacing.spacing = spacing == "distance" ? PlanOptions::Spacing::Distance
                                                       : PlanOptions::Spacing::Meridians;
        voyage.spacing.everyDegrees =
            static_cast<int>(numberAttribute(settings, "every-degrees", 1, 90));
        voyage.spacing.everyNm = numberAttribute(settings, "every-nm", kMinimumSpacingNm, 1e5);
    }

    std::size_t points = 0;
    for (pugi::xml_node rtept : rte.children()) {
        if (!isElement(rtept, "rtept", gpxNs))
            continue;
        if (++points > kMaxVoyageRoutePoints)
            throw ReadError{"the route has more than " + std::to_string(kMaxVoyageRoutePoints) +
                                " points",
                            rtept};
        const pugi::xml_node place = own ? ownExtension(rtept, gpxNs, "place") : pugi::xml_node{};
        if (own && !place)
            continue; // a waypoint Gyrena computed: planned afresh
        if (voyage.places.size() == kMaxVoyagePlaces)
            throw ReadError{
                "the route has more than " + std::to_string(kMaxVoyagePlaces) + " places", rtept};
        VoyagePlace out;
        out.position.latitude = numberAttribute(rtept, "lat", -90, 90);
        out.position.longitude = numberAttribute(rtept, "lon", -180, 180);
        out.name = fileText(childOf(rtept, "name", gpxNs).child_value());
        voyage.places.push_back(std::move(out));
        VoyageLeg leg;
        if (place) {
            leg.sailing = sailingAttribute(place);
            leg.limitLatitude =
                numberAttribute(place, "limit", kMinimumLimit, kMaximumLimit, leg.limitLatitude);
            if (place.attribute("speed"))
                leg.speed = numberAttribute(place, "speed", kMinimumSpeed, kMaximumSpeed);
        }
        voyage.legs.push_back(leg);
    }
    if (voyage.places.size() < 2)
        throw ReadError{"the route holds fewer than two places", rte};
    voyage.legs.pop_back(); // the last place begins no leg
    return voyage;
}

// The 1-based line of byte `offset` of `bytes`.
int lineAt(std::string_view bytes, std::ptrdiff_t offset)
{
    const auto end = static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(bytes.size())));
    return 1 + static_cast<int>(std::count(bytes.begin(),
                                           bytes.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

FileError unreadable(std::string what, int line)
{
    FileError error;
    error.kind = FileError::Kind::Unreadable;
    error.what = std::move(what);
    error.line = line;
    return error;
}

// Stops at the first node beyond the depth or count limits.
class Bounds : public pugi::xml_tree_walker
{
public:
    bool for_each(pugi::xml_node& node) override
    {
        if (++m_nodes > kMaxXmlNodes)
            m_problem = "more than " + std::to_string(kMaxXmlNodes) + " XML nodes";
        else if (static_cast<std::size_t>(depth()) >= kMaxXmlDepth)
            m_problem = "elements nested deeper than " + std::to_string(kMaxXmlDepth);
        if (m_problem.empty())
            return true;
        m_where = node;
        return false;
    }
    std::size_t m_nodes = 0;
    std::string m_problem;
    pugi::xml_node m_where;
};

} // namespace

std::variant<Voyage, FileError> readVoyageGpx(std::string_view bytes)
{
    if (bytes.size() > kMaxVoyageFileBytes)
        return unreadable(
            "the file is larger than " + std::to_string(kMaxVoyageFileBytes >> 20) + " MB", 0);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        return unreadable(std::string("not well-formed XML: ") + parsed.description(),
                          lineAt(bytes, parsed.offset));
    Bounds bounds;
    doc.traverse(bounds);
    if (!bounds.m_problem.empty())
        return unreadable(bounds.m_problem, lineAt(bytes, bounds.m_where.offset_debug()));
    try {
        return readVoyage(doc);
    } catch (const ReadError& error) {
        return unreadable(error.what, error.where ? lineAt(bytes, error.where.offset_debug()) : 1);
    }
}

} // namespace gyrena
