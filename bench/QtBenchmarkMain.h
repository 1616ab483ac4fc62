#pragma once
// The main() of a benchmark that needs Qt's GUI classes: one QApplication, offscreen unless the
// caller chose a platform, then the registered benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <functional>

// Runs the benchmarks; registerMore, when given, registers further ones once Qt is up.
inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& registerMore = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (registerMore)
        registerMore();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
