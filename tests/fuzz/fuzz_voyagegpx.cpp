// The voyage file reader on any bytes: it never crashes, an error names a line within the input,
// and a voyage it accepts is written back and read again as the same voyage.
#include "io/formats/voyagegpx.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_voyagegpx: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = gyrena::readVoyageGpx(bytes);
    if (const auto* error = std::get_if<gyrena::FileError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        const auto lines = 1 + std::count(bytes.begin(), bytes.end(), '\n');
        check(error->line >= 0 && error->line <= lines, "an error beyond the last line");
        return 0;
    }
    const gyrena::Voyage& voyage = std::get<gyrena::Voyage>(read);
    check(voyage.places.size() >= 2 && voyage.places.size() <= gyrena::kMaxVoyagePlaces,
          "a voyage beyond the place limits");
    check(voyage.legs.size() + 1 == voyage.places.size(), "legs and places disagree");
    // Planning a huge voyage at 1 nm spacing is slow, not wrong: write the places alone then.
    const gyrena::VoyagePlan plan =
        voyage.places.size() <= 50 ? gyrena::planVoyage(voyage) : gyrena::VoyagePlan{};
    const auto again = gyrena::readVoyageGpx(gyrena::writeVoyageGpx(voyage, plan));
    check(std::holds_alternative<gyrena::Voyage>(again), "a written voyage does not read back");
    check(std::get<gyrena::Voyage>(again) == voyage, "a written voyage reads back changed");
    return 0;
}
