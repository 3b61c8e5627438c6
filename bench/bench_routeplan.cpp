// A route plan as gyrena-route --plan and the route window make it: 36 waypoints at every
// 5 degrees of longitude with their rhumb-line legs, the vertex, the rhumb line and the WGS84
// geodesic. Goal: at most 20 us per plan.
//
// Baselines in the same run: the WGS84 geodesic alone (GeographicLib's Inverse, which every
// plan includes), and the same plan by distance spacing.
//
//     build-perf/bench/bench_routeplan --benchmark_repetitions=9
//     --benchmark_report_aggregates_only=true

#include "geo/routeplan.h"

#include <GeographicLib/Geodesic.hpp>
#include <benchmark/benchmark.h>

namespace {

// From 1 E to 171 E: the meridians 5 E .. 170 E, 34 of them, between start and end.
constexpr gyrena::LatLon kStart{40.0, 1.0};
constexpr gyrena::LatLon kEnd{-30.0, 171.0};

void planEvery5Degrees(benchmark::State& state)
{
    gyrena::PlanOptions options;
    options.everyDegrees = 5;
    std::size_t waypoints = 0;
    for (auto _ : state) {
        const gyrena::RoutePlan plan = gyrena::planRoute(kStart, kEnd, options);
        waypoints = plan.waypoints.size();
        benchmark::DoNotOptimize(plan);
    }
    state.counters["waypoints"] = static_cast<double>(waypoints);
    if (waypoints != 36)
        state.SkipWithError("the route no longer has 36 waypoints");
}
BENCHMARK(planEvery5Degrees);

void planEvery300Nm(benchmark::State& state)
{
    gyrena::PlanOptions options;
    options.spacing = gyrena::PlanOptions::Spacing::Distance;
    options.everyNm = 300.0;
    std::size_t waypoints = 0;
    for (auto _ : state) {
        const gyrena::RoutePlan plan = gyrena::planRoute(kStart, kEnd, options);
        waypoints = plan.waypoints.size();
        benchmark::DoNotOptimize(plan);
    }
    state.counters["waypoints"] = static_cast<double>(waypoints);
}
BENCHMARK(planEvery300Nm);

void wgs84InverseAlone(benchmark::State& state)
{
    const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
    for (auto _ : state) {
        double s12 = 0.0, azi1 = 0.0, azi2 = 0.0;
        wgs84.Inverse(kStart.latitude, kStart.longitude, kEnd.latitude, kEnd.longitude, s12, azi1,
                      azi2);
        benchmark::DoNotOptimize(s12);
        benchmark::DoNotOptimize(azi1);
        benchmark::DoNotOptimize(azi2);
    }
}
BENCHMARK(wgs84InverseAlone);

} // namespace

BENCHMARK_MAIN();
