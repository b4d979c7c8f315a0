// One reading of the time of day, which the instruments make many times a
// second.

#include <benchmark/benchmark.h>

#include "platform/clock.h"

namespace {

void BM_TimeOfDay(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Clock::TimeOfDay());
}
BENCHMARK(BM_TimeOfDay);

} // namespace

BENCHMARK_MAIN();
