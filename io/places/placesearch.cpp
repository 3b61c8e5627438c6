#include "io/places/placesearch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace gyrena {

namespace {

struct Candidate
{
    PlaceMatchKind kind;
    std::uint32_t weight;
    std::size_t place;
};

// The best `limit` candidates offered, kept as a heap whose front is the worst of them.
class BestPlaces
{
public:
    BestPlaces(const Gazetteer& gazetteer, std::size_t limit)
        : m_gazetteer(gazetteer), m_limit(limit)
    {
    }

    void offer(PlaceMatchKind kind, std::size_t place, std::uint32_t weight)
    {
        if (m_limit == 0)
            return;
        const Candidate candidate{kind, weight, place};
        if (m_heap.size() < m_limit) {
            m_heap.push_back(candidate);
            std::push_heap(m_heap.begin(), m_heap.end(), better());
        } else if (better()(candidate, m_heap.front())) {
            std::pop_heap(m_heap.begin(), m_heap.end(), better());
            m_heap.back() = candidate;
            std::push_heap(m_heap.begin(), m_heap.end(), better());
        }
    }

    std::vector<PlaceMatch> sorted()
    {
        std::sort(m_heap.begin(), m_heap.end(), better());
        std::vector<PlaceMatch> matches;
        matches.reserve(m_heap.size());
        for (const Candidate& candidate : m_heap)
            matches.push_back({candidate.place, candidate.kind});
        return matches;
    }

private:
    struct Better
    {
        const Gazetteer* gazetteer;
        bool operator()(const Candidate& a, const Candidate& b) const
        {
            if (a.kind != b.kind)
                return a.kind < b.kind;
            if (a.weight != b.weight)
                return a.weight > b.weight;
            const std::string_view x = gazetteer->name(a.place);
            const std::string_view y = gazetteer->name(b.place);
            return x != y ? x < y : a.place < b.place;
        }
    };
    Better better() const { return Better{&m_gazetteer}; }

    const Gazetteer& m_gazetteer;
    std::size_t m_limit;
    std::vector<Candidate> m_heap;
};

// The part after the last comma of "NAME, WHERE": which countries and regions it keeps.
class Qualifier
{
public:
    Qualifier(const Gazetteer& gazetteer, std::string key) : m_key(std::move(key))
    {
        m_countries.resize(gazetteer.countryCount());
        for (std::size_t c = 0; c < gazetteer.countryCount(); ++c) {
            const std::string_view code = gazetteer.countryCodeAt(c);
            bool kept = m_key.size() == 2 && m_key[0] == code[0] - 'A' + 'a' &&
                        m_key[1] == code[1] - 'A' + 'a';
            for (const std::string& name : gazetteer.countryKeys(c))
                kept = kept || name.starts_with(m_key);
            m_countries[c] = kept;
        }
    }

    bool keeps(const Gazetteer& gazetteer, std::size_t place) const
    {
        return m_countries[gazetteer.country(place)] ||
               gazetteer.regionKey(place).starts_with(m_key);
    }

private:
    std::string m_key;
    std::vector<bool> m_countries;
};

// Whole degrees and minutes of |degrees|, rounded to the minute.
std::pair<std::string, std::string> degreesAndMinutes(double degrees)
{
    const long minutes = std::lround(std::fabs(degrees) * 60.0);
    return {std::to_string(minutes / 60), std::to_string(minutes % 60)};
}

// The range [first, last) of the n sorted texts textAt(0..n-1) that start with `key`.
template <typename TextAt>
std::pair<std::size_t, std::size_t> prefixRange(std::size_t n, const TextAt& textAt,
                                                std::string_view key)
{
    const auto firstWhere = [&](std::size_t from, auto&& before) {
        std::size_t count = n - from;
        while (count > 0) {
            const std::size_t half = count / 2;
            if (before(textAt(from + half))) {
                from += half + 1;
                count -= half + 1;
            } else {
                count = half;
            }
        }
        return from;
    };
    const std::size_t first = firstWhere(0, [&](std::string_view text) { return text < key; });
    const std::size_t last =
        firstWhere(first, [&](std::string_view text) { return text.starts_with(key); });
    return {first, last};
}

} // namespace

LocationTexts placeLocationTexts(const Gazetteer& gazetteer, std::size_t place)
{
    return placeLocationTexts(gazetteer, place, gazetteer.position(place));
}

LocationTexts placeLocationTexts(const Gazetteer& gazetteer, std::size_t place, LatLon position)
{
    LocationTexts texts;
    texts.name = gazetteer.name(place);
    texts.country = gazetteer.countryName(place);
    std::tie(texts.latitudeDegrees, texts.latitudeMinutes) = degreesAndMinutes(position.latitude);
    std::tie(texts.longitudeDegrees, texts.longitudeMinutes) =
        degreesAndMinutes(position.longitude);
    // The sign of what is written: a latitude that rounds to 0 degrees 0 minutes is N.
    const bool south = std::lround(position.latitude * 60.0) < 0;
    const bool west = std::lround(position.longitude * 60.0) < 0;
    texts.latitudeLetter = south ? 'S' : 'N';
    texts.longitudeLetter = west ? 'W' : 'E';
    return texts;
}

std::vector<PlaceMatch> findPlaces(const Gazetteer& gazetteer, std::string_view query,
                                   std::size_t limit)
{
    if (query.size() > kMaxPlaceQueryBytes)
        return {};
    std::optional<Qualifier> qualifier;
    if (const std::size_t comma = query.rfind(','); comma != std::string_view::npos) {
        std::string where = gazetteer.fold(query.substr(comma + 1));
        query = query.substr(0, comma);
        if (!where.empty())
            qualifier.emplace(gazetteer, std::move(where));
    }
    const std::string key = gazetteer.fold(query);
    if (key.empty())
        return {};
    const auto kept = [&](std::size_t place) {
        return !qualifier || qualifier->keeps(gazetteer, place);
    };
    BestPlaces best(gazetteer, limit);

    // Codes first: an airport or a port found by its code is not offered again by its name.
    std::vector<std::size_t> byCode;
    if (key.size() >= 3 && key.size() <= 5 && std::all_of(key.begin(), key.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        })) {
        std::string code = key;
        for (char& c : code)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const auto offer = [&](std::size_t place) {
            best.offer(PlaceMatchKind::Exact, place, gazetteer.weight(place));
            byCode.push_back(place);
        };
        if (code.size() == 5) {
            for (const std::uint32_t place : gazetteer.ports())
                if (gazetteer.unlocode(place) == code && kept(place))
                    offer(place);
        } else {
            for (const std::uint32_t place : gazetteer.airports())
                if ((gazetteer.iata(place) == code || gazetteer.icao(place) == code) && kept(place))
                    offer(place);
        }
    }
    const auto foundByCode = [&](std::size_t place) {
        return !byCode.empty() && std::find(byCode.begin(), byCode.end(), place) != byCode.end();
    };

    // Names that start with the key lie side by side in the gazetteer's order: [first, last).
    const auto placeAt = [&](std::size_t place) { return gazetteer.key(place); };
    const auto [first, last] = prefixRange(gazetteer.placeCount(), placeAt, key);
    for (std::size_t place = first; place < last; ++place) {
        if (kept(place) && !foundByCode(place))
            best.offer(placeAt(place).size() == key.size() ? PlaceMatchKind::Exact
                                                           : PlaceMatchKind::Prefix,
                       place, gazetteer.weight(place));
    }

    // So do the later words that start with it, in the word index.
    const std::vector<Gazetteer::WordStart>& words = gazetteer.wordStarts();
    const auto wordAt = [&](std::size_t i) {
        return gazetteer.key(words[i].place).substr(words[i].offset);
    };
    const auto [firstWord, lastWord] = prefixRange(words.size(), wordAt, key);
    std::vector<bool> offered; // a name may have two words that start with the key
    for (std::size_t i = firstWord; i < lastWord; ++i) {
        const Gazetteer::WordStart& word = words[i];
        // A name that starts with the key was offered above, and better.
        if ((word.place >= first && word.place < last) || !kept(word.place) ||
            foundByCode(word.place))
            continue;
        if (offered.empty())
            offered.resize(gazetteer.placeCount());
        if (!offered[word.place])
            best.offer(PlaceMatchKind::Word, word.place, word.weight);
        offered[word.place] = true;
    }
    return best.sorted();
}

} // namespace gyrena
