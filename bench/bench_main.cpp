#include <benchmark/benchmark.h>

// One main for all benchmark files of losfix_bench.
BENCHMARK_MAIN();
