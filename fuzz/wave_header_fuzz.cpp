// Feeds arbitrary bytes to the wave header reader that the browser edition
// opens its sounds with. A clean WuffelError is the expected answer to a bad
// file; anything else (a crash, a sanitizer report, another exception, a
// sound whose format breaks the reader's own limits) is a fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/error.h"
#include "sound/wave_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace wave = wuffel::wave;
  wave::Header header;
  if (wave::readHeader(data, size, header) && header.dataBytes > size) std::abort();
  for (const auto& [rate, channels] : {std::pair{48000, 2}, std::pair{22050, 1}}) {
    try {
      const wuffel::DecodedSound s = wave::soundOfHeader("FUZZ.WAV", data, size, rate, channels);
      if (s.sampleRate < wave::kMinRate || s.sampleRate > wave::kMaxRate || s.channels < 1 ||
          s.channels > wave::kMaxChannels || s.lengthMs < 0 || !s.samples.empty())
        std::abort();
    } catch (const wuffel::WuffelError&) {
    }
  }
  return 0;
}
