// The one main() of the benchmark executable; benchmark cases live in the other bench/*.cpp files.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
