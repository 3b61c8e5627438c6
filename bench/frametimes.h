#pragma once

// The times of the frames (or steps) of an interaction, for their 95th percentile: wall time, as
// the user waits it, and the thread's CPU time, which a shared machine's other jobs do not
// lengthen.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace gyrena::bench {

class FrameTimes
{
public:
    void start()
    {
        m_wall = now(CLOCK_MONOTONIC);
        m_cpu = now(CLOCK_THREAD_CPUTIME_ID);
    }
    void stop()
    {
        m_walls.push_back((now(CLOCK_MONOTONIC) - m_wall) * 1e3);
        m_cpus.push_back((now(CLOCK_THREAD_CPUTIME_ID) - m_cpu) * 1e3);
    }
    // Counters p95_ms (wall) and p95_cpu_ms.
    void report(benchmark::State& state)
    {
        state.counters["p95_ms"] = percentile95(m_walls);
        state.counters["p95_cpu_ms"] = percentile95(m_cpus);
    }

private:
    static double now(clockid_t clock)
    {
        timespec t{};
        clock_gettime(clock, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
    static double percentile95(std::vector<double> times)
    {
        if (times.empty())
            return 0;
        std::sort(times.begin(), times.end());
        return times[std::min(times.size() - 1, std::size_t(0.95 * double(times.size())))];
    }

    double m_wall = 0;
    double m_cpu = 0;
    std::vector<double> m_walls;
    std::vector<double> m_cpus;
};

} // namespace gyrena::bench
