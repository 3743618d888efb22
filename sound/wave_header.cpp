#include "sound/wave_header.h"

#include <algorithm>
#include <cstring>

#include "sound/wave_file_loader.h"

namespace wuffel::wave {

namespace {

constexpr std::uint16_t kTagExtensible = 0xFFFE;

std::uint32_t le(const unsigned char* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

bool readHeader(const unsigned char* bytes, std::size_t size, Header& header) {
  header = {};
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::uint32_t chunk = le(bytes + at + 4, 4);
    const std::size_t body = at + 8;
    const std::size_t inFile = std::min<std::size_t>(chunk, size - body);
    if (std::memcmp(bytes + at, "fmt ", 4) == 0 && inFile >= 16) {
      header.tag = static_cast<std::uint16_t>(le(bytes + body, 2));
      header.channels = static_cast<int>(le(bytes + body + 2, 2));
      header.rate = le(bytes + body + 4, 4);
      header.bits = static_cast<int>(le(bytes + body + 14, 2));
      // The extensible header names its encoding by the first two bytes of a GUID.
      if (header.tag == kTagExtensible && inFile >= 26) header.tag = static_cast<std::uint16_t>(le(bytes + body + 24, 2));
      header.hasFormat = true;
    } else if (std::memcmp(bytes + at, "data", 4) == 0 && header.hasFormat) {
      header.hasData = true;
      header.dataBytes = inFile;
      break;
    }
    if (chunk > size - body) break;
    at = body + chunk + (chunk & 1);
  }
  return true;
}

std::string unusableFormat(std::int64_t rate, int channels) {
  if (rate < kMinRate || rate > kMaxRate) return "its sample rate of " + std::to_string(rate) + " Hz is not usable";
  if (channels < 1 || channels > kMaxChannels)
    return "its channel count of " + std::to_string(channels) + " is not usable";
  return {};
}

bool tooLongToDecode(double frames, int rate, int channels, int sizedRate, int sizedChannels) {
  const double ratio = static_cast<double>(sizedRate) / rate;
  const double maxFrames = static_cast<double>(kMaxDecodedBytes) / sizeof(float) / std::max(channels, sizedChannels);
  return frames > maxFrames || frames * ratio > maxFrames;
}

DecodedSound soundOfHeader(const std::string& name, const unsigned char* bytes, std::size_t size, int sizedRate,
                           int sizedChannels) {
  auto failToOpen = WaveFileLoader::failToOpen;
  if (size == 0) failToOpen(name, "the file is empty");
  Header header;
  if (!readHeader(bytes, size, header)) failToOpen(name, "it is not a wave file");
  if (!header.hasFormat) failToOpen(name, "its header is damaged (no format chunk)");
  const bool integer = header.tag == kTagPcm && header.bits % 8 == 0 && header.bits >= 8 && header.bits <= 32;
  const bool real = header.tag == kTagFloat && (header.bits == 32 || header.bits == 64);
  if (!integer && !real) failToOpen(name, "its sound encoding is not supported");
  if (const std::string why = unusableFormat(header.rate, header.channels); !why.empty()) failToOpen(name, why);
  if (!header.hasData) failToOpen(name, "its header is damaged (no data chunk)");

  const std::size_t frameBytes = static_cast<std::size_t>(header.channels) * (header.bits / 8);
  const auto frames = static_cast<std::int64_t>(header.dataBytes / frameBytes);
  if (frames == 0) failToOpen(name, "it contains no sound");
  const int rate = static_cast<int>(header.rate);
  if (tooLongToDecode(static_cast<double>(frames), rate, header.channels, sizedRate, sizedChannels))
    failToOpen(name, kTooLong);

  DecodedSound sound;
  sound.sampleRate = rate;
  sound.channels = header.channels;
  sound.lengthMs = frames * 1000 / rate;
  return sound;
}

}  // namespace wuffel::wave
