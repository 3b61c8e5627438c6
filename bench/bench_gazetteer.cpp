// The gazetteer: the first read of the built-in asset (time and memory) and searches on it,
// one at a time, over real queries as a user types them, from one letter on.
#include "io/places/gazetteerasset.h"
#include "io/places/placesearch.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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

// Typed as users type: every prefix of whole names and codes, one to five letters included.
std::vector<std::string> realQueries()
{
    const char* const typed[] = {"funchal",   "sao paulo",     "zurich",         "reykjavik",
                                 "london",    "new york",      "portland, us",   "paris, france",
                                 "sydney",    "tokyo",         "rio de janeiro", "st johns",
                                 "heathrow",  "san francisco", "buenos aires",   "cape town",
                                 "singapore", "los angeles"};
    std::vector<std::string> queries;
    for (const std::string word : typed)
        for (std::size_t n = 1; n <= word.size(); ++n)
            queries.push_back(word.substr(0, n));
    for (const char* code : {"SYD", "YSSY", "LHR", "EGLL", "JFK", "FNC", "LPMA", "s", "a", "m"})
        queries.emplace_back(code);
    return queries;
}

void BM_GazetteerFirstRead(benchmark::State& state)
{
    // The process's one real first read: memory as the window would see it.
    static const double addedMiB = [] {
        const long before = residentKiB();
        if (!std::holds_alternative<gyrena::Gazetteer>(gyrena::builtInGazetteer()))
            std::abort();
        return double(residentKiB() - before) / 1024.0;
    }();
    state.counters["rss_added_MiB"] = addedMiB;
    state.counters["asset_bytes"] = double(gyrena::builtInGazetteerBytes().size());
    for (auto _ : state) {
        auto read = gyrena::readGazetteer(std::string(gyrena::builtInGazetteerBytes()));
        if (!std::holds_alternative<gyrena::Gazetteer>(read))
            std::abort();
        benchmark::DoNotOptimize(read);
    }
}
BENCHMARK(BM_GazetteerFirstRead)->Unit(benchmark::kMillisecond);

// Each query on its own, as the window runs it at every keystroke (50 answers); the counters
// give the median, 99th percentile and worst of the queries' times.
void BM_GazetteerQueries(benchmark::State& state)
{
    const auto& gazetteer = std::get<gyrena::Gazetteer>(gyrena::builtInGazetteer());
    const std::vector<std::string> queries = realQueries();
    std::vector<double> micros;
    for (auto _ : state) {
        micros.clear();
        for (const std::string& query : queries) {
            const auto start = std::chrono::steady_clock::now();
            auto matches = gyrena::findPlaces(gazetteer, query, 50);
            benchmark::DoNotOptimize(matches);
            micros.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                    .count());
        }
    }
    std::sort(micros.begin(), micros.end());
    const auto at = [&](double q) {
        return micros[std::min(micros.size() - 1, std::size_t(q * double(micros.size())))];
    };
    state.counters["queries"] = double(queries.size());
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["max_us"] = micros.back();
}
BENCHMARK(BM_GazetteerQueries)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
