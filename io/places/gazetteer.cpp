#include "io/places/gazetteer.h"

#include "io/files/littleendian.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace gyrena {

namespace {

constexpr std::size_t kHeaderBytes = 44;
constexpr std::size_t kCountryBytes = 7;
constexpr std::size_t kAliasBytes = 6;
constexpr std::size_t kRegionBytes = 5;
constexpr std::size_t kPlaceBytes = 17;
constexpr std::size_t kAirportBytes = 11;
constexpr std::size_t kPortBytes = 9;
constexpr std::size_t kFoldBytes = 9;
constexpr std::size_t kWordBytes = 6;
constexpr std::uint32_t kNone = 0xffffffff;
constexpr std::uint16_t kNoRegion = 0xffff;
constexpr std::int32_t kMaxLatitude = 90 * 100000;
constexpr std::int32_t kMaxLongitude = 180 * 100000;
constexpr std::size_t kMaxKeyBytes = 0xffff;

// One code point from strict UTF-8 at `at` (no overlong forms, no surrogates, at most U+10FFFF),
// advancing `at` past it; none for an invalid sequence, with `at` advanced by one byte.
std::optional<std::uint32_t> decodeUtf8(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xe0) == 0xc0) {
        length = 2, code = lead & 0x1fu, minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3, code = lead & 0x0fu, minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    } else {
        ++at;
        return std::nullopt;
    }
    if (text.size() - at < length) {
        ++at;
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0) != 0x80) {
            ++at;
            return std::nullopt;
        }
        code = code << 6 | (byte(at + i) & 0x3fu);
    }
    if (code < minimum || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) {
        ++at;
        return std::nullopt;
    }
    at += length;
    return code;
}

bool isUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        if (!decodeUtf8(text, at))
            return false;
    }
    return true;
}

bool isCodeCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A code of `length` capitals and digits, or blanks for none.
std::optional<std::string_view> readCode(std::string_view bytes, std::size_t at, std::size_t length)
{
    const std::string_view code = bytes.substr(at, length);
    if (std::all_of(code.begin(), code.end(), [](char c) { return c == ' '; }))
        return std::string_view();
    if (std::all_of(code.begin(), code.end(), isCodeCharacter))
        return code;
    return std::nullopt;
}

// A UN/LOCODE: two capitals (the country), then three capitals or digits 2-9.
bool isUnlocode(std::string_view code)
{
    const auto letter = [](char c) { return c >= 'A' && c <= 'Z'; };
    return code.size() == 5 && letter(code[0]) && letter(code[1]) &&
           std::all_of(code.begin() + 2, code.end(),
                       [&](char c) { return letter(c) || (c >= '2' && c <= '9'); });
}

GazetteerError error(std::string what, std::size_t offset)
{
    return GazetteerError{std::move(what), offset};
}

// Appends folded text, keeping at most one separating blank and none at the start; a blank
// still pending at the end is dropped by the caller never adding it.
class KeyWriter
{
public:
    explicit KeyWriter(std::string& out) : m_out(out), m_start(out.size()) {}
    void separate() { m_pending = m_out.size() > m_start; }
    void put(char c)
    {
        if (m_pending) {
            m_out += ' ';
            m_pending = false;
        }
        m_out += c;
    }
    void put(std::string_view text)
    {
        for (const char c : text) {
            if (c == ' ')
                separate();
            else
                put(c);
        }
    }

private:
    std::string& m_out;
    std::size_t m_start;
    bool m_pending = false;
};

} // namespace

std::uint32_t Gazetteer::weight(std::size_t place) const
{
    switch (kind(place)) {
    case PlaceKind::LargeAirport:
        return 100000;
    case PlaceKind::Port:
        return 50000;
    case PlaceKind::MediumAirport:
        return 10000;
    case PlaceKind::Town:
        break;
    }
    return population(place);
}

std::string_view Gazetteer::region(std::size_t place) const
{
    const std::uint16_t region = m_places[place].region;
    return region == kNoRegion ? std::string_view() : m_regions[region].name;
}

std::string_view Gazetteer::regionKey(std::size_t place) const
{
    const std::uint16_t region = m_places[place].region;
    return region == kNoRegion ? std::string_view() : std::string_view(m_regions[region].key);
}

std::string_view Gazetteer::countryCode(std::size_t place) const
{
    return m_countries[m_places[place].country].code;
}

std::string_view Gazetteer::countryName(std::size_t place) const
{
    return m_countries[m_places[place].country].name;
}

std::string_view Gazetteer::countryCodeAt(std::size_t country) const
{
    return m_countries[country].code;
}

LatLon Gazetteer::position(std::size_t place) const
{
    return LatLon{m_places[place].latitude / 1e5, m_places[place].longitude / 1e5};
}

namespace {

// An airport code as the asset stores it, padded with blanks to its width; "" for none.
std::string_view unpadded(std::string_view code)
{
    const std::size_t end = code.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : code.substr(0, end + 1);
}

} // namespace

std::string_view Gazetteer::iata(std::size_t place) const
{
    const std::uint32_t airport = m_places[place].airport;
    return airport == kNone || kind(place) == PlaceKind::Port
               ? std::string_view()
               : unpadded(m_codes[airport].substr(0, 3));
}

std::string_view Gazetteer::icao(std::size_t place) const
{
    const std::uint32_t airport = m_places[place].airport;
    return airport == kNone || kind(place) == PlaceKind::Port
               ? std::string_view()
               : unpadded(m_codes[airport].substr(3));
}

std::string_view Gazetteer::unlocode(std::size_t place) const
{
    const std::uint32_t port = m_places[place].airport;
    return port == kNone || kind(place) != PlaceKind::Port ? std::string_view() : m_locodes[port];
}

std::string Gazetteer::fold(std::string_view text) const
{
    std::string out;
    out.reserve(text.size());
    foldInto(text, out);
    return out;
}

void Gazetteer::foldInto(std::string_view text, std::string& out) const
{
    KeyWriter key(out);
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (static_cast<unsigned char>(c) < 0x80) {
            ++at;
            if (c >= 'A' && c <= 'Z')
                key.put(static_cast<char>(c - 'A' + 'a'));
            else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                key.put(c);
            else if (c != '\'' && c != '`')
                key.separate();
            continue;
        }
        const std::size_t start = at;
        const std::optional<std::uint32_t> code = decodeUtf8(text, at);
        if (!code) {
            key.separate();
            continue;
        }
        const auto found = std::lower_bound(
            m_folds.begin(), m_folds.end(), *code,
            [](const Fold& fold, std::uint32_t value) { return fold.codePoint < value; });
        if (found != m_folds.end() && found->codePoint == *code)
            key.put(found->text);
        else
            key.put(text.substr(start, at - start));
    }
}

std::variant<Gazetteer, GazetteerError> readGazetteer(std::string bytes)
{
    Gazetteer gazetteer;
    // Shared, so that the views into it stay valid however the gazetteer is moved.
    gazetteer.m_bytes = std::make_shared<const std::string>(std::move(bytes));
    const std::string_view data(*gazetteer.m_bytes);
    if (data.size() < kHeaderBytes)
        return error("shorter than its header", data.size());
    if (data.substr(0, 4) != kGazetteerMagic)
        return error("not a gazetteer (wrong magic)", 0);
    if (readU16(data, 4) != kGazetteerVersion)
        return error("version " + std::to_string(readU16(data, 4)) + ", not " +
                         std::to_string(kGazetteerVersion),
                     4);
    const std::uint32_t countries = readU32(data, 8);
    const std::uint32_t aliases = readU32(data, 12);
    const std::uint32_t regions = readU32(data, 16);
    const std::uint32_t places = readU32(data, 20);
    const std::uint32_t airports = readU32(data, 24);
    const std::uint32_t ports = readU32(data, 28);
    const std::uint32_t folds = readU32(data, 32);
    const std::uint32_t words = readU32(data, 36);
    const std::uint32_t textBytes = readU32(data, 40);
    if (countries > kMaxGazetteerCountries)
        return error("too many countries", 8);
    if (aliases > kMaxGazetteerAliases)
        return error("too many country names", 12);
    if (regions > kMaxGazetteerRegions)
        return error("too many regions", 16);
    if (places > kMaxGazetteerPlaces)
        return error("too many places", 20);
    if (airports > places)
        return error("more airports than places", 24);
    if (ports > places - airports)
        return error("more airports and ports than places", 28);
    if (folds > kMaxGazetteerFolds)
        return error("too many fold entries", 32);
    if (words > kMaxGazetteerWords)
        return error("too many words", 36);
    if (textBytes > kMaxGazetteerText)
        return error("too much text", 40);
    const std::uint64_t expected =
        kHeaderBytes + std::uint64_t(countries) * kCountryBytes +
        std::uint64_t(aliases) * kAliasBytes + std::uint64_t(regions) * kRegionBytes +
        std::uint64_t(places) * kPlaceBytes + std::uint64_t(airports) * kAirportBytes +
        std::uint64_t(ports) * kPortBytes + std::uint64_t(folds) * kFoldBytes +
        std::uint64_t(words) * kWordBytes + textBytes;
    if (expected != data.size())
        return error("its size disagrees with its counts (" + std::to_string(expected) +
                         " bytes expected)",
                     std::min<std::uint64_t>(expected, data.size()));

    const std::size_t countryAt = kHeaderBytes;
    const std::size_t aliasAt = countryAt + countries * kCountryBytes;
    const std::size_t regionAt = aliasAt + aliases * kAliasBytes;
    const std::size_t placeAt = regionAt + regions * kRegionBytes;
    const std::size_t airportAt = placeAt + std::size_t(places) * kPlaceBytes;
    const std::size_t portAt = airportAt + std::size_t(airports) * kAirportBytes;
    const std::size_t foldAt = portAt + std::size_t(ports) * kPortBytes;
    const std::size_t wordAt = foldAt + std::size_t(folds) * kFoldBytes;
    const std::size_t textAt = wordAt + std::size_t(words) * kWordBytes;
    const std::string_view text = data.substr(textAt);

    // A string of the text section: in range and valid UTF-8.
    const auto string = [&](std::size_t at) -> std::optional<std::string_view> {
        const std::uint32_t offset = readU32(data, at);
        const std::uint8_t length = readU8(data, at + 4);
        if (offset > text.size() || length > text.size() - offset)
            return std::nullopt;
        const std::string_view value = text.substr(offset, length);
        return isUtf8(value) ? std::optional(value) : std::nullopt;
    };

    gazetteer.m_folds.reserve(folds);
    for (std::uint32_t i = 0; i < folds; ++i) {
        const std::size_t at = foldAt + std::size_t(i) * kFoldBytes;
        const std::uint32_t code = readU32(data, at);
        if (code < 0x80 || code > 0x10ffff ||
            (!gazetteer.m_folds.empty() && code <= gazetteer.m_folds.back().codePoint))
            return error("fold entry " + std::to_string(i) + " is out of order or range", at);
        const std::optional<std::string_view> folded = string(at + 4);
        if (!folded)
            return error("fold entry " + std::to_string(i) + " has no valid text", at + 4);
        gazetteer.m_folds.push_back({code, *folded});
    }

    gazetteer.m_countries.reserve(countries);
    for (std::uint32_t i = 0; i < countries; ++i) {
        const std::size_t at = countryAt + std::size_t(i) * kCountryBytes;
        const std::string_view code = data.substr(at, 2);
        const std::optional<std::string_view> name = string(at + 2);
        if (!(code[0] >= 'A' && code[0] <= 'Z' && code[1] >= 'A' && code[1] <= 'Z'))
            return error("country " + std::to_string(i) + " has no ISO code", at);
        if (!name)
            return error("country " + std::to_string(i) + " has no valid name", at + 2);
        gazetteer.m_countries.push_back({code, *name, {gazetteer.fold(*name)}});
    }
    for (std::uint32_t i = 0; i < aliases; ++i) {
        const std::size_t at = aliasAt + std::size_t(i) * kAliasBytes;
        const std::uint8_t country = readU8(data, at);
        const std::optional<std::string_view> name = string(at + 1);
        if (country >= countries)
            return error("country name " + std::to_string(i) + " names no country", at);
        if (!name)
            return error("country name " + std::to_string(i) + " is not valid text", at + 1);
        gazetteer.m_countries[country].keys.push_back(gazetteer.fold(*name));
    }
    gazetteer.m_regions.reserve(regions);
    for (std::uint32_t i = 0; i < regions; ++i) {
        const std::size_t at = regionAt + std::size_t(i) * kRegionBytes;
        const std::optional<std::string_view> name = string(at);
        if (!name)
            return error("region " + std::to_string(i) + " is not valid text", at);
        gazetteer.m_regions.push_back({*name, gazetteer.fold(*name)});
    }

    gazetteer.m_places.reserve(places);
    gazetteer.m_keys.reserve(text.size());
    std::size_t nameOffset = 0;
    std::size_t blanks = 0; // the later words of all keys
    for (std::uint32_t i = 0; i < places; ++i) {
        const std::size_t at = placeAt + std::size_t(i) * kPlaceBytes;
        Gazetteer::Place place{};
        place.latitude = readI32(data, at);
        place.longitude = readI32(data, at + 4);
        place.population = readU32(data, at + 8);
        place.region = readU16(data, at + 12);
        place.country = readU8(data, at + 14);
        place.kind = readU8(data, at + 15);
        place.nameLength = readU8(data, at + 16);
        place.airport = kNone;
        const auto where = [i] { return "place " + std::to_string(i); };
        if (place.latitude < -kMaxLatitude || place.latitude > kMaxLatitude ||
            place.longitude < -kMaxLongitude || place.longitude > kMaxLongitude)
            return error(where() + " lies beyond 90 or 180 degrees", at);
        if (place.region != kNoRegion && place.region >= regions)
            return error(where() + " names no region", at + 12);
        if (place.country >= countries)
            return error(where() + " names no country", at + 14);
        if (place.kind > static_cast<std::uint8_t>(PlaceKind::Port))
            return error(where() + " is of no known kind", at + 15);
        if (place.nameLength == 0 || place.nameLength > text.size() - nameOffset)
            return error(where() + " has no name or one beyond the text", at + 16);
        const std::string_view name = text.substr(nameOffset, place.nameLength);
        if (!isUtf8(name))
            return error(where() + "'s name is not UTF-8", textAt + nameOffset);
        place.nameOffset = static_cast<std::uint32_t>(textAt + nameOffset);
        nameOffset += place.nameLength;

        place.keyOffset = static_cast<std::uint32_t>(gazetteer.m_keys.size());
        gazetteer.foldInto(name, gazetteer.m_keys);
        blanks += static_cast<std::size_t>(
            std::count(gazetteer.m_keys.begin() + place.keyOffset, gazetteer.m_keys.end(), ' '));
        const std::size_t keyLength = gazetteer.m_keys.size() - place.keyOffset;
        if (keyLength == 0 || keyLength > kMaxKeyBytes)
            return error(where() + "'s name has no letter or digit", at + 16);
        place.keyLength = static_cast<std::uint16_t>(keyLength);
        if (i > 0) {
            const Gazetteer::Place& before = gazetteer.m_places.back();
            const std::string_view keys(gazetteer.m_keys);
            if (keys.substr(place.keyOffset) < keys.substr(before.keyOffset, before.keyLength))
                return error(where() + " is out of the order of the folded names", at);
        }
        gazetteer.m_places.push_back(place);
    }

    gazetteer.m_codes.reserve(airports);
    gazetteer.m_airports.reserve(airports);
    for (std::uint32_t i = 0; i < airports; ++i) {
        const std::size_t at = airportAt + std::size_t(i) * kAirportBytes;
        const std::uint32_t place = readU32(data, at);
        const auto where = [i] { return "airport " + std::to_string(i); };
        if (place >= places || (i > 0 && place <= gazetteer.m_airports.back()))
            return error(where() + " names no place, or one out of order", at);
        const std::uint8_t kind = gazetteer.m_places[place].kind;
        if (kind != static_cast<std::uint8_t>(PlaceKind::MediumAirport) &&
            kind != static_cast<std::uint8_t>(PlaceKind::LargeAirport))
            return error(where() + " is no airport", at);
        if (!readCode(data, at + 4, 3) || !readCode(data, at + 7, 4))
            return error(where() + " has a code that is not capitals and digits", at + 4);
        gazetteer.m_places[place].airport = i;
        gazetteer.m_airports.push_back(place);
        gazetteer.m_codes.push_back(data.substr(at + 4, 7));
    }
    gazetteer.m_locodes.reserve(ports);
    gazetteer.m_ports.reserve(ports);
    for (std::uint32_t i = 0; i < ports; ++i) {
        const std::size_t at = portAt + std::size_t(i) * kPortBytes;
        const std::uint32_t place = readU32(data, at);
        const std::string_view code = data.substr(at + 4, 5);
        const auto where = [i] { return "port " + std::to_string(i); };
        if (place >= places || (i > 0 && place <= gazetteer.m_ports.back()))
            return error(where() + " names no place, or one out of order", at);
        if (gazetteer.m_places[place].kind != static_cast<std::uint8_t>(PlaceKind::Port))
            return error(where() + " is no port", at);
        if (!isUnlocode(code) || code.substr(0, 2) != gazetteer.countryCode(place))
            return error(where() + " has no UN/LOCODE of its country", at + 4);
        gazetteer.m_places[place].airport = i;
        gazetteer.m_ports.push_back(place);
        gazetteer.m_locodes.push_back(code);
    }
    const auto portPlaces = std::count_if(
        gazetteer.m_places.begin(), gazetteer.m_places.end(), [](const Gazetteer::Place& place) {
            return place.kind == static_cast<std::uint8_t>(PlaceKind::Port);
        });
    if (std::size_t(portPlaces) != ports)
        return error("a port has no UN/LOCODE (" + std::to_string(portPlaces) + " ports)", 28);
    // The later words, in the order of the text from each on: checked, never sorted here. Each
    // is a word start of its place's key, and one entry more or less than the keys' blanks
    // would be one missing, since the order allows no entry twice.
    gazetteer.m_words.reserve(words);
    const auto suffix = [&gazetteer](const Gazetteer::WordStart& word) {
        return gazetteer.key(word.place).substr(word.offset);
    };
    for (std::uint32_t i = 0; i < words; ++i) {
        const std::size_t at = wordAt + std::size_t(i) * kWordBytes;
        Gazetteer::WordStart word{readU32(data, at), readU16(data, at + 4), 0};
        const auto where = [i] { return "word " + std::to_string(i); };
        if (word.place >= places)
            return error(where() + " names no place", at);
        word.weight = gazetteer.weight(word.place);
        const std::string_view key = gazetteer.key(word.place);
        if (word.offset == 0 || word.offset >= key.size() || key[word.offset - 1] != ' ')
            return error(where() + " is not the start of a later word of its name", at + 4);
        if (i > 0) {
            const Gazetteer::WordStart& before = gazetteer.m_words.back();
            const std::string_view x = suffix(before);
            const std::string_view y = suffix(word);
            if (y < x || (y == x && word.place <= before.place))
                return error(where() + " is out of order", at);
        }
        gazetteer.m_words.push_back(word);
    }
    if (words != blanks)
        return error("the words do not match the names (" + std::to_string(blanks) + " expected)",
                     36);

    return gazetteer;
}

} // namespace gyrena
