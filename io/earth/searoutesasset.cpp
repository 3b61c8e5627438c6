#include "io/earth/searoutesasset.h"

#include "geo/sealand.h"
#include "io/earth/landasset.h"
#include "io/files/incbin.h"

#include <atomic>
#include <memory>

// The asset's bytes (io/files/incbin.h), with its hash so that a changed asset changes this unit.
#ifndef GYRENA_SEAROUTES_ASSET
#error "GYRENA_SEAROUTES_ASSET must name assets/sea/searoutes.bin"
#endif

GYRENA_INCBIN(gyrena_searoutes, GYRENA_SEAROUTES_ASSET);
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

namespace {

// The router on the built-in data once both are read, or why they cannot be.
struct BuiltInRouting
{
    std::string problem;
    const SeaGraph* graph = nullptr;
    std::unique_ptr<IndexSeaLand> land;
    std::unique_ptr<GraphSeaRouter> router;
};

const BuiltInRouting& builtInRouting()
{
    static const BuiltInRouting routing = [] {
        BuiltInRouting out;
        const auto& graph = builtInSeaGraph();
        if (const auto* error = std::get_if<SeaRouteError>(&graph)) {
            out.problem = "the sea-route graph cannot be read: " + error->what;
            return out;
        }
        const auto& land = builtInLand();
        if (const auto* error = std::get_if<LandAssetError>(&land)) {
            out.problem = "the land cannot be read: " + error->what;
            return out;
        }
        out.graph = &std::get<SeaGraph>(graph);
        out.land = std::make_unique<IndexSeaLand>(std::get<LandIndex>(land));
        out.router = std::make_unique<GraphSeaRouter>(std::get<SeaGraph>(graph), *out.land);
        return out;
    }();
    return routing;
}

class BuiltInSeaRouter final : public SeaRouter
{
public:
    SeaRoute route(LatLon from, LatLon to, const SeaRouteOptions& options) const override
    {
        const BuiltInRouting& routing = builtInRouting();
        if (!routing.router) {
            SeaRoute none;
            none.problem = routing.problem;
            return none;
        }
        return routing.router->route(from, to, options);
    }
};

} // namespace

const SeaRouter& builtInSeaRouter()
{
    static const BuiltInSeaRouter router;
    return router;
}

SeaRoute builtInSeaRoute(LatLon from, LatLon to, const SeaRouteOptions& options)
{
    const BuiltInRouting& routing = builtInRouting();
    if (!routing.graph || !routing.land) {
        SeaRoute none;
        none.problem = routing.problem;
        return none;
    }
    return findSeaRoute(*routing.graph, *routing.land, from, to, options);
}

} // namespace gyrena
