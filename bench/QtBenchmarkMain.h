#pragma once
// The main() of a benchmark that needs Qt's GUI classes: one QApplication, offscreen unless the
// caller chose a platform, then the registered benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>

#include <functional>
#include <string>
#include <vector>

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

// The same, with the repetitions of all benchmarks taking turns in random order unless the command
// line chose otherwise: before and after, or two ways of doing a thing, then meet the same moments
// of a busy machine.
inline int RunQtBenchmarksTakingTurns(int argc, char** argv, const std::function<void()>& registerMore) {
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool chosen = false;
    for (char* argument : arguments)
        chosen = chosen || std::string(argument).rfind("--benchmark_enable_random_interleaving", 0) == 0;
    if (!chosen)
        arguments.push_back(interleave.data());
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    return RunQtBenchmarks(count, arguments.data(), registerMore);
}
