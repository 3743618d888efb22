// Play: the cost of one game tick with the repaint it causes, and how fast the
// scenario runner gets through simulated play.
#include <benchmark/benchmark.h>

#include <sstream>

#include "app/face_pictures.h"
#include "sim/virtual_handheld.h"
#include "store/memory_settings.h"
#include "repaint.h"
#include "sim/runner.h"

namespace wuffel {
namespace {

// A player who swings now and then and changes lanes; when a ball gets past,
// play is reset with ACL and a new Game A begins.
class Player {
 public:
  explicit Player(Handheld& handheld) : h_(handheld) {}
  void beginGame() {
    click(ElementId::Puls_ACL);
    click(ElementId::Puls_GameA);
  }
  void act(int tick) {
    if (tick % 3 == 0) h_.keyDown(VirtualKey::Ctrl);
    if (tick % 3 == 1) h_.keyUp(VirtualKey::Ctrl);
    if (tick % 17 == 0) { h_.keyDown(VirtualKey::Up); h_.keyUp(VirtualKey::Up); }
    if (tick % 23 == 0) { h_.keyDown(VirtualKey::Down); h_.keyUp(VirtualKey::Down); }
  }

 private:
  void click(ElementId button) {
    const auto& at = elementInfo(button);
    h_.mousePress(at.left + 1, at.top + 1, MouseButton::Left);
    h_.mouseRelease(at.left + 1, at.top + 1, MouseButton::Left);
  }
  Handheld& h_;
};

void GameTickWithRepaint(benchmark::State& state) {
  static const FacePictures pictures;
  MemorySettings store;
  sim::VirtualHandheld sim({}, store);
  Handheld& h = sim.handheld;
  bench::DirtyRegion dirty;
  h.observeFace(&dirty);
  h.start();
  h.splashPlay();
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage surface(base.width, base.height, QImage::Format_ARGB32_Premultiplied);
  Player player(h);
  player.beginGame();
  dirty.repaint(surface, h.faceState(), pictures);
  long pixels = 0;
  int tick = 0;
  for (auto _ : state) {
    const IntervalTimer& gameTick = h.timerState(TimerId::TimerGioco);
    if (!gameTick.enabled()) {
      state.PauseTiming();
      player.beginGame();
      dirty.repaint(surface, h.faceState(), pictures);
      state.ResumeTiming();
    }
    player.act(++tick);
    sim.advanceTo(sim.now() + gameTick.interval());
    pixels += dirty.repaint(surface, h.faceState(), pictures);
    benchmark::DoNotOptimize(surface.constBits());
  }
  state.counters["pixels/tick"] = benchmark::Counter(static_cast<double>(pixels) / state.iterations());
}
BENCHMARK(GameTickWithRepaint)->Unit(benchmark::kMicrosecond);

// A script of many short games, so that nearly all of its time is play: each
// starts with Game A, the player swings on every other tick, and ACL ends it
// about when the first ball gets past.
constexpr int kSwingsPerGame = 20;
constexpr int kWaitMs = 220;  // before each key press and each release
constexpr int kCtrl = static_cast<int>(VirtualKey::Ctrl);

std::string manyGamesScript(int games) {
  std::ostringstream s;
  s << "utc 10:00:00.014\nsound-dir " WUFFEL_SOURCE_DIR "/SOUND\nstart\nsplash Puls_Play\n";
  const auto& a = elementInfo(ElementId::Puls_GameA);
  const auto& acl = elementInfo(ElementId::Puls_ACL);
  for (int g = 0; g < games; ++g) {
    s << "press " << a.left + 1 << ' ' << a.top + 1 << " left\n"
      << "release " << a.left + 1 << ' ' << a.top + 1 << " left\n";
    for (int i = 0; i < kSwingsPerGame; ++i)
      s << "wait " << kWaitMs << "\nkeydown " << kCtrl << "\nwait " << kWaitMs << "\nkeyup " << kCtrl << '\n';
    s << "press " << acl.left + 1 << ' ' << acl.top + 1 << " left\n"
      << "release " << acl.left + 1 << ' ' << acl.top + 1 << " left\n";
  }
  return s.str();
}

void RunnerSimulatedSecondsPerSecond(benchmark::State& state) {
  const int games = 200;
  const std::string script = manyGamesScript(games);
  const double simulatedSeconds = games * kSwingsPerGame * 2 * kWaitMs / 1000.0;
  std::size_t traceBytes = 0;
  for (auto _ : state) {
    std::istringstream in(script);
    std::ostringstream trace, errors;
    if (sim::runScript(in, trace, errors) != 0) state.SkipWithError(errors.str().c_str());
    traceBytes = trace.str().size();
  }
  state.counters["simulated s/s"] =
      benchmark::Counter(simulatedSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["trace bytes"] = static_cast<double>(traceBytes);
}
BENCHMARK(RunnerSimulatedSecondsPerSecond)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wuffel
