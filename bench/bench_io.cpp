// The file layer: reading and checking the largest city list, reading and writing a data file.
#include "bench/citylistgen.h"
#include "io/formats/citylist.h"
#include "io/formats/datafile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

const gyrena::LocationData kRoute = {{"London", "England", "51", "30", "N", "0", "10", "W"},
                                     {"New York", "USA", "40", "43", "N", "74", "0", "W"}};

void BM_ReadCityList(benchmark::State& state)
{
    const std::string bytes = gyrena::bench::makeCityList(static_cast<int>(state.range(0))).bytes;
    for (auto _ : state) {
        auto table = gyrena::readCityList(bytes);
        if (!std::holds_alternative<gyrena::CityTable>(table))
            std::abort();
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_ReadCityList)->Arg(407)->Arg(gyrena::kMaxCityCount)->Unit(benchmark::kMillisecond);

// The same list in Windows-1252 (one non-ASCII byte makes the whole file single-byte text),
// which costs a decoding pass.
void BM_ReadCityListWindows1252(benchmark::State& state)
{
    std::string bytes = gyrena::bench::makeCityList(gyrena::kMaxCityCount).bytes;
    bytes.replace(bytes.find("Norland"), 7, "N\xF6rland");
    for (auto _ : state) {
        auto table = gyrena::readCityList(bytes);
        if (!std::holds_alternative<gyrena::CityTable>(table))
            std::abort();
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadCityListWindows1252)->Unit(benchmark::kMillisecond);

void BM_WriteDataFile(benchmark::State& state)
{
    for (auto _ : state) {
        auto bytes = gyrena::writeDataFile(kRoute);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMicrosecond);

void BM_ReadDataFile(benchmark::State& state)
{
    const std::string bytes = std::get<std::string>(gyrena::writeDataFile(kRoute));
    for (auto _ : state) {
        auto data = gyrena::readDataFile(bytes);
        if (!std::holds_alternative<gyrena::LocationData>(data))
            std::abort();
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
