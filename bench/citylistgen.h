#pragma once

// Deterministic city list files for benchmarks and tests: the same count and seed always give
// the same bytes. A list of 32,767 cities is about 1.2 MB, the size of the largest list a user
// can load.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gyrena::bench {

struct GeneratedCityList
{
    std::string bytes;                              // the file, CR LF line ends, ASCII
    std::vector<std::array<std::string, 8>> cities; // the eight fields written for each city
};

// A small linear congruential generator (Numerical Recipes constants): fixed, portable output.
class Lcg
{
public:
    explicit Lcg(std::uint32_t seed) : m_state(seed) {}
    std::uint32_t next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }

private:
    std::uint32_t m_state;
};

inline GeneratedCityList makeCityList(int count, std::uint32_t seed = 20261207u)
{
    static constexpr std::array<std::string_view, 16> syllables = {
        "ka", "ro",  "vin", "del", "mar", "to", "sen", "bu",
        "li", "nor", "ga",  "pe",  "shi", "ul", "zan", "qu"};
    static constexpr std::array<std::string_view, 8> countries = {
        "Norland", "Estavia", "Quorr", "Belmara", "Tessin Republic", "Ulgar", "Sarnia", "Oru"};

    Lcg random(seed);
    GeneratedCityList list;
    list.cities.reserve(static_cast<std::size_t>(count));
    list.bytes.reserve(static_cast<std::size_t>(count) * 40 + 32);
    list.bytes += "GyrenaCityListFile\r\n";
    list.bytes += std::to_string(count);
    list.bytes += "\r\n";
    for (int i = 0; i < count; ++i) {
        std::array<std::string, 8> city;
        std::string& name = city[0];
        const std::uint32_t parts = 2 + random.below(3);
        for (std::uint32_t p = 0; p < parts; ++p)
            name += syllables[random.below(syllables.size())];
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        const bool withRegion = random.below(16) == 0; // some names hold a comma
        if (withRegion)
            name += ", North";
        city[1] = countries[random.below(countries.size())];
        city[2] = std::to_string(random.below(91));
        city[3] = std::to_string(random.below(60));
        city[4] = random.below(2) ? "N" : "S";
        city[5] = std::to_string(random.below(181));
        city[6] = std::to_string(random.below(60));
        city[7] = random.below(2) ? "E" : "W";
        for (std::size_t f = 0; f < city.size(); ++f) {
            if (f > 0)
                list.bytes += ',';
            if (f == 0 && withRegion) {
                list.bytes += '"';
                list.bytes += city[f];
                list.bytes += '"';
            } else {
                list.bytes += city[f];
            }
        }
        list.bytes += "\r\n";
        list.cities.push_back(std::move(city));
    }
    return list;
}

} // namespace gyrena::bench
