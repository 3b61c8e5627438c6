// The readers of the Earth's data on any bytes: the magnetic model, the time-zone map, the rule
// at the end of a TZif zone file and a POSIX zone rule. The first byte chooses the reader. None
// crashes or reads beyond its input, and what one accepts keeps its promises (a variation within
// -180..180, a zone name from the map, an offset within a day).
#include "io/earth/magneticmodel.h"
#include "io/earth/timezones.h"
#include "io/earth/zonerule.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_earthdata: %s\n", what);
        std::abort();
    }
}

template <typename Error> void checkError(const Error& error, std::size_t size)
{
    check(!error.what.empty(), "an error without a message");
    check(error.offset <= size, "an error beyond the input");
}

constexpr gyrena::LatLon kPlaces[] = {
    {0, 0}, {89.9, 179.9}, {-90, -180}, {51.5, -0.1}, {-33.9, 151.2}};
constexpr std::int64_t kMoments[] = {-62135596800, -1, 0, 1700000000, 4102444800, 253402300799};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
    case 0: { // the model's description, a NUL, its coefficients
        const std::size_t split = std::min(bytes.find('\0'), bytes.size());
        const auto read = gyrena::readMagneticModel(
            bytes.substr(0, split), bytes.substr(std::min(split + 1, bytes.size())));
        if (const auto* error = std::get_if<gyrena::EarthDataError>(&read))
            return checkError(*error, bytes.size()), 0;
        const gyrena::MagneticModel model(std::get<gyrena::MagneticCoefficients>(read));
        for (const auto& place : kPlaces) {
            const auto variation = model.variation(place, model.coefficients().firstYear);
            check(!variation || std::abs(*variation) <= 180.0, "a variation beyond 180 degrees");
        }
        return 0;
    }
    case 1: {
        const auto read = gyrena::readTimeZoneMap(bytes);
        if (const auto* error = std::get_if<gyrena::EarthDataError>(&read))
            return checkError(*error, bytes.size()), 0;
        const auto& map = std::get<gyrena::TimeZoneMap>(read);
        for (const auto& place : kPlaces)
            check(!map.zoneAt(place).empty(), "a place without a zone");
        return 0;
    }
    case 2: {
        const auto rule = gyrena::readZoneFileRule(bytes);
        if (rule)
            for (const std::int64_t moment : kMoments)
                check(std::abs(rule->offsetAt(moment)) <= 50 * 3600, "an offset beyond 50 hours");
        return 0;
    }
    default: {
        const auto rule = gyrena::readPosixZoneRule(bytes);
        if (rule)
            for (const std::int64_t moment : kMoments)
                check(std::abs(rule->offsetAt(moment)) <= 50 * 3600, "an offset beyond 50 hours");
        return 0;
    }
    }
}
