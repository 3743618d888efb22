#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "sound/mixer.h"

namespace {

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

}  // namespace

BENCHMARK_MAIN();
