// The header reader that the builds without libsndfile open sounds with,
// against the decoding loader.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "platform/error.h"
#include "sound/wave_file_loader.h"
#include "sound/wave_header.h"

namespace wuffel {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A wave file of `frames` frames of a ramp, in the given encoding.
std::string waveFile(int tag, int bits, int channels, int rate, int frames, std::uint32_t claimedBytes = 0) {
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  const int block = channels * bits / 8;
  std::string data;
  for (int i = 0; i < frames * channels; ++i) {
    const double v = (i % 200 - 100) / 120.0;
    if (tag == 3) {
      const float f = static_cast<float>(v);
      data.append(reinterpret_cast<const char*>(&f), 4);
    } else if (bits == 8) {
      data += static_cast<char>(128 + static_cast<int>(v * 100));
    } else {
      const auto s = static_cast<std::int32_t>(v * 0x7fff) << (bits - 16);
      for (int b = 0; b < bits / 8; ++b) data += static_cast<char>(s >> (8 * b));
    }
  }
  const std::uint32_t size = claimedBytes ? claimedBytes : static_cast<std::uint32_t>(data.size());
  return "RIFF" + u32(36 + size) + "WAVEfmt " + u32(16) + u16(static_cast<std::uint16_t>(tag)) +
         u16(static_cast<std::uint16_t>(channels)) + u32(rate) + u32(rate * block) +
         u16(static_cast<std::uint16_t>(block)) + u16(static_cast<std::uint16_t>(bits)) + "data" + u32(size) + data;
}

struct Outcome {
  std::int64_t lengthMs = -1;
  int rate = 0;
  int channels = 0;
  std::string error;
};

Outcome desktop(const std::string& bytes) {
  try {
    const auto s = WaveFileLoader().loadBytes("T.WAV", bytes.data(), bytes.size());
    return {s->lengthMs, s->sampleRate, s->channels, {}};
  } catch (const WuffelError& e) {
    return {-1, 0, 0, e.what()};
  }
}

Outcome header(const std::string& bytes) {
  try {
    const auto s =
        wave::soundOfHeader("T.WAV", reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), 48000, 2);
    return {s.lengthMs, s.sampleRate, s.channels, {}};
  } catch (const WuffelError& e) {
    return {-1, 0, 0, e.what()};
  }
}

// Every file the browser edition plays lasts as long as on the desktop, to
// the millisecond; a file the desktop refuses it refuses too.
TEST(WaveHeader, GivesTheLengthTheDecodingLoaderGivesOrRefusesLikeIt) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator("SOUND")) files[entry.path().string()] = bytesOf(entry.path());
  for (const auto& entry : fs::directory_iterator("tests/sound/regressions"))
    files[entry.path().string()] = bytesOf(entry.path());
  for (int bits : {8, 16, 24, 32})
    for (int channels : {1, 2}) files["pcm" + std::to_string(bits) + "x" + std::to_string(channels)] = waveFile(1, bits, channels, 11025, 4321);
  files["float"] = waveFile(3, 32, 1, 44100, 999);
  files["claims more than it holds"] = waveFile(1, 16, 1, 22050, 1000, 100000);
  files["one frame"] = waveFile(1, 16, 1, 8000, 1);
  files["no frame"] = waveFile(1, 16, 1, 8000, 0);
  files["zero rate"] = waveFile(1, 16, 1, 0, 10);
  files["empty"] = "";
  files["not a wave"] = "RIFX0000WAVEfmt ";
  int compared = 0;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    const Outcome d = desktop(bytes);
    const Outcome p = header(bytes);
    if (d.error.empty()) {
      if (p.error.find("its sound encoding is not supported") != std::string::npos) continue;  // ADPCM and the like
      EXPECT_EQ(p.error, "");
      EXPECT_EQ(p.lengthMs, d.lengthMs);
      EXPECT_EQ(p.rate, d.rate);
      EXPECT_EQ(p.channels, d.channels);
      ++compared;
    } else {
      EXPECT_NE(p.error, "") << "the desktop says: " << d.error;
    }
  }
  EXPECT_GE(compared, 16);
  EXPECT_EQ(header("").error, "Cannot open sound file T.WAV: the file is empty");
  EXPECT_EQ(header(waveFile(1, 16, 1, 0, 10)).error, desktop(waveFile(1, 16, 1, 0, 10)).error);
}

}  // namespace
}  // namespace wuffel
