// Routes by sea: the first read of the built-in graph (time and memory), one route at a time
// between ports across the world, and a batch of 100.
#include "io/earth/landasset.h"
#include "io/earth/searoutesasset.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using gyrena::LatLon;

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Harbours on every ocean (positions off the chart, as in tests/data/sea-distances.tsv).
const std::vector<LatLon>& ports()
{
    static const std::vector<LatLon> list = {
        {51.95, 4.05},
        {1.26, 103.83},
        {40.60, -74.04},
        {37.80, -122.42},
        {21.47, 39.15},
        {44.17, 28.66},
        {9.36, -79.91},
        {35.08, 129.05},
        {-33.85, 18.43},
        {-33.86, 151.21},
        {53.55, -3.05},
        {25.27, 55.30},
        {31.20, 29.88},
        {-22.90, -43.15},
        {22.30, 114.17},
        {60.15, 24.95},
        {33.72, -118.27},
        {19.0, 72.85},
        {-32.05, 115.72},
        {64.15, -21.95},
        // and towns whose harbours lie behind narrows: New York, Auckland, Oslo
        {40.71, -74.01},
        {-36.85, 174.76},
        {59.91, 10.75}};
    return list;
}

void BM_SeaGraphFirstRead(benchmark::State& state)
{
    static const double addedMiB = [] {
        const long before = residentKiB();
        if (!std::holds_alternative<gyrena::SeaGraph>(gyrena::builtInSeaGraph()))
            std::abort();
        return double(residentKiB() - before) / 1024.0;
    }();
    state.counters["rss_added_MiB"] = addedMiB;
    state.counters["asset_bytes"] = double(gyrena::builtInSeaRouteBytes().size());
    for (auto _ : state) {
        auto read = gyrena::readSeaRoutes(gyrena::builtInSeaRouteBytes());
        const gyrena::SeaGraph graph(std::get<gyrena::SeaGridData>(std::move(read)));
        benchmark::DoNotOptimize(graph.edgeCount());
    }
}
BENCHMARK(BM_SeaGraphFirstRead)->Unit(benchmark::kMillisecond);

// One route: argument i is the pair (i, i + 7) of the ports, round the list.
void BM_SeaRoute(benchmark::State& state)
{
    (void)gyrena::builtInSeaGraph();
    (void)gyrena::builtInLand();
    const auto& list = ports();
    const std::size_t i = std::size_t(state.range(0));
    const LatLon from = list[i % list.size()];
    const LatLon to = list[(i + 7) % list.size()];
    for (auto _ : state) {
        const auto route = gyrena::builtInSeaRoute(from, to, {});
        if (!route.found) {
            state.SkipWithError(route.problem.c_str());
            break;
        }
        benchmark::DoNotOptimize(route.distanceNm);
    }
}
BENCHMARK(BM_SeaRoute)->DenseRange(0, 22)->Unit(benchmark::kMillisecond);

// A hundred routes: each of the first twenty ports to five others.
void BM_SeaRoutes100(benchmark::State& state)
{
    (void)gyrena::builtInSeaGraph();
    (void)gyrena::builtInLand();
    const auto& list = ports();
    for (auto _ : state) {
        double total = 0;
        for (std::size_t i = 0; i < 20; ++i)
            for (std::size_t k = 1; k <= 5; ++k) {
                const auto route =
                    gyrena::builtInSeaRoute(list[i], list[(i + k * 3) % list.size()], {});
                total += route.distanceNm;
            }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_SeaRoutes100)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
