// The computation as the window runs it for "Compute Outputs": the twelve coordinate texts go
// through the leading-number rule and the eight updates into the location state, then Calcs
// solves the route and formats its boxes. Goal: at most 2 us per route.
//
// Baseline in the same run: the twelve leading-number reads alone (the floor any text-driven
// computation pays), and the eight updates without Calcs.
//
//     build-perf/bench/bench_calcs --benchmark_repetitions=9 --benchmark_report_aggregates_only=true

#include "geo/calcs.h"
#include "geo/leadingnumber.h"
#include "geo/location.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace {

// The twelve texts in list order: Combo1..Combo12 (start latitude degrees, minutes; start
// longitude degrees, minutes; end latitude degrees, minutes; end longitude degrees, minutes;
// then the four direction lists Combo9..Combo12).
struct Route
{
    const char* name;
    std::array<std::string_view, 12> texts;
};

// The worked routes: ten kinds of route (East, West, over a pole, along the equator, from the
// prime meridian, North/South both ways).
constexpr std::array<Route, 10> kRoutes = {{
    {"SanFrancisco_Sydney", {"37", "45", "122", "27", "34", "0", "151", "0", "N", "W", "S", "E"}},
    {"NewYork_London", {"40", "45", "73", "58", "51", "28", "0", "27", "N", "W", "N", "W"}},
    {"Sydney_SanFrancisco", {"33", "56", "151", "10", "37", "47", "122", "25", "S", "E", "N", "W"}},
    {"NorthWest", {"10", "0", "20", "0", "50", "0", "30", "0", "N", "E", "N", "W"}},
    {"NorthEast", {"10", "0", "20", "0", "50", "0", "10", "0", "N", "W", "N", "W"}},
    {"Equator", {"0", "0", "10", "0", "0", "0", "20", "0", "N", "W", "N", "W"}},
    {"PrimeMeridian", {"0", "0", "0", "0", "60", "0", "10", "0", "N", "E", "N", "E"}},
    {"SouthernParallel", {"45", "0", "0", "0", "45", "0", "90", "0", "S", "E", "S", "E"}},
    {"OverNorthPole", {"10", "0", "10", "0", "50", "0", "170", "0", "N", "E", "N", "W"}},
    {"OverNorthPoleBack", {"50", "0", "10", "0", "10", "0", "170", "0", "N", "E", "N", "W"}},
}};

// What "Compute Outputs" costs from the texts: the eight updates (twelve leading-number reads
// and four letters) and Calcs from a fresh result state.
gyrena::RouteRun computeFromTexts(const Route& route)
{
    const auto& t = route.texts;
    gyrena::LocationState location;
    gyrena::updateStartLat(location, t[0], t[1]);
    gyrena::updateStartLong(location, t[2], t[3]);
    gyrena::updateEndLat(location, t[4], t[5]);
    gyrena::updateEndLong(location, t[6], t[7]);
    gyrena::updateStartLatDir(location, t[8]);
    gyrena::updateStartLongDir(location, t[9]);
    gyrena::updateEndLatDir(location, t[10]);
    gyrena::updateEndLongDir(location, t[11]);
    return gyrena::computeRoute(location, gyrena::ResultState{}, ".");
}

void BM_CalcsFromTexts(benchmark::State& state)
{
    const Route& route = kRoutes[static_cast<std::size_t>(state.range(0))];
    state.SetLabel(route.name);
    for (auto _ : state) {
        gyrena::RouteRun run = computeFromTexts(route);
        benchmark::DoNotOptimize(run);
    }
}
BENCHMARK(BM_CalcsFromTexts)->DenseRange(0, static_cast<int>(kRoutes.size()) - 1);

// All ten routes in turn, reported per route: the figure for the table.
void BM_CalcsFromTexts_AllRoutes(benchmark::State& state)
{
    for (auto _ : state) {
        for (const Route& route : kRoutes) {
            gyrena::RouteRun run = computeFromTexts(route);
            benchmark::DoNotOptimize(run);
        }
    }
    state.counters["per_route"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kRoutes.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalcsFromTexts_AllRoutes);

// Baseline: only the twelve leading-number reads of the same texts (the letters are not
// numbers, but the rule reads them as 0 like any other text).
void BM_Baseline_LeadingNumbers_AllRoutes(benchmark::State& state)
{
    for (auto _ : state) {
        for (const Route& route : kRoutes) {
            for (std::string_view text : route.texts) {
                double value = gyrena::leadingNumberValue(text);
                benchmark::DoNotOptimize(value);
            }
        }
    }
    state.counters["per_route"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kRoutes.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Baseline_LeadingNumbers_AllRoutes);

// Baseline: Calcs alone from a prepared location state, to split the figure into its parts.
void BM_CalcsOnly_AllRoutes(benchmark::State& state)
{
    std::array<gyrena::LocationState, kRoutes.size()> locations;
    for (std::size_t i = 0; i < kRoutes.size(); ++i) {
        const auto& t = kRoutes[i].texts;
        gyrena::updateStartLat(locations[i], t[0], t[1]);
        gyrena::updateStartLong(locations[i], t[2], t[3]);
        gyrena::updateEndLat(locations[i], t[4], t[5]);
        gyrena::updateEndLong(locations[i], t[6], t[7]);
        gyrena::updateStartLatDir(locations[i], t[8]);
        gyrena::updateStartLongDir(locations[i], t[9]);
        gyrena::updateEndLatDir(locations[i], t[10]);
        gyrena::updateEndLongDir(locations[i], t[11]);
    }
    for (auto _ : state) {
        for (const gyrena::LocationState& location : locations) {
            gyrena::RouteRun run = gyrena::computeRoute(location, gyrena::ResultState{}, ".");
            benchmark::DoNotOptimize(run);
        }
    }
    state.counters["per_route"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kRoutes.size()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalcsOnly_AllRoutes);

} // namespace

BENCHMARK_MAIN();
