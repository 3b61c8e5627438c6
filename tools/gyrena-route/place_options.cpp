#include "place_options.h"

#include "geo/location.h"
#include "io/files/plainnumber.h"
#include "io/formats/locationfields.h"
#include "io/places/gazetteerasset.h"
#include "io/places/placesearch.h"

#include <iostream>
#include <string_view>

namespace gyrena::route {

const std::string_view kPlaceUsage =
    "       gyrena-route --find TEXT\n"
    "       gyrena-route --from TEXT --to TEXT [--boxes] [--plan ...] [--csv] [--gpx FILE]\n";

const std::string_view kPlaceHelp =
    "\n"
    "Places (from the built-in gazetteer: GeoNames' towns of 1,000 or more inhabitants, CC BY\n"
    "4.0, and OurAirports' medium and large airports, public domain):\n"
    "  --find TEXT  print the best 10 places for TEXT, one a line, tab-separated: name,\n"
    "            region, ISO country code, latitude and longitude in signed decimal degrees,\n"
    "            kind (town or airport) and population or IATA and ICAO codes. Case, accents\n"
    "            and punctuation do not matter; the start of a name is enough; an IATA or\n"
    "            ICAO code finds its airport; \"NAME, WHERE\" keeps the places of a country\n"
    "            (ISO code or name) or region. Exit status 1 when nothing matches\n"
    "  --from TEXT --to TEXT  compute the route between the first places found, in place of\n"
    "            the twelve texts (whole degrees and minutes, as the window fills them); the\n"
    "            places taken are said on standard error\n"
    "\n"
    "Example: gyrena-route --find \"portland, us\"\n"
    "         gyrena-route --plan --from funchal --to SYD\n";

namespace {

constexpr std::size_t kFindAnswers = 10;
constexpr int kDecimals = 5; // the gazetteer's own precision, about a metre

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

std::string kindText(const Gazetteer& gazetteer, std::size_t place)
{
    if (gazetteer.kind(place) == PlaceKind::Town)
        return "town\t" + std::to_string(gazetteer.population(place));
    std::string codes(gazetteer.iata(place));
    if (!codes.empty() && !gazetteer.icao(place).empty())
        codes += ' ';
    codes += gazetteer.icao(place);
    return "airport\t" + codes;
}

// The first answer for `text`, or none (said on standard error).
std::optional<std::size_t> firstAnswer(const Gazetteer& gazetteer, const std::string& option,
                                       const std::string& text)
{
    const std::vector<PlaceMatch> matches = findPlaces(gazetteer, text, 1);
    if (matches.empty()) {
        std::cerr << "gyrena-route: " << option << " \"" << text << "\": no place matches\n";
        return std::nullopt;
    }
    return matches.front().place;
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

bool routeFromPlaces(const PlaceRequest& request, std::array<std::string, 12>& texts,
                     std::array<std::string, 2>& names)
{
    const Gazetteer* gazetteer = gazetteerOrSayWhy();
    if (!gazetteer)
        return false;
    const std::optional<std::size_t> from = firstAnswer(*gazetteer, "--from", *request.from);
    const std::optional<std::size_t> to = firstAnswer(*gazetteer, "--to", *request.to);
    if (!from || !to)
        return false;
    const std::size_t perEnd = kCoordinateOrder.size();
    for (const auto& [end, place] : {std::pair<std::size_t, std::size_t>{0, *from}, {1, *to}}) {
        const LocationTexts location = placeLocationTexts(*gazetteer, place);
        names[end] = location.name;
        for (std::size_t i = 0; i < perEnd; ++i)
            texts[end * perEnd + i] = location[kCoordinateOrder[i]];
        std::cerr << (end == 0 ? "From: " : "To: ") << location.name << ", "
                  << gazetteer->countryName(place) << " (" << location.latitudeDegrees << ' '
                  << location.latitudeMinutes << ' ' << location.latitudeLetter << ' '
                  << location.longitudeDegrees << ' ' << location.longitudeMinutes << ' '
                  << location.longitudeLetter << ")\n";
    }
    return true;
}

} // namespace gyrena::route
