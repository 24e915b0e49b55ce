// The main() of the benchmarks that need widgets: offscreen unless the
// caller names a platform, so they run the same on a desktop and in CI.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

inline int runQtBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
