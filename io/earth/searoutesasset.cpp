#include "io/earth/searoutesasset.h"

#include "geo/sealand.h"
#include "io/earth/landasset.h"

#include <atomic>

// The asset's bytes, placed in the read-only data by the assembler, as the land's are.
#ifndef GYRENA_SEAROUTES_ASSET
#error "GYRENA_SEAROUTES_ASSET must name assets/sea/searoutes.bin"
#endif

extern "C" const char gyrena_searoutes_begin[];
extern "C" const char gyrena_searoutes_end[];
__asm__(".pushsection .rodata\n"
        ".balign 16\n"
        ".globl gyrena_searoutes_begin\n"
        "gyrena_searoutes_begin:\n"
        ".incbin \"" GYRENA_SEAROUTES_ASSET "\"\n"
        ".globl gyrena_searoutes_end\n"
        "gyrena_searoutes_end:\n"
        ".byte 0\n"
        ".popsection\n");
static const char* const kAssetHash = GYRENA_SEAROUTES_SHA256;

namespace gyrena {

namespace {

std::atomic<bool> s_read{false};

} // namespace

std::string_view builtInSeaRouteBytes()
{
    (void)kAssetHash;
    return std::string_view(gyrena_searoutes_begin,
                            std::size_t(gyrena_searoutes_end - gyrena_searoutes_begin));
}

const std::variant<SeaGraph, SeaRouteError>& builtInSeaGraph()
{
    s_read = true;
    static const std::variant<SeaGraph, SeaRouteError> graph =
        []() -> std::variant<SeaGraph, SeaRouteError> {
        auto data = readSeaRoutes(builtInSeaRouteBytes());
        if (auto* error = std::get_if<SeaRouteError>(&data))
            return *error;
        return SeaGraph(std::get<SeaGridData>(std::move(data)));
    }();
    return graph;
}

bool builtInSeaGraphRead()
{
    return s_read;
}

SeaRoute builtInSeaRoute(LatLon from, LatLon to, const SeaRouteOptions& options)
{
    SeaRoute none;
    const auto& graph = builtInSeaGraph();
    if (const auto* error = std::get_if<SeaRouteError>(&graph)) {
        none.problem = "the sea-route graph cannot be read: " + error->what;
        return none;
    }
    const auto& land = builtInLand();
    if (const auto* error = std::get_if<LandAssetError>(&land)) {
        none.problem = "the land cannot be read: " + error->what;
        return none;
    }
    const IndexSeaLand seaLand(std::get<LandIndex>(land));
    return findSeaRoute(std::get<SeaGraph>(graph), seaLand, from, to, options);
}

} // namespace gyrena
