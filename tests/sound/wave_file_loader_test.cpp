#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/error.h"
#include "sound/wave_file_loader.h"

namespace wuffel {
namespace {

namespace fs = std::filesystem;

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("wuffel-sound-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "SOUND");
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path writeWave(const std::string& rel, int rate, int channels,
                     const std::vector<std::int16_t>& samples,
                     int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    const fs::path p = dir / rel;
    fs::create_directories(p.parent_path());
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(p.c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr) << sf_strerror(nullptr);
    if (!f) return p;
    sf_writef_short(f, samples.data(), static_cast<sf_count_t>(samples.size() / channels));
    sf_close(f);
    return p;
  }

  void writeBytes(const std::string& rel, const std::string& bytes) {
    std::ofstream(dir / rel, std::ios::binary) << bytes;
  }

  std::string readBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The message of the error a load raises, or "" when it loads.
  std::string loadError(const std::string& stored, int rate = 22050, int channels = 1) {
    try {
      WaveFileLoader(rate, channels, dir).load(stored);
    } catch (const WuffelError& e) {
      return e.what();
    }
    return "";
  }

  fs::path dir;
};

std::vector<std::int16_t> sine(int rate, int frames, double freq, double amp = 10000) {
  std::vector<std::int16_t> v;
  for (int i = 0; i < frames; ++i)
    v.push_back(static_cast<std::int16_t>(std::lround(amp * std::sin(2 * M_PI * freq * i / rate))));
  return v;
}

TEST(StoredNames, BecomeRelativePaths) {
  EXPECT_EQ(WaveFileLoader::relativeName(".\\SOUND\\BACK.WAV"), "SOUND/BACK.WAV");
  EXPECT_EQ(WaveFileLoader::relativeName("SOUND/HIT.WAV"), "SOUND/HIT.WAV");
}

TEST_F(LoaderTest, ReadsAtTheOutputRateUnchanged) {
  const auto samples = sine(22050, 1000, 440);
  writeWave("SOUND/BACK.WAV", 22050, 1, samples);
  SoundPtr s = WaveFileLoader(22050, 1, dir).load(".\\SOUND\\BACK.WAV");
  EXPECT_EQ(s->sampleRate, 22050);
  EXPECT_EQ(s->channels, 1);
  EXPECT_EQ(s->samples, samples);
  EXPECT_EQ(s->lengthMs, 45);  // 1000 frames at 22050 Hz, rounded down
}

TEST_F(LoaderTest, ResamplesToTheOutputRateKeepingLengthAndLevel) {
  writeWave("SOUND/BALL.WAV", 44100, 1, sine(44100, 44100, 440));
  SoundPtr s = WaveFileLoader(22050, 1, dir).load(".\\SOUND\\BALL.WAV");
  EXPECT_EQ(s->lengthMs, 1000);
  EXPECT_NEAR(static_cast<double>(s->frames()), 22050, 4);
  int peak = 0;
  for (std::size_t i = 1000; i < 20000; ++i) peak = std::max(peak, std::abs(int(s->samples[i])));
  EXPECT_NEAR(peak, 10000, 300);

  writeWave("SOUND/HIT.WAV", 8000, 1, sine(8000, 800, 300));
  SoundPtr up = WaveFileLoader(48000, 1, dir).load(".\\SOUND\\HIT.WAV");
  EXPECT_EQ(up->lengthMs, 100);
  EXPECT_NEAR(static_cast<double>(up->frames()), 4800, 4);
}

TEST_F(LoaderTest, MixesStereoDownAndMonoUp) {
  std::vector<std::int16_t> stereo;
  for (int i = 0; i < 100; ++i) {
    stereo.push_back(1000);
    stereo.push_back(3000);
  }
  writeWave("SOUND/S.WAV", 22050, 2, stereo);
  SoundPtr mono = WaveFileLoader(22050, 1, dir).load("SOUND/S.WAV");
  ASSERT_EQ(mono->frames(), 100);
  for (auto v : mono->samples) EXPECT_EQ(v, 2000);

  writeWave("SOUND/M.WAV", 22050, 1, std::vector<std::int16_t>(50, -700));
  SoundPtr two = WaveFileLoader(22050, 2, dir).load("SOUND/M.WAV");
  ASSERT_EQ(two->channels, 2);
  ASSERT_EQ(two->frames(), 50);
  for (auto v : two->samples) EXPECT_EQ(v, -700);
}

TEST_F(LoaderTest, MatchesFolderAndFileNamesIgnoringCase) {
  fs::remove_all(dir / "SOUND");
  writeWave("sound/Back.wav", 22050, 1, std::vector<std::int16_t>(441, 5));
  SoundPtr s = WaveFileLoader(22050, 1, dir).load(".\\SOUND\\BACK.WAV");
  EXPECT_EQ(s->lengthMs, 20);
}

TEST_F(LoaderTest, MissingFileIsNamedInPlainWords) {
  EXPECT_EQ(loadError(".\\SOUND\\BACK.WAV"),
            "Cannot open sound file SOUND/BACK.WAV: the file does not exist");
  fs::remove_all(dir / "SOUND");
  EXPECT_EQ(loadError(".\\SOUND\\BACK.WAV"),
            "Cannot open sound file SOUND/BACK.WAV: the file does not exist");
}

TEST_F(LoaderTest, RejectsWhatIsNotAPlayableWaveFile) {
  writeBytes("SOUND/EMPTY.WAV", "");
  EXPECT_EQ(loadError("SOUND/EMPTY.WAV"), "Cannot open sound file SOUND/EMPTY.WAV: the file is empty");

  writeBytes("SOUND/TEXT.WAV", "This is a note, not a sound.\n");
  EXPECT_EQ(loadError("SOUND/TEXT.WAV"),
            "Cannot open sound file SOUND/TEXT.WAV: it is not a wave file");

  writeWave("SOUND/AIFF.WAV", 22050, 1, std::vector<std::int16_t>(100, 1),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  EXPECT_EQ(loadError("SOUND/AIFF.WAV"),
            "Cannot open sound file SOUND/AIFF.WAV: it is not a wave file");

  writeWave("SOUND/NONE.WAV", 22050, 1, {});
  EXPECT_EQ(loadError("SOUND/NONE.WAV"),
            "Cannot open sound file SOUND/NONE.WAV: it contains no sound");

  writeWave("SOUND/GSM.WAV", 8000, 1, sine(8000, 1600, 200), SF_FORMAT_WAV | SF_FORMAT_GSM610);
  EXPECT_EQ(loadError("SOUND/GSM.WAV"),
            "Cannot open sound file SOUND/GSM.WAV: its sound encoding is not supported");

  fs::create_directories(dir / "SOUND/DIR.WAV");
  EXPECT_EQ(loadError("SOUND/DIR.WAV"), "Cannot open sound file SOUND/DIR.WAV: it is not a file");
}

TEST_F(LoaderTest, RefusesMoreThan64MiBOfDecodedSound) {
  // 50 s at 1000 Hz is small on disk but 19.2 million frames at 384 kHz
  writeWave("SOUND/LONG.WAV", 1000, 1, std::vector<std::int16_t>(50000, 1));
  EXPECT_EQ(loadError("SOUND/LONG.WAV", 384000),
            "Cannot open sound file SOUND/LONG.WAV: it is too long (more than 64 MiB of "
            "decoded sound)");
}

// Builds a canonical 16-bit PCM header with the fields a test wants to lie in.
std::string waveHeader(std::uint32_t rate, std::uint16_t channels, std::uint32_t dataBytes) {
  auto u32 = [](std::uint32_t v) {
    return std::string{char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                       char((v >> 24) & 0xff)};
  };
  auto u16 = [](std::uint16_t v) { return std::string{char(v & 0xff), char(v >> 8)}; };
  const std::uint16_t block = static_cast<std::uint16_t>(channels * 2);
  return "RIFF" + u32(36 + dataBytes) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(channels) +
         u32(rate) + u32(rate * block) + u16(block) + u16(16) + "data" + u32(dataBytes);
}

TEST_F(LoaderTest, DamagedFilesFailCleanlyOrLoadWhatIsThere) {
  const fs::path good = writeWave("SOUND/GOOD.WAV", 22050, 1, sine(22050, 2205, 440));
  const std::string bytes = readBytes(good);

  // cut anywhere, from inside the header to inside the data
  for (std::size_t cut : {4u, 12u, 30u, 44u, 45u, 46u, 1000u, 2000u}) {
    writeBytes("SOUND/CUT.WAV", bytes.substr(0, cut));
    const std::string err = loadError("SOUND/CUT.WAV");
    if (err.empty()) {
      SoundPtr s = WaveFileLoader(22050, 1, dir).load("SOUND/CUT.WAV");
      EXPECT_LE(s->frames(), 2205) << cut;
      EXPECT_GT(s->frames(), 0) << cut;
    } else {
      EXPECT_EQ(err.rfind("Cannot open sound file SOUND/CUT.WAV: ", 0), 0u) << err;
    }
  }

  // a header claiming far more data than follows
  writeBytes("SOUND/LIE.WAV", waveHeader(22050, 1, 0x7ffffff0) + std::string(200, '\x10'));
  const std::string lie = loadError("SOUND/LIE.WAV");
  if (lie.empty()) {
    EXPECT_LE(WaveFileLoader(22050, 1, dir).load("SOUND/LIE.WAV")->frames(), 100);
  }

  // absurd rates and channel counts
  for (auto [rate, channels] : {std::pair<std::uint32_t, std::uint16_t>{1, 1},
                                {0, 1},
                                {22050, 0},
                                {22050, 200},
                                {4000000000u, 1}}) {
    writeBytes("SOUND/ODD.WAV", waveHeader(rate, channels, 400) + std::string(400, '\x01'));
    EXPECT_FALSE(loadError("SOUND/ODD.WAV").empty()) << rate << " Hz, " << channels;
  }

  // garbage behind a valid-looking start, and plain noise
  std::string noise;
  unsigned x = 12345;
  for (int i = 0; i < 5000; ++i) {
    x = x * 1103515245u + 12345u;
    noise.push_back(static_cast<char>(x >> 16));
  }
  writeBytes("SOUND/NOISE.WAV", noise);
  EXPECT_FALSE(loadError("SOUND/NOISE.WAV").empty());
  writeBytes("SOUND/RIFFNOISE.WAV", "RIFF\x10\x00\x00\x00WAVE" + noise);
  loadError("SOUND/RIFFNOISE.WAV");  // either way, without crashing
}

}  // namespace
}  // namespace wuffel
