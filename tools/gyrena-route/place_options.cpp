#include "place_options.h"

#include "geo/landcheck.h"
#include "geo/location.h"
#include "geo/nearwater.h"
#include "io/earth/landasset.h"
#include "io/files/plainnumber.h"
#include "io/formats/locationfields.h"
#include "io/places/gazetteerasset.h"
#include "io/places/placesearch.h"

#include <cmath>
#include <iostream>
#include <numbers>
#include <string_view>

namespace gyrena::route {

const std::string_view kPlaceUsage =
    "       gyrena-route --find TEXT\n"
    "       gyrena-route --from TEXT --to TEXT [--boxes] [--plan ...] [--csv] [--gpx FILE]\n";

const std::string_view kPlaceHelp =
    "\n"
    "Places (from the built-in gazetteer: GeoNames' towns of 1,000 or more inhabitants, CC BY\n"
    "4.0, OurAirports' medium and large airports, public domain, and the seaports of npm\n"
    "sea-ports by marchah, MIT):\n"
    "  --find TEXT  print the best 10 places for TEXT, one a line, tab-separated: name,\n"
    "            region, ISO country code, latitude and longitude in signed decimal degrees,\n"
    "            kind (town, airport or port) and population, IATA and ICAO codes or\n"
    "            UN/LOCODE. Case, accents and punctuation do not matter; the start of a name\n"
    "            is enough; an IATA or ICAO code finds its airport, a UN/LOCODE its port;\n"
    "            \"NAME, WHERE\" keeps the places of a country (ISO code or name) or region.\n"
    "            Exit status 1 when nothing matches\n"
    "  --from TEXT --to TEXT  compute the route between the first places found, in place of\n"
    "            the twelve texts (whole degrees and minutes, as the window fills them); the\n"
    "            places taken are said on standard error. With --sea a town's name takes its\n"
    "            port, and a place the 1:10m land puts over 11 nm from water is taken at\n"
    "            its nearest water (within 30 nm)\n"
    "\n"
    "Example: gyrena-route --find \"portland, us\"\n"
    "         gyrena-route --plan --from funchal --to SYD\n"
    "         gyrena-route --sea --from NLRTM --to SGSIN\n";

namespace {

constexpr std::size_t kFindAnswers = 10;
constexpr int kDecimals = 5; // the gazetteer's own precision, about a metre
// The answers among which a town's port (or a port's town) is looked for, and how far from the
// town a port may lie (as tools/make-gazetteer.py checks a port against the towns of its name).
constexpr std::size_t kAnswers = 20;
constexpr double kPortReachKm = 25.0;
constexpr double kKmPerNm = 1.852;
// A place farther inland than this by the land model is taken at its nearest water by sea: the
// land check lets a leg begin over at most kApproachNm of land, less the slack of a place given
// in whole minutes.
constexpr double kInlandNm = kApproachNm - kPlaceSlackNm;

double distanceNm(LatLon a, LatLon b)
{
    const double degree = std::numbers::pi / 180.0;
    const double h = std::pow(std::sin((b.latitude - a.latitude) * degree / 2), 2) +
                     std::cos(a.latitude * degree) * std::cos(b.latitude * degree) *
                         std::pow(std::sin((b.longitude - a.longitude) * degree / 2), 2);
    return 2.0 * std::asin(std::min(1.0, std::sqrt(h))) / degree * 60.0;
}

const Gazetteer* gazetteerOrSayWhy()
{
    const auto& read = builtInGazetteer();
    if (const auto* error = std::get_if<GazetteerError>(&read)) {
        std::cerr << "gyrena-route: the built-in gazetteer cannot be read: " << error->what
                  << " (byte " << error->offset << ")\n";
        return nullptr;
    }
    return &std::get<Gazetteer>(read);
}

// Whether `text` is the place's UN/LOCODE, as findPlaces takes a code.
bool foundByCode(const Gazetteer& gazetteer, std::size_t place, const std::string& text)
{
    std::string code = gazetteer.fold(text);
    for (char& c : code)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return code == gazetteer.unlocode(place);
}

std::string kindText(const Gazetteer& gazetteer, std::size_t place)
{
    if (gazetteer.kind(place) == PlaceKind::Town)
        return "town\t" + std::to_string(gazetteer.population(place));
    if (gazetteer.kind(place) == PlaceKind::Port)
        return "port\t" + std::string(gazetteer.unlocode(place));
    std::string codes(gazetteer.iata(place));
    if (!codes.empty() && !gazetteer.icao(place).empty())
        codes += ' ';
    codes += gazetteer.icao(place);
    return "airport\t" + codes;
}

// The first answer for `text`, or none (said on standard error). By sea, a town or an airport
// gives way to a port that answers as well (an exact name for an exact name) in its country
// and near it: "Rotterdam" is the port of Rotterdam. Otherwise a port found by its name gives
// way to the first town or airport that answers at all, so that a name means what it meant
// before the ports ("new york" is New York City, not the port named New York); its UN/LOCODE
// still finds it.
std::optional<std::size_t> firstAnswer(const Gazetteer& gazetteer, const std::string& option,
                                       const std::string& text, bool bySea)
{
    const std::vector<PlaceMatch> matches = findPlaces(gazetteer, text, kAnswers);
    if (matches.empty()) {
        std::cerr << "gyrena-route: " << option << " \"" << text << "\": no place matches\n";
        return std::nullopt;
    }
    const PlaceMatch& first = matches.front();
    const bool firstIsPort = gazetteer.kind(first.place) == PlaceKind::Port;
    for (const PlaceMatch& match : matches) {
        const bool isPort = gazetteer.kind(match.place) == PlaceKind::Port;
        if (bySea && !firstIsPort && isPort && match.kind == first.kind &&
            gazetteer.country(match.place) == gazetteer.country(first.place) &&
            distanceNm(gazetteer.position(match.place), gazetteer.position(first.place)) *
                    kKmPerNm <=
                kPortReachKm)
            return match.place;
        if (!bySea && firstIsPort && !isPort && !foundByCode(gazetteer, first.place, text))
            return match.place;
    }
    return first.place;
}

// By sea: the place's texts, at its nearest water when the land model puts it farther inland
// than a leg may begin (said on standard error); at its own position when it is near enough to
// water, when no water lies within reach, or when the land cannot be read (the route will say
// so).
LocationTexts locationBySea(const Gazetteer& gazetteer, std::size_t place)
{
    const LatLon position = gazetteer.position(place);
    const auto& land = builtInLand();
    const auto* index = std::get_if<LandIndex>(&land);
    const std::optional<LatLon> water =
        index ? nearestWater(*index, position) : std::optional<LatLon>();
    if (!water || distanceNm(position, *water) <= kInlandNm)
        return placeLocationTexts(gazetteer, place);
    std::cerr << gazetteer.name(place) << ": the 1:10m land puts it "
              << formatFixed(distanceNm(position, *water), 1)
              << " nm from the water; by sea it is taken at its nearest water\n";
    return placeLocationTexts(gazetteer, place, *water);
}

} // namespace

OptionResult takePlaceOption(int argc, char** argv, int& i, PlaceRequest& request,
                             std::string& error)
{
    const std::string_view arg = argv[i];
    std::optional<std::string>* target = arg == "--find"   ? &request.find
                                         : arg == "--from" ? &request.from
                                         : arg == "--to"   ? &request.to
                                                           : nullptr;
    if (!target)
        return OptionResult::NotMine;
    if (i + 1 >= argc) {
        error = std::string(arg) + " needs a place's name or code";
        return OptionResult::Wrong;
    }
    *target = argv[++i];
    return OptionResult::Taken;
}

int runFind(const std::string& text)
{
    const Gazetteer* gazetteer = gazetteerOrSayWhy();
    if (!gazetteer)
        return 1;
    const std::vector<PlaceMatch> matches = findPlaces(*gazetteer, text, kFindAnswers);
    if (matches.empty()) {
        std::cerr << "gyrena-route: no place matches \"" << text << "\"\n";
        return 1;
    }
    for (const PlaceMatch& match : matches) {
        const LatLon position = gazetteer->position(match.place);
        std::cout << gazetteer->name(match.place) << '\t' << gazetteer->region(match.place) << '\t'
                  << gazetteer->countryCode(match.place) << '\t'
                  << formatFixed(position.latitude, kDecimals) << '\t'
                  << formatLongitude(position.longitude, kDecimals) << '\t'
                  << kindText(*gazetteer, match.place) << '\n';
    }
    return 0;
}

bool routeFromPlaces(const PlaceRequest& request, bool bySea, std::array<std::string, 12>& texts,
                     std::array<std::string, 2>& names)
{
    const Gazetteer* gazetteer = gazetteerOrSayWhy();
    if (!gazetteer)
        return false;
    const std::optional<std::size_t> from = firstAnswer(*gazetteer, "--from", *request.from, bySea);
    const std::optional<std::size_t> to = firstAnswer(*gazetteer, "--to", *request.to, bySea);
    if (!from || !to)
        return false;
    const std::size_t perEnd = kCoordinateOrder.size();
    for (const auto& [end, place] : {std::pair<std::size_t, std::size_t>{0, *from}, {1, *to}}) {
        const LocationTexts location =
            bySea ? locationBySea(*gazetteer, place) : placeLocationTexts(*gazetteer, place);
        names[end] = location.name;
        for (std::size_t i = 0; i < perEnd; ++i)
            texts[end * perEnd + i] = location[kCoordinateOrder[i]];
        const std::string_view code = gazetteer->unlocode(place);
        std::cerr << (end == 0 ? "From: " : "To: ") << location.name
                  << (code.empty() ? "" : " (" + std::string(code) + ")") << ", "
                  << gazetteer->countryName(place) << " (" << location.latitudeDegrees << ' '
                  << location.latitudeMinutes << ' ' << location.latitudeLetter << ' '
                  << location.longitudeDegrees << ' ' << location.longitudeMinutes << ' '
                  << location.longitudeLetter << ")\n";
    }
    return true;
}

} // namespace gyrena::route
