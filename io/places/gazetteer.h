#pragma once

#include "geo/latlon.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace gyrena {

class Gazetteer;

// The gazetteer asset (assets/places/gazetteer.bin, written by tools/make-gazetteer.py, whose
// header describes the layout): GeoNames' towns, OurAirports' airports and the seaports of npm
// sea-ports, sorted by their folded names, with the country names and the table that folds text
// for a search.
inline constexpr std::string_view kGazetteerMagic = "GYPL";
inline constexpr std::uint16_t kGazetteerVersion = 2;
// Far more than the world needs (about 140,000 places, 250 countries, 2,100 regions): a damaged
// count is refused before anything is allocated for it.
inline constexpr std::uint32_t kMaxGazetteerPlaces = 1u << 20;
inline constexpr std::uint32_t kMaxGazetteerText = 1u << 26;
inline constexpr std::uint32_t kMaxGazetteerAliases = 1u << 12;
inline constexpr std::uint32_t kMaxGazetteerFolds = 1u << 16;
inline constexpr std::uint32_t kMaxGazetteerWords = 1u << 22;
inline constexpr std::uint32_t kMaxGazetteerRegions = 0xffff; // 0xffff itself means "none"
inline constexpr std::uint32_t kMaxGazetteerCountries = 256;

// Why an asset could not be read, and at which byte.
struct GazetteerError
{
    std::string what;       // a short English phrase, e.g. "place 12 lies beyond 90 degrees"
    std::size_t offset = 0; // the byte where the problem lies
};

enum class PlaceKind : std::uint8_t { Town, MediumAirport, LargeAirport, Port };

// The world's towns, airports and seaports. Place indices run 0..placeCount()-1 in the order of
// their folded names; an index out of range is a programming error (checked by assert only).
class Gazetteer
{
public:
    std::size_t placeCount() const { return m_places.size(); }
    std::string_view name(std::size_t place) const // UTF-8, as the source spells it
    {
        return std::string_view(*m_bytes).substr(m_places[place].nameOffset,
                                                 m_places[place].nameLength);
    }
    std::string_view key(std::size_t place) const // the name folded (see fold)
    {
        return std::string_view(m_keys).substr(m_places[place].keyOffset,
                                               m_places[place].keyLength);
    }
    std::string_view region(std::size_t place) const;      // a state's code or name, or ""
    std::string_view countryCode(std::size_t place) const; // ISO 3166, two capitals
    std::string_view countryName(std::size_t place) const; // in English
    std::size_t country(std::size_t place) const { return m_places[place].country; }
    LatLon position(std::size_t place) const; // degrees, to 1e-5 degree
    PlaceKind kind(std::size_t place) const { return PlaceKind(m_places[place].kind); }
    // Inhabitants of a town (0 when GeoNames gives none, and for every airport and port).
    std::uint32_t population(std::size_t place) const { return m_places[place].population; }
    // What ranks places of one kind of match: a town's population; a large airport counts as a
    // town of 100,000, a port as one of 50,000, a medium airport as one of 10,000.
    std::uint32_t weight(std::size_t place) const;
    std::string_view iata(std::size_t place) const; // three capitals, or "" when none
    std::string_view icao(std::size_t place) const; // four capitals or digits, or ""
    // A port's UN/LOCODE: its country's ISO code and three capitals or digits 2-9 ("NLRTM");
    // "" for any other place.
    std::string_view unlocode(std::size_t place) const;

    std::size_t countryCount() const { return m_countries.size(); }
    std::string_view countryCodeAt(std::size_t country) const;
    // Every name of a country folded: its English name first, then the others users type
    // ("UK", "Holland").
    const std::vector<std::string>& countryKeys(std::size_t country) const
    {
        return m_countries[country].keys;
    }
    std::string_view regionKey(std::size_t place) const; // the region folded, or ""

    // Places whose folded name has a word (other than the first) that starts at byte
    // `offset`, sorted by the folded text from there on.
    struct WordStart
    {
        std::uint32_t place;
        std::uint16_t offset;
        std::uint32_t weight; // weight(place), kept here so a search reads the index in order
    };
    const std::vector<WordStart>& wordStarts() const { return m_words; }
    // Places that are airports with a code, each once, in place order.
    const std::vector<std::uint32_t>& airports() const { return m_airports; }
    // Places that are ports, each once, in place order.
    const std::vector<std::uint32_t>& ports() const { return m_ports; }

    // The search key of any UTF-8 text: blind to case, accents and punctuation (the rules are
    // in tools/make-gazetteer.py). A byte that is not valid UTF-8 separates words. Never throws
    // beyond std::bad_alloc.
    std::string fold(std::string_view text) const;

private:
    friend std::variant<Gazetteer, GazetteerError> readGazetteer(std::string bytes);
    void foldInto(std::string_view text, std::string& out) const; // appends fold(text)

    struct Place
    {
        std::int32_t latitude;  // 1e-5 degrees
        std::int32_t longitude; // 1e-5 degrees
        std::uint32_t population;
        std::uint32_t nameOffset; // in m_bytes
        std::uint32_t keyOffset;  // in m_keys
        std::uint32_t airport;    // index into m_codes (an airport) or m_locodes (a port), or kNone
        std::uint16_t region;     // index into m_regions, or kNone16
        std::uint16_t keyLength;
        std::uint8_t nameLength;
        std::uint8_t country;
        std::uint8_t kind;
    };
    struct Country
    {
        std::string_view code;
        std::string_view name;
        std::vector<std::string> keys;
    };
    struct Region
    {
        std::string_view name;
        std::string key;
    };
    struct Fold
    {
        std::uint32_t codePoint;
        std::string_view text;
    };

    std::shared_ptr<const std::string> m_bytes; // the asset; every string_view points into it
    std::vector<Place> m_places;
    std::string m_keys;
    std::vector<Country> m_countries;
    std::vector<Region> m_regions;
    std::vector<Fold> m_folds;             // ascending code point
    std::vector<std::string_view> m_codes; // per airport: IATA then ICAO, 7 bytes
    std::vector<std::uint32_t> m_airports;
    std::vector<std::string_view> m_locodes; // per port: its UN/LOCODE, 5 bytes
    std::vector<std::uint32_t> m_ports;
    std::vector<WordStart> m_words;
};

// Parses the asset. Never reads beyond `bytes` and allocates only after the counts have been
// checked against its size: a truncated asset, a wrong magic or version, counts too large or
// disagreeing with the size, a string beyond the text or not UTF-8, a position beyond +-90 /
// +-180 degrees, an index to no country or region, a kind or a code that does not exist, an
// airport's codes on a place that is no airport, a port without its one UN/LOCODE or with
// another country's, a fold table out of order, places not in the order of their folded names, or a
// word index that is not exactly the later words of the names in order give a GazetteerError.
std::variant<Gazetteer, GazetteerError> readGazetteer(std::string bytes);

} // namespace gyrena
