// The land check: the first read of the built-in land (parsing and opening its index, time and
// memory), every leg of a 100-place voyage checked against it, and both at once.
#include "geo/landcheck.h"
#include "io/earth/landasset.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>
#include <string>
#include <utility>

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

// CPU time of this process, milliseconds.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void BM_LandFirstRead(benchmark::State& state)
{
    // The process's one real first read, as the window would see it: memory, and its CPU time
    // with the module's loading and the first touch of every page.
    static const std::pair<double, double> first = [] {
        const long before = residentKiB();
        const double started = cpuMs();
        if (!std::holds_alternative<gyrena::LandIndex>(gyrena::builtInLand()))
            std::abort();
        return std::pair{cpuMs() - started, double(residentKiB() - before) / 1024.0};
    }();
    state.counters["first_cpu_ms"] = first.first;
    state.counters["rss_added_MiB"] = first.second;
    state.counters["asset_bytes"] = double(gyrena::builtInLandBytes().size());
    for (auto _ : state) {
        auto read = gyrena::readLandAsset(gyrena::builtInLandBytes());
        gyrena::LandIndex index(std::get<gyrena::LandMap>(read));
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_LandFirstRead)->Unit(benchmark::kMillisecond);

// A voyage of 100 places strewn over the oceans and continents between 60S and 70N, every
// third leg a rhumb line and every seventh composite, planned.
const gyrena::VoyagePlan& hundredPlaces()
{
    static const gyrena::VoyagePlan plan = [] {
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
        gyrena::VoyagePlan planned = gyrena::planVoyage(voyage);
        if (!planned.hasPlan)
            std::abort();
        return planned;
    }();
    return plan;
}

// The check of all 99 legs of that voyage, as sailed, after the first read.
void BM_LandCheckVoyage(benchmark::State& state)
{
    const auto& land = std::get<gyrena::LandIndex>(gyrena::builtInLand());
    const gyrena::VoyagePlan& plan = hundredPlaces();
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

// A read of the land and the voyage's check at once: the read leaves the index's cells and the
// shapes to be decoded as queries first reach them, and this first check pays for that.
void BM_LandFirstReadAndCheck(benchmark::State& state)
{
    const gyrena::VoyagePlan& plan = hundredPlaces();
    for (auto _ : state) {
        auto read = gyrena::readLandAsset(gyrena::builtInLandBytes());
        gyrena::LandIndex index(std::get<gyrena::LandMap>(read));
        auto found = gyrena::landCrossings(plan, index);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_LandFirstReadAndCheck)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
