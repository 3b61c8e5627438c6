// The sea-route asset's reader on any bytes: it never crashes and reads nothing beyond its
// input; an asset it accepts writes back to the same bytes and builds a graph.
#include "geo/searoute.h"
#include "io/earth/searoutes.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_searoutes: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto read = gyrena::readSeaRoutes(bytes);
    if (const auto* error = std::get_if<gyrena::SeaRouteError>(&read)) {
        check(!error->what.empty(), "an error without a message");
        check(error->offset <= size, "an error beyond the input");
        return 0;
    }
    auto& grid = std::get<gyrena::SeaGridData>(read);
    check(gyrena::writeSeaRoutes(grid) == bytes, "an accepted asset that writes back otherwise");
    const gyrena::SeaGraph graph(std::move(grid));
    for (const gyrena::SeaPassage& p : graph.passages())
        check(graph.passage(p.key) != nullptr, "a passage not found by its key");
    return 0;
}
