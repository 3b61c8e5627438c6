// The land asset's reader on any bytes: it never crashes, reads nothing beyond its input, and an
// asset it accepts keeps its promises (rings of at least 3 points on the globe, an outer ring
// first in every polygon, corridors of at least 3 points).
#include "io/earth/landasset.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_landasset: %s\n", what);
        std::abort();
    }
}

void checkRing(const std::vector<gyrena::LatLon>& ring)
{
    check(ring.size() >= 3, "a ring of fewer than 3 points");
    for (const gyrena::LatLon& p : ring)
        check(p.longitude >= -180 - 1e-9 && p.longitude <= 180 + 1e-9 && p.latitude >= -90 - 1e-9 &&
                  p.latitude <= 90 + 1e-9,
              "a point off the globe");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readLandAsset(bytes);
    if (const auto* error = std::get_if<gyrena::LandAssetError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->offset <= size, "an error beyond the input");
        return 0;
    }
    const auto& map = std::get<gyrena::LandMap>(read);
    std::size_t points = 0;
    for (const gyrena::LandPolygon& polygon : map.polygons) {
        check(!polygon.rings.empty(), "a polygon without rings");
        for (const auto& ring : polygon.rings) {
            checkRing(ring);
            points += ring.size();
        }
    }
    check(2 * points <= size, "more points than the bytes can hold");
    for (const gyrena::WaterCorridor& corridor : map.corridors)
        checkRing(corridor.ring);
    return 0;
}
