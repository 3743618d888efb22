// One write of a best score through the settings-file store into a folder on
// this machine's disk: the time a game over waits for it. Each repetition
// reports the median and the worst of its writes.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/ini_file_backend.h"
#include "app/settings_file.h"
#include "store/hiscore_store.h"

namespace {

using Clock = std::chrono::steady_clock;

// A file as large as the store reads, of many short values of another group.
QByteArray largestReadFile() {
  QByteArray text = "[General]\nHiScoreA=100\nHiScoreB=100\n[Other]\n";
  for (int i = 0;; ++i) {
    const QByteArray line = "key" + QByteArray::number(i) + "=1\n";
    if (text.size() + line.size() > static_cast<qsizetype>(wuffel::settings_file::kMaxFileSize)) return text;
    text += line;
  }
}

// Arg 0: the first write creates the file; 1: every write replaces a file
// that holds both scores, as after the first game over; 2: every write
// replaces a file as large as the store reads.
void StoreWrite(benchmark::State& state) {
  const QTemporaryDir config;  // under TMPDIR, /tmp by default
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  wuffel::IniFileBackend backend;
  wuffel::HiScoreStore store(backend, wuffel::kHiScoreKey);
  const auto kind = state.range(0);
  store.writeInteger("HiScoreA", 100);
  store.writeInteger("HiScoreB", 100);
  if (kind == 2) {
    QFile file(backend.location());
    file.open(QIODevice::WriteOnly);
    file.write(largestReadFile());
  }
  std::vector<double> ms;
  std::int32_t score = 130;
  for (auto _ : state) {
    if (kind == 0) QFile::remove(backend.location());
    const auto start = Clock::now();
    store.writeInteger("HiScoreA", score++);
    const double t = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    ms.push_back(t);
    state.SetIterationTime(t / 1000);
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["worst_ms"] = ms.back();
}
BENCHMARK(StoreWrite)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(200)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

// Start-up's two reads of a file as large as the store reads.
void StoreReadLargestFile(benchmark::State& state) {
  const QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  wuffel::IniFileBackend backend;
  wuffel::HiScoreStore store(backend, wuffel::kHiScoreKey);
  store.writeInteger("HiScoreA", 100);
  QFile file(backend.location());
  file.open(QIODevice::WriteOnly);
  file.write(largestReadFile());
  file.close();
  for (auto _ : state) {
    benchmark::DoNotOptimize(store.readInteger("HiscoreA", 0));
    benchmark::DoNotOptimize(store.readInteger("HiscoreB", 0));
  }
}
BENCHMARK(StoreReadLargestFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
