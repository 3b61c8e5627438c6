#pragma once

// The main() of a benchmark that needs widgets: offscreen unless a platform is set, one
// QApplication, then Google Benchmark. A benchmark that measures a fresh process (a first show,
// a first paint) starts itself again with `childVariable` set and runs `child` instead.

#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

namespace gyrena::bench {

inline int runQtBenchmarks(int argc, char** argv, const char* childVariable = nullptr,
                           int (*child)() = nullptr)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (childVariable && child && qEnvironmentVariableIsSet(childVariable))
        return child();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace gyrena::bench
