#include "io/formats/voyagegpx.h"

#include "geo/utctime.h"
#include "io/files/plainnumber.h"
#include "io/files/xmldocument.h"
#include "io/formats/gpxdocument.h"
#include "io/formats/gpxwriter.h"
#include "io/plan/passageplan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace gyrena {

namespace {

// GPX 1.0 files hold routes the same way; they are read as routes too.
constexpr std::string_view kGpx10Namespace = "http://www.topografix.com/GPX/1/0";

struct SailingName
{
    Sailing sailing;
    std::string_view name;
};
constexpr SailingName kSailingNames[] = {
    {Sailing::GreatCircle, "great-circle"},
    {Sailing::RhumbLine, "rhumb-line"},
    {Sailing::Composite, "composite"},
    {Sailing::BySea, "by-sea"},
};
// Passages a file may ask to avoid, and the longest key: far beyond the known passages, so a
// damaged file cannot make a voyage cost.
constexpr std::size_t kMaxAvoided = 64;
constexpr std::size_t kMaxPassageKey = 40;

std::string_view sailingName(Sailing sailing)
{
    for (const SailingName& entry : kSailingNames)
        if (entry.sailing == sailing)
            return entry.name;
    return kSailingNames[0].name;
}

void setNumber(pugi::xml_node node, const char* attribute, double value)
{
    node.append_attribute(attribute).set_value(formatShortest(value).c_str());
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
    // The points to write: the plan's rows, or the places alone.
    struct Point
    {
        LatLon position;
        bool isPlace;
        std::size_t place;
        std::string name; // a turning point's passage
    };
    std::vector<Point> points;
    if (plan.hasPlan) {
        for (const VoyageRow& row : plan.rows)
            points.push_back({row.position, row.isPlace, row.place,
                              row.turningPoint ? row.name : std::string()});
    } else {
        for (std::size_t i = 0; i < voyage.places.size(); ++i)
            points.push_back({voyage.places[i].position, true, i, {}});
    }
    const std::vector<std::string> numbered = routePointNames(points.size(), {}, {});
    GpxRouteDocument document(routeName(voyagePlaceNames(voyage, plan)), "gyrena",
                              kVoyageNamespace);
    pugi::xml_node settings = document.routeExtensions().append_child("gyrena:voyage");
    setNumber(settings, "speed", voyage.speed);
    if (voyage.departure)
        settings.append_attribute("departure").set_value(xmlDateTime(*voyage.departure).c_str());
    const bool byDistance = voyage.spacing.spacing == PlanOptions::Spacing::Distance;
    settings.append_attribute("spacing").set_value(byDistance ? "distance" : "meridians");
    settings.append_attribute("every-degrees").set_value(voyage.spacing.everyDegrees);
    setNumber(settings, "every-nm", voyage.spacing.everyNm);
    // How legs by sea are routed, when it is not as by default (files of voyages without them
    // stay as they were).
    if (voyage.sea != SeaRouteOptions{}) {
        setNumber(settings, "sea-clearance", voyage.sea.clearanceNm);
        setNumber(settings, "sea-limit", voyage.sea.limitLatitude);
        std::string avoid;
        for (const std::string& key : voyage.sea.avoid)
            avoid += (avoid.empty() ? "" : " ") + key;
        if (!avoid.empty())
            settings.append_attribute("sea-avoid").set_value(avoid.c_str());
    }

    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& point = points[i];
        // A place is written in full, so that it reads back the same; a computed waypoint is
        // planned afresh when the file is read, and written as exported files hold it.
        if (!point.isPlace) {
            document.appendPoint(point.position, point.name.empty() ? numbered[i] : point.name,
                                 GpxRouteDocument::Digits::Nine);
            continue;
        }
        const pugi::xml_node rtept = document.appendPoint(
            point.position, voyage.places[point.place].name, GpxRouteDocument::Digits::Exact);
        pugi::xml_node place =
            GpxRouteDocument::pointExtensions(rtept).append_child("gyrena:place");
        if (point.place + 1 < voyage.places.size())
            appendLeg(place,
                      point.place < voyage.legs.size() ? voyage.legs[point.place] : VoyageLeg{});
    }
    return document.bytes();
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

// All the text of an element, however its characters are split into text, CDATA sections and
// comments.
std::string textOf(pugi::xml_node element)
{
    std::string out;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out += child.value();
    return out;
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
                        "composite, by-sea",
                    place};
}

// Gyrena's settings of the voyage, from <gyrena:voyage>.
void readSettings(pugi::xml_node settings, Voyage& voyage)
{
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
        throw ReadError{
            "spacing \"" + std::string(spacing) + "\" is neither meridians nor distance", settings};
    voyage.spacing.spacing =
        spacing == "distance" ? PlanOptions::Spacing::Distance : PlanOptions::Spacing::Meridians;
    voyage.spacing.everyDegrees =
        static_cast<int>(numberAttribute(settings, "every-degrees", 1, 90));
    voyage.spacing.everyNm = numberAttribute(settings, "every-nm", kMinimumSpacingNm, 1e5);
    const SeaRouteOptions defaults;
    voyage.sea.clearanceNm =
        numberAttribute(settings, "sea-clearance", 0, kMaximumSeaClearanceNm, defaults.clearanceNm);
    voyage.sea.limitLatitude = numberAttribute(settings, "sea-limit", kMinimumLimit, kMaximumLimit,
                                               defaults.limitLatitude);
    // Keys as --avoid names passages: small letters, digits and hyphens, between blanks.
    const std::string_view avoid = settings.attribute("sea-avoid").value();
    std::size_t at = 0;
    while (at < avoid.size()) {
        const std::size_t end = std::min(avoid.find(' ', at), avoid.size());
        const std::string_view key = avoid.substr(at, end - at);
        at = end + 1;
        if (key.empty())
            continue;
        const bool wellFormed =
            key.size() <= kMaxPassageKey && std::all_of(key.begin(), key.end(), [](char c) {
                return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
            });
        if (!wellFormed)
            throw ReadError{"sea-avoid names a passage \"" + std::string(key.substr(0, 60)) +
                                "\" that is not a key of small letters, digits and hyphens",
                            settings};
        if (voyage.sea.avoid.size() == kMaxAvoided)
            throw ReadError{
                "sea-avoid names more than " + std::to_string(kMaxAvoided) + " passages", settings};
        if (std::find(voyage.sea.avoid.begin(), voyage.sea.avoid.end(), key) ==
            voyage.sea.avoid.end())
            voyage.sea.avoid.emplace_back(key);
    }
}

Voyage readVoyage(const pugi::xml_document& doc)
{
    const pugi::xml_node gpx = doc.document_element();
    if (!gpx || localName(gpx.name()) != "gpx")
        throw ReadError{"the document is not GPX (its root is not <gpx>)", gpx};
    const std::string_view gpxNs = namespaceOf(gpx);
    if (gpxNs != kGpxNamespace && gpxNs != kGpx10Namespace)
        throw ReadError{"the document is not GPX: its <gpx> is in the namespace \"" +
                            std::string(gpxNs) + "\", not in GPX's " + std::string(kGpxNamespace),
                        gpx};
    const pugi::xml_node rte = childOf(gpx, "rte", gpxNs);
    if (!rte)
        throw ReadError{"the file holds no route (<rte>)", gpx};

    Voyage voyage;
    if (const pugi::xml_node settings = ownExtension(rte, gpxNs, "voyage"))
        readSettings(settings, voyage);
    // Gyrena's file marks its places; then the other points are waypoints it computed, planned
    // afresh. A route without marks is a route of places.
    bool marked = false;
    for (pugi::xml_node rtept : rte.children())
        if (isElement(rtept, "rtept", gpxNs) && ownExtension(rtept, gpxNs, "place")) {
            marked = true;
            break;
        }

    std::size_t points = 0;
    for (pugi::xml_node rtept : rte.children()) {
        if (!isElement(rtept, "rtept", gpxNs))
            continue;
        if (++points > kMaxVoyageRoutePoints)
            throw ReadError{"the route has more than " + std::to_string(kMaxVoyageRoutePoints) +
                                " points",
                            rtept};
        const pugi::xml_node place = ownExtension(rtept, gpxNs, "place");
        if (marked && !place)
            continue;
        if (voyage.places.size() == kMaxVoyagePlaces)
            throw ReadError{
                "the route has more than " + std::to_string(kMaxVoyagePlaces) + " places", rtept};
        VoyagePlace out;
        out.position.latitude = numberAttribute(rtept, "lat", -90, 90);
        out.position.longitude = numberAttribute(rtept, "lon", -180, 180);
        out.name = gpxText(textOf(childOf(rtept, "name", gpxNs)));
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

} // namespace

std::variant<Voyage, FileError> readVoyageGpx(std::string_view bytes)
{
    if (bytes.size() > kVoyageFileLimit.bytes) {
        FileError error;
        error.what = kVoyageFileLimit.tooLarge;
        return error;
    }
    XmlInput input;
    if (std::optional<FileError> error = input.parse(bytes))
        return std::move(*error);
    try {
        return readVoyage(input.document());
    } catch (const ReadError& error) {
        FileError out;
        out.what = error.what;
        out.line = input.lineOf(error.where);
        return out;
    }
}

} // namespace gyrena
