#include "web/pcm_wave.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/error.h"

namespace wuffel::web {

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 16;
constexpr std::size_t kMaxDecodedBytes = 64u * 1024u * 1024u;

constexpr std::uint16_t kTagPcm = 1;
constexpr std::uint16_t kTagFloat = 3;
constexpr std::uint16_t kTagExtensible = 0xFFFE;

[[noreturn]] void fail(const std::string& name, const std::string& why) {
  throw WuffelError("Cannot open sound file " + name + ": " + why);
}

std::uint32_t le(const unsigned char* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

struct Format {
  std::uint16_t tag = 0;
  int channels = 0;
  int rate = 0;
  int bits = 0;
};

std::int16_t sampleAt(const unsigned char* p, const Format& f) {
  const int bytes = f.bits / 8;
  if (f.tag == kTagFloat) {
    double v;
    if (bytes == 4) {
      float x;
      std::memcpy(&x, p, 4);
      v = x;
    } else {
      std::memcpy(&v, p, 8);
    }
    if (!(v == v)) v = 0;  // NaN
    return static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767));
  }
  if (bytes == 1) return static_cast<std::int16_t>((p[0] - 128) * 256);
  // The two most significant bytes of a little-endian signed sample.
  return static_cast<std::int16_t>(le(p + bytes - 2, 2));
}

}  // namespace

DecodedSound readPcmWave(const std::string& name, const unsigned char* data, std::size_t size, int sizedRate,
                         int sizedChannels) {
  if (size == 0) fail(name, "the file is empty");
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
    fail(name, "it is not a wave file");

  Format format;
  bool haveFormat = false;
  const unsigned char* samples = nullptr;
  std::size_t sampleBytes = 0;
  for (std::size_t at = 12; at + 8 <= size;) {
    const std::uint32_t chunk = le(data + at + 4, 4);
    const std::size_t body = at + 8;
    const std::size_t inFile = std::min<std::size_t>(chunk, size - body);
    if (std::memcmp(data + at, "fmt ", 4) == 0 && inFile >= 16) {
      format.tag = static_cast<std::uint16_t>(le(data + body, 2));
      format.channels = static_cast<int>(le(data + body + 2, 2));
      format.rate = static_cast<int>(std::min<std::uint32_t>(le(data + body + 4, 4), INT32_MAX));
      format.bits = static_cast<int>(le(data + body + 14, 2));
      // The extensible header names its encoding by the first two bytes of a GUID.
      if (format.tag == kTagExtensible && inFile >= 26) format.tag = static_cast<std::uint16_t>(le(data + body + 24, 2));
      haveFormat = true;
    } else if (std::memcmp(data + at, "data", 4) == 0 && haveFormat) {
      samples = data + body;
      sampleBytes = inFile;  // a header may claim more than the file holds
      break;
    }
    if (chunk > size - body) break;
    at = body + chunk + (chunk & 1);
  }
  if (!haveFormat) fail(name, "its header is damaged (no format chunk)");

  const bool integer = format.tag == kTagPcm && format.bits % 8 == 0 && format.bits >= 8 && format.bits <= 32;
  const bool real = format.tag == kTagFloat && (format.bits == 32 || format.bits == 64);
  if (!integer && !real) fail(name, "its sound encoding is not supported");
  if (format.rate < kMinRate || format.rate > kMaxRate)
    fail(name, "its sample rate of " + std::to_string(format.rate) + " Hz is not usable");
  if (format.channels < 1 || format.channels > kMaxChannels)
    fail(name, "its channel count of " + std::to_string(format.channels) + " is not usable");
  if (!samples) fail(name, "its header is damaged (no data chunk)");

  const std::size_t frameBytes = static_cast<std::size_t>(format.channels) * (format.bits / 8);
  const std::int64_t frames = static_cast<std::int64_t>(sampleBytes / frameBytes);
  if (frames == 0) fail(name, "it contains no sound");
  const double ratio = static_cast<double>(sizedRate) / format.rate;
  const double maxFrames =
      static_cast<double>(kMaxDecodedBytes) / sizeof(float) / std::max(format.channels, sizedChannels);
  if (frames > maxFrames || frames * ratio > maxFrames) fail(name, "it is too long (more than 64 MiB of decoded sound)");

  DecodedSound sound;
  sound.sampleRate = format.rate;
  sound.channels = format.channels;
  sound.lengthMs = frames * 1000 / format.rate;
  sound.samples.resize(static_cast<std::size_t>(frames) * format.channels);
  const int bytes = format.bits / 8;
  for (std::size_t i = 0; i < sound.samples.size(); ++i) sound.samples[i] = sampleAt(samples + i * bytes, format);
  return sound;
}

}  // namespace wuffel::web
