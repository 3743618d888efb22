// How fast a day of random play runs: virtual time over wall time.
#include <benchmark/benchmark.h>

#include "platform/ports.h"
#include "sim/day_of_play.h"

namespace wuffel {
namespace {

void DayOfPlay(benchmark::State& state) {
  std::uint32_t seed = 1;
  double virtualSeconds = 0;
  for (auto _ : state) {
    const auto day = sim::playDay(seed++, kMillisecondsPerDay);
    if (!day.violations.empty()) state.SkipWithError(day.violations.front().c_str());
    virtualSeconds += static_cast<double>(day.virtualMs) / 1000.0;
  }
  state.counters["virtual s/s"] = benchmark::Counter(virtualSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(DayOfPlay)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace
}  // namespace wuffel

BENCHMARK_MAIN();
