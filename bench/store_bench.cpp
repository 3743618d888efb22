// One write of a best score through the QSettings store into a folder on
// this machine's disk: the time a game over waits for it. Each repetition
// reports the median and the worst of its writes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

#include "store/hiscore_store.h"
#include "app/qsettings_backend.h"

namespace {

using Clock = std::chrono::steady_clock;

// Arg 0: the first write creates the file; 1: every write replaces a file
// that holds both scores, as after the first game over.
void StoreWrite(benchmark::State& state) {
  const QTemporaryDir config;  // under TMPDIR, /tmp by default
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  wuffel::QSettingsBackend backend;
  wuffel::HiScoreStore store(backend, wuffel::kHiScoreKey);
  const bool replacing = state.range(0) == 1;
  if (replacing) {
    store.writeInteger("", "HiScoreA", 100);
    store.writeInteger("", "HiScoreB", 100);
  }
  std::vector<double> ms;
  std::int32_t score = 130;
  for (auto _ : state) {
    if (!replacing) QFile::remove(backend.location());
    const auto start = Clock::now();
    store.writeInteger("", "HiScoreA", score++);
    const double t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ms.push_back(t);
    state.SetIterationTime(t / 1000);
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["worst_ms"] = ms.back();
}
BENCHMARK(StoreWrite)->Arg(0)->Arg(1)->UseManualTime()->Iterations(200)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
