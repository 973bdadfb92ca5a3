// The tail of every benchmark program's main(): once main() has made the
// application object and whatever the benchmarks measure, run them.
#pragma once

#include <benchmark/benchmark.h>

inline int runBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
