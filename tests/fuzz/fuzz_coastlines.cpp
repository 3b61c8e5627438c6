// The coastline reader on any bytes: it never crashes, reads nothing beyond its input, and an
// asset it accepts keeps its promises (rings of at least 3 points on the globe, counts agreeing).
#include "io/earth/coastlines.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_coastlines: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readCoastlines(bytes);
    if (const auto* error = std::get_if<gyrena::CoastlineError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->offset <= size, "an error beyond the input");
        return 0;
    }
    const auto& coast = std::get<gyrena::Coastlines>(read);
    std::size_t points = 0;
    for (std::size_t r = 0; r < coast.ringCount(); ++r) {
        check(coast.ring(r).size() >= 3, "a ring of fewer than 3 points");
        for (const gyrena::LatLon& p : coast.ring(r))
            check(p.longitude >= -180 && p.longitude <= 180 && p.latitude >= -90 &&
                      p.latitude <= 90,
                  "a point off the globe");
        points += coast.ring(r).size();
    }
    check(points == coast.pointCount(), "the rings disagree with the point count");
    check(size == 16 + 4 * (coast.ringCount() + points), "an accepted asset of the wrong size");
    (void)coast.isLand({0, 0});
    return 0;
}
