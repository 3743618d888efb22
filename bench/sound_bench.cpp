#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "sound/channel.h"
#include "sound/mixer.h"
#include "app/qt_audio_output.h"
#include "sound/wall_clock.h"
#include "sound/wave_file_loader.h"

namespace {

using Clock = std::chrono::steady_clock;

wuffel::SoundPtr tone(int rate, int channels, double freq) {
  auto s = std::make_shared<wuffel::DecodedSound>();
  s->sampleRate = rate;
  s->channels = channels;
  const int frames = rate * 60;  // long enough never to end during the run
  s->samples.resize(static_cast<std::size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      s->samples[static_cast<std::size_t>(i) * channels + c] =
          static_cast<std::int16_t>(8000 * std::sin(2 * M_PI * freq * i / rate));
  s->lengthMs = 60000;
  return s;
}

// The output waits for the device only briefly; a benchmark may wait longer.
bool foundDevice(const wuffel::QtAudioOutput& output) {
  for (int i = 0; i < 100 && !output.hasDevice(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return output.hasDevice();
}

// One 10 ms buffer with all six channels sounding.
void MixSixVoices10ms(benchmark::State& state) {
  const int rate = 48000;
  const int channels = static_cast<int>(state.range(0));
  wuffel::Mixer mixer(rate, channels);
  std::vector<wuffel::SoundPtr> sounds;
  for (int v = 0; v < 6; ++v) sounds.push_back(tone(rate, channels, 220.0 * (v + 1)));
  std::vector<std::int16_t> out(static_cast<std::size_t>(rate / 100) * channels);
  std::int64_t frame = 0;
  for (auto _ : state) {
    // restart regularly so the voices never run off the end of the tones
    if (frame % (rate * 50) == 0)
      for (int v = 0; v < 6; ++v) mixer.start(v, sounds[v], 0);
    mixer.mix(out.data(), out.size() / channels);
    benchmark::DoNotOptimize(out.data());
    frame += rate / 100;
  }
}
BENCHMARK(MixSixVoices10ms)->Arg(1)->Arg(2);

// Spins until `mixed()` moves past `before`; the time since `cued`, or a
// negative value after 3 s without it.
template <class Mixed>
double msUntilMixed(Mixed mixed, std::uint64_t before, Clock::time_point cued) {
  while (mixed() == before) {
    if (Clock::now() - cued > std::chrono::seconds(3)) return -1;
    std::this_thread::yield();
  }
  return std::chrono::duration<double, std::milli>(Clock::now() - cued).count();
}

// Keeps one cue's latency as the iteration's time; false when it timed out.
bool recordCue(benchmark::State& state, std::vector<double>& ms, double t) {
  if (t < 0) {
    state.SkipWithError("the cue was not mixed within 3 s");
    return false;
  }
  ms.push_back(t);
  state.SetIterationTime(t / 1000);
  return true;
}

void report(benchmark::State& state, const std::vector<double>& ms) {
  double sum = 0, worst = 0;
  for (double v : ms) {
    sum += v;
    worst = std::max(worst, v);
  }
  state.counters["latency_ms"] = ms.empty() ? 0 : sum / static_cast<double>(ms.size());
  state.counters["worst_ms"] = worst;
}

// Cue on this thread to the sound's first frames leaving mix(), with an
// audio thread that mixes a 10 ms buffer every 10 ms as the feeder does
// while something sounds. Cues fall at varying points of its period.
void CueLatencyMixerOnly(benchmark::State& state) {
  wuffel::Mixer mixer(48000, 2);
  const wuffel::SoundPtr sound = tone(48000, 2, 440);
  std::atomic<bool> running{true};
  std::thread audio([&] {
    std::vector<std::int16_t> out(480 * 2);
    auto next = Clock::now();
    while (running.load()) {
      mixer.mix(out.data(), 480);
      next += std::chrono::milliseconds(10);
      std::this_thread::sleep_until(next);
    }
  });
  std::vector<double> ms;
  int i = 0;
  for (auto _ : state) {
    std::this_thread::sleep_for(std::chrono::microseconds(3700 * (i++ % 7)));
    const std::uint64_t before = mixer.startsMixed();
    const auto cued = Clock::now();
    mixer.start(0, sound, 0);
    const double t = msUntilMixed([&] { return mixer.startsMixed(); }, before, cued);
    if (!recordCue(state, ms, t)) break;
  }
  running = false;
  audio.join();
  report(state, ms);
}
BENCHMARK(CueLatencyMixerOnly)->UseManualTime()->Iterations(70)->Unit(benchmark::kMillisecond);

// The real path: SoundChannel::play on this thread, QtAudioOutput's feeder
// mixing for the default device. Arg 0: the feeder sleeps before each cue
// (nothing sounding); 1: another channel keeps it busy; 2: the stream has
// been corked after a long pause, and the cue uncorks it.
void CueLatencyDevice(benchmark::State& state) {
  const bool busy = state.range(0) == 1;
  const bool corked = state.range(0) == 2;
  wuffel::QtAudioOutput output;
  if (!foundDevice(output)) {
    state.SkipWithError("no audio device");
    return;
  }
  wuffel::WallClock clock;
  wuffel::WaveFileLoader loader(output.sampleRate(), output.channelCount(), WUFFEL_SOURCE_DIR);
  wuffel::SoundChannels channels(clock, loader, output);
  wuffel::SoundChannel& ball = channels[wuffel::ChannelId::MPlayerBall];
  wuffel::SoundChannel& over = channels[wuffel::ChannelId::MPlayerOver];
  ball.open();
  over.open();
  std::vector<double> ms;
  int i = 0;
  for (auto _ : state) {
    if (busy) {
      if (!over.isSounding()) {
        over.rewind();
        over.play();
      }
      std::this_thread::sleep_for(std::chrono::microseconds(3700 * (i++ % 7)));
    } else if (corked) {
      std::this_thread::sleep_for(std::chrono::milliseconds(3500));
    } else {
      // the sound has left the buffer and the feeder has gone to sleep
      std::this_thread::sleep_for(std::chrono::milliseconds(ball.lengthMs() + 150));
    }
    ball.rewind();
    const std::uint64_t before = output.startsMixed();
    const auto cued = Clock::now();
    ball.play();
    const double t = msUntilMixed([&] { return output.startsMixed(); }, before, cued);
    if (!recordCue(state, ms, t)) break;
    if (busy) std::this_thread::sleep_for(std::chrono::milliseconds(ball.lengthMs()));
  }
  channels.closeAll();
  report(state, ms);
  state.counters["rate_hz"] = output.sampleRate();
  state.counters["channels"] = output.channelCount();
}
BENCHMARK(CueLatencyDevice)->Arg(0)->Arg(1)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);
BENCHMARK(CueLatencyDevice)->Arg(2)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

// Bytes of decoded sound each channel holds once open, at an output of
// range(0) Hz and range(1) channels (0, 0: the default device's format).
void DecodedBytesPerChannel(benchmark::State& state) {
  int rate = static_cast<int>(state.range(0));
  int outChannels = static_cast<int>(state.range(1));
  if (rate == 0) {
    wuffel::QtAudioOutput output;
    foundDevice(output);
    rate = output.sampleRate();
    outChannels = output.channelCount();
  }
  wuffel::WaveFileLoader loader(rate, outChannels, WUFFEL_SOURCE_DIR);
  std::size_t total = 0;
  for (auto _ : state) {
    total = 0;
    for (int c = 0; c < wuffel::kChannelCount; ++c) {
      const auto id = static_cast<wuffel::ChannelId>(c);
      const wuffel::SoundPtr s = loader.load(wuffel::channelFileName(id));
      const std::size_t bytes = s->samples.size() * sizeof(std::int16_t);
      state.counters[std::string(wuffel::channelName(id)).substr(7)] = static_cast<double>(bytes);
      total += bytes;
    }
  }
  state.counters["all_six"] = static_cast<double>(total);
  state.counters["rate_hz"] = rate;
  state.counters["channels"] = outChannels;
}
BENCHMARK(DecodedBytesPerChannel)
    ->Args({22050, 1})
    ->Args({44100, 2})
    ->Args({48000, 2})
    ->Args({0, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
