// Feeds arbitrary bytes to the wave loader. A clean WuffelError is the
// expected answer to a bad file; anything else (a crash, a sanitizer report,
// another exception, a sound that breaks its own invariants) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/error.h"
#include "sound/sound_conversion.h"
#include "sound/wave_file_loader.h"
#include "sound/wave_header.h"

namespace {

void check(const wuffel::DecodedSound& s, int rate, int channels) {
  if (s.sampleRate != rate || s.channels != channels || s.samples.empty() ||
      s.samples.size() % static_cast<std::size_t>(channels) != 0 || s.lengthMs < 0 ||
      s.samples.size() * sizeof(std::int16_t) > wuffel::wave::kMaxDecodedBytes)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The game's own format, and a conversion that exercises the resampler
  // and the channel mixing.
  static const wuffel::WaveFileLoader same(22050, 1);
  static const wuffel::WaveFileLoader converting(48000, 2);
  for (const auto* loader : {&same, &converting}) {
    try {
      const wuffel::SoundPtr s = loader->loadBytes("FUZZ.WAV", data, size);
      if (!s) std::abort();
      check(*s, loader == &same ? 22050 : 48000, loader == &same ? 1 : 2);
    } catch (const wuffel::WuffelError&) {
    }
  }
  // The window program's way: the file at its own format, converted to the
  // device's later.
  static const wuffel::WaveFileLoader own;
  try {
    const wuffel::SoundPtr s = own.loadBytes("FUZZ.WAV", data, size);
    if (!s) std::abort();
    check(*s, s->sampleRate, s->channels);
    const wuffel::SoundPtr converted = wuffel::convertSound(*s, 48000, 2);
    if (!converted || converted->sampleRate != 48000 || converted->channels != 2 ||
        converted->samples.size() % 2 != 0)
      std::abort();
  } catch (const wuffel::WuffelError&) {
  }
  return 0;
}
