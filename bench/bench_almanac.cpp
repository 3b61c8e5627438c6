// The navigator's almanac of the 100-place voyage (397 rows): variation, Sun, zone and local
// time at every row, once the data are loaded; and what the first use of each piece of data
// costs (the magnetic model and the time-zone map read and checked, the rule at the end of one
// zone's tzdata file).
//
//     build/ci/bench/bench_almanac --benchmark_repetitions=9

#include "bench/hundredplaces.h"
#include "geo/almanac.h"
#include "io/earth/earth.h"
#include "io/files/regularfile.h"

#include <benchmark/benchmark.h>

namespace {

using namespace gyrena;

void BM_PlanHundredPlaces(benchmark::State& state)
{
    const Voyage voyage = hundredPlaces();
    for (auto _ : state)
        benchmark::DoNotOptimize(planVoyage(voyage).rows.data());
}
BENCHMARK(BM_PlanHundredPlaces)->Unit(benchmark::kMillisecond);

void BM_AlmanacHundredPlaces(benchmark::State& state)
{
    const VoyagePlan plan = planVoyage(hundredPlaces());
    (void)almanacFor(plan, 0, programEarth()); // the data loaded, each zone's file read once
    for (auto _ : state)
        benchmark::DoNotOptimize(almanacFor(plan, 0, programEarth()).rows.data());
    state.counters["rows"] = double(plan.rows.size());
}
BENCHMARK(BM_AlmanacHundredPlaces)->Unit(benchmark::kMillisecond);

void BM_ReadMagneticModel(benchmark::State& state)
{
    for (auto _ : state) {
        auto read = readMagneticModel(builtInMagneticMetadata(), builtInMagneticCoefficients());
        const MagneticModel model(std::get<MagneticCoefficients>(std::move(read)));
        benchmark::DoNotOptimize(&model);
    }
}
BENCHMARK(BM_ReadMagneticModel)->Unit(benchmark::kMicrosecond);

void BM_ReadTimeZoneMap(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(readTimeZoneMap(builtInTimeZoneBytes()));
}
BENCHMARK(BM_ReadTimeZoneMap)->Unit(benchmark::kMicrosecond);

void BM_ReadZoneRule(benchmark::State& state)
{
    for (auto _ : state) {
        auto file = RegularFile::open("/usr/share/zoneinfo/Europe/Lisbon");
        auto bytes = std::get<RegularFile>(file).readAtMost(kMaxZoneFileBytes);
        benchmark::DoNotOptimize(readZoneFileRule(std::get<std::string>(bytes)));
    }
}
BENCHMARK(BM_ReadZoneRule)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
