// The land check: the first read of the built-in land (parsing and indexing, time and memory),
// and every leg of a 100-place voyage checked against it.
#include "geo/landcheck.h"
#include "io/earth/landasset.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

namespace {

// Resident memory of this process in KiB, from /proc.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

void BM_LandFirstRead(benchmark::State& state)
{
    // The process's one real first read: memory as the window would see it.
    static const double addedMiB = [] {
        const long before = residentKiB();
        if (!std::holds_alternative<gyrena::LandIndex>(gyrena::builtInLand()))
            std::abort();
        return double(residentKiB() - before) / 1024.0;
    }();
    state.counters["rss_added_MiB"] = addedMiB;
    state.counters["asset_bytes"] = double(gyrena::builtInLandBytes().size());
    for (auto _ : state) {
        auto read = gyrena::readLandAsset(gyrena::builtInLandBytes());
        gyrena::LandIndex index(std::get<gyrena::LandMap>(read));
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_LandFirstRead)->Unit(benchmark::kMillisecond);

// A voyage of 100 places strewn over the oceans and continents between 60S and 70N, every
// third leg a rhumb line and every seventh composite: the check of all 99 legs, as sailed.
void BM_LandCheckVoyage(benchmark::State& state)
{
    const auto& land = std::get<gyrena::LandIndex>(gyrena::builtInLand());
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> latitude(-60.0, 70.0), longitude(-180.0, 180.0);
    gyrena::Voyage voyage;
    for (int i = 0; i < 100; ++i)
        voyage.places.push_back({"", {latitude(random), longitude(random)}});
    for (int i = 0; i < 99; ++i)
        voyage.legs.push_back({i % 3 == 2   ? gyrena::Sailing::RhumbLine
                               : i % 7 == 6 ? gyrena::Sailing::Composite
                                            : gyrena::Sailing::GreatCircle,
                               75.0, std::nullopt});
    const gyrena::VoyagePlan plan = gyrena::planVoyage(voyage);
    if (!plan.hasPlan)
        std::abort();
    std::size_t crossings = 0;
    for (auto _ : state) {
        auto found = gyrena::landCrossings(plan, land);
        crossings = found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["crossings"] = double(crossings);
    state.counters["voyage_nm"] = plan.distance;
}
BENCHMARK(BM_LandCheckVoyage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
