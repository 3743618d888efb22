#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace wuffel {

// The format most audio devices run at: what a device that prefers none
// that suits is asked for, and what a sound kept at its own format is
// sized for.
inline constexpr int kCommonDeviceRate = 48000;
inline constexpr int kCommonDeviceChannels = 2;

// A whole sound file, decoded and converted to the output's rate and channel
// count, interleaved. Immutable once loaded, so the audio thread may read it
// without locking.
struct DecodedSound {
  int sampleRate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;
  // Length of the file as its own header rate gives it, rounded down.
  std::int64_t lengthMs = 0;

  std::int64_t frames() const {
    return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
  }
};

using SoundPtr = std::shared_ptr<const DecodedSound>;

class SoundLoader {
 public:
  virtual ~SoundLoader() = default;
  // storedName is the file name as the game stores it (".\\SOUND\\BACK.WAV").
  // Throws WuffelError with a plain-words message.
  virtual SoundPtr load(std::string_view storedName) = 0;
};

}  // namespace wuffel
