#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/error.h"
#include "sound/sound_conversion.h"
#include "sound/wave_file_loader.h"
#include "sound/wave_header.h"

namespace wuffel {
namespace {

namespace fs = std::filesystem;

std::vector<std::int16_t> sine(int rate, int frames, double freq) {
  std::vector<std::int16_t> v;
  for (int i = 0; i < frames; ++i)
    v.push_back(static_cast<std::int16_t>(std::lround(10000 * std::sin(2 * M_PI * freq * i / rate))));
  return v;
}

// Canonical 16-bit PCM header whose fields a test may make lie.
std::string waveHeader(std::uint32_t rate, std::uint16_t channels, std::uint32_t dataBytes) {
  auto u32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  auto u16 = [](std::uint16_t v) { return std::string{char(v), char(v >> 8)}; };
  const auto block = static_cast<std::uint16_t>(channels * 2);
  return "RIFF" + u32(36 + dataBytes) + "WAVEfmt " + u32(16) + u16(1) + u16(channels) + u32(rate) +
         u32(rate * block) + u16(block) + u16(16) + "data" + u32(dataBytes);
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("wuffel-sound-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "SOUND");
  }
  void TearDown() override { fs::remove_all(dir); }

  void writeWave(const std::string& rel, int rate, int channels, const std::vector<std::int16_t>& s,
                 int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    fs::create_directories((dir / rel).parent_path());
    SF_INFO info{0, rate, channels, format, 0, 0};
    SNDFILE* f = sf_open((dir / rel).c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    sf_writef_short(f, s.data(), static_cast<sf_count_t>(s.size() / channels));
    sf_close(f);
  }
  void writeBytes(const std::string& rel, const std::string& bytes) {
    std::ofstream(dir / rel, std::ios::binary) << bytes;
  }
  SoundPtr load(const std::string& stored, int rate = 22050, int channels = 1) {
    return WaveFileLoader(rate, channels, dir).load(stored);
  }
  // The error a load raises, or "" when it loads.
  std::string loadError(const std::string& rel, int rate = 22050) {
    try {
      load(rel, rate);
    } catch (const WuffelError& e) {
      return e.what();
    }
    return "";
  }
  // The same as an ordinary user: a child process gives up root's right to
  // read everything.
  std::string loadErrorAsUser(const std::string& rel) {
    if (::geteuid() != 0) return loadError(rel);
    int out[2];
    if (::pipe(out) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
      ::close(out[0]);
      constexpr uid_t kNobody = 65534;
      if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(1);
      const std::string error = loadError(rel);
      const bool written = ::write(out[1], error.data(), error.size()) == static_cast<ssize_t>(error.size());
      ::_exit(written ? 0 : 1);
    }
    ::close(out[1]);
    std::string error;
    char buffer[256];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;) error.append(buffer, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child could not become an ordinary user";
    return error;
  }

  fs::path dir;
};

TEST_F(LoaderTest, ConvertsRateAndChannelsKeepingTheFileLength) {
  const auto same = sine(22050, 1000, 440);
  writeWave("SOUND/HIT.WAV", 22050, 1, same);
  SoundPtr s = load(".\\SOUND\\HIT.WAV");
  EXPECT_EQ(s->samples, same);
  EXPECT_EQ(s->lengthMs, 45);  // 1000 frames at 22050 Hz, rounded down

  writeWave("SOUND/BALL.WAV", 44100, 1, sine(44100, 44100, 440));
  s = load(".\\SOUND\\BALL.WAV");
  EXPECT_EQ(s->lengthMs, 1000);
  EXPECT_NEAR(static_cast<double>(s->frames()), 22050, 4);
  int peak = 0;
  for (std::size_t i = 1000; i < 20000; ++i) peak = std::max(peak, std::abs(int(s->samples[i])));
  EXPECT_NEAR(peak, 10000, 300);

  std::vector<std::int16_t> stereo;
  for (int i = 0; i < 100; ++i) stereo.insert(stereo.end(), {1000, 3000});
  writeWave("SOUND/S.WAV", 22050, 2, stereo);
  EXPECT_EQ(load("SOUND/S.WAV")->samples, std::vector<std::int16_t>(100, 2000));

  writeWave("SOUND/M.WAV", 8000, 1, std::vector<std::int16_t>(800, -700));
  s = load("SOUND/M.WAV", 48000, 2);
  EXPECT_EQ(s->channels, 2);
  EXPECT_EQ(s->lengthMs, 100);
  EXPECT_NEAR(static_cast<double>(s->frames()), 4800, 4);
  EXPECT_EQ(s->samples[2000], -700);
  EXPECT_EQ(s->samples[2001], -700);
}

// Opened at its own format and converted later (as the window program
// does), a sound comes out as it would have opened at the output's format.
TEST_F(LoaderTest, SoundKeptAtItsOwnFormatConvertsAsIfOpenedForTheOutput) {
  writeWave("SOUND/MONO.WAV", 22050, 1, sine(22050, 5000, 440));
  std::vector<std::int16_t> stereo;
  for (std::int16_t v : sine(44100, 5000, 300)) stereo.insert(stereo.end(), {v, static_cast<std::int16_t>(-v / 2)});
  writeWave("SOUND/STEREO.WAV", 44100, 2, stereo);
  for (const char* name : {"SOUND/MONO.WAV", "SOUND/STEREO.WAV"}) {
    SoundPtr own = WaveFileLoader(dir).load(name);
    for (auto [rate, channels] : {std::pair{44100, 2}, {48000, 2}, {22050, 1}, {8000, 1}}) {
      SCOPED_TRACE(std::string(name) + " at " + std::to_string(rate) + "/" + std::to_string(channels));
      SoundPtr direct = load(name, rate, channels);
      SoundPtr later = convertSound(*own, rate, channels);
      EXPECT_EQ(later->sampleRate, rate);
      EXPECT_EQ(later->channels, channels);
      EXPECT_EQ(later->lengthMs, direct->lengthMs);
      EXPECT_EQ(later->samples, direct->samples);
    }
  }
  // Messages stay those of the output's format.
  EXPECT_THROW(WaveFileLoader(dir).load("SOUND/MISSING.WAV"), WuffelError);
}

// Resampling a mono sound once and copying it to both sides must sound the
// same as resampling both sides: equal within a fraction of a 16-bit step,
// give or take the converter's last frame.
TEST(SoundConversion, UpmixAfterResamplingEqualsResamplingEachSide) {
  const auto pcm = sine(22050, 3000, 1000);
  std::vector<float> mono(pcm.begin(), pcm.end());
  for (float& v : mono) v /= 32768.0f;
  std::vector<float> twoSides;
  for (float v : mono) twoSides.insert(twoSides.end(), {v, v});
  ASSERT_EQ(convertSamples(mono, 1, 22050, 2, 48000), "");
  ASSERT_EQ(convertSamples(twoSides, 2, 22050, 2, 48000), "");
  ASSERT_NEAR(static_cast<double>(mono.size()), static_cast<double>(twoSides.size()), 2);
  float worst = 0;
  for (std::size_t i = 0; i < std::min(mono.size(), twoSides.size()); ++i) worst = std::max(worst, std::abs(mono[i] - twoSides[i]));
  EXPECT_LT(worst, 0.25f / 32768);
}

TEST_F(LoaderTest, SaysInPlainWordsWhyAFileCannotBeUsed) {
  writeBytes("SOUND/EMPTY.WAV", "");
  writeBytes("SOUND/TEXT.WAV", "This is a note, not a sound.\n");
  writeWave("SOUND/AIFF.WAV", 22050, 1, std::vector<std::int16_t>(100, 1),
            SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
  writeWave("SOUND/NONE.WAV", 22050, 1, {});
  writeWave("SOUND/GSM.WAV", 8000, 1, sine(8000, 1600, 200), SF_FORMAT_WAV | SF_FORMAT_GSM610);
  fs::create_directories(dir / "SOUND/DIR.WAV");
  // 50 s at 1000 Hz is small on disk but 19.2 million frames at 384 kHz
  writeWave("SOUND/LONG.WAV", 1000, 1, std::vector<std::int16_t>(50000, 1));

  // matched ignoring case where the exact spelling is absent
  writeWave("case/sound/Back.wav", 22050, 1, std::vector<std::int16_t>(441, 5));
  EXPECT_EQ(WaveFileLoader(22050, 1, dir / "case").load(".\\SOUND\\BACK.WAV")->lengthMs, 20);

  const std::string p = "Cannot open sound file SOUND/";
  EXPECT_EQ(loadError("SOUND/MISSING.WAV"), p + "MISSING.WAV: the file does not exist");
  EXPECT_EQ(loadError("SOUND/EMPTY.WAV"), p + "EMPTY.WAV: the file is empty");
  EXPECT_EQ(loadError("SOUND/TEXT.WAV"), p + "TEXT.WAV: it is not a wave file");
  EXPECT_EQ(loadError("SOUND/AIFF.WAV"), p + "AIFF.WAV: it is not a wave file");
  EXPECT_EQ(loadError("SOUND/NONE.WAV"), p + "NONE.WAV: it contains no sound");
  EXPECT_EQ(loadError("SOUND/GSM.WAV"), p + "GSM.WAV: its sound encoding is not supported");
  EXPECT_EQ(loadError("SOUND/DIR.WAV"), p + "DIR.WAV: it is not a file");
  EXPECT_EQ(loadError("SOUND/LONG.WAV", 384000),
            p + "LONG.WAV: it is too long (more than 64 MiB of decoded sound)");
}

// A folder or a file the user may not read is not a missing one: the message
// says it cannot be read, and the system's reason.
TEST_F(LoaderTest, SaysWhyAFileThatIsThereCannotBeRead) {
  writeWave("SOUND/BACK.WAV", 22050, 1, std::vector<std::int16_t>(441, 5));
  fs::create_symlink("LOOP.WAV", dir / "SOUND/LOOP.WAV");
  const std::string p = "Cannot open sound file SOUND/";
  EXPECT_EQ(loadError("SOUND/LOOP.WAV"), p + "LOOP.WAV: the file cannot be read (Too many levels of symbolic links)");

  fs::permissions(dir / "SOUND/BACK.WAV", fs::perms::none);
  EXPECT_EQ(loadErrorAsUser("SOUND/BACK.WAV"), p + "BACK.WAV: the file cannot be read (Permission denied)");
  fs::permissions(dir / "SOUND/BACK.WAV", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(dir / "SOUND", fs::perms::none);
  EXPECT_EQ(loadErrorAsUser("SOUND/BACK.WAV"), p + "BACK.WAV: the file cannot be read (Permission denied)");
  // a folder that can be searched but not listed hides other spellings
  fs::permissions(dir / "SOUND", fs::perms::owner_exec | fs::perms::others_exec);
  EXPECT_EQ(loadErrorAsUser("SOUND/back.wav"), p + "back.wav: the file cannot be read (Permission denied)");
  fs::permissions(dir / "SOUND", fs::perms::owner_all);
}

TEST_F(LoaderTest, DamagedFilesFailCleanlyOrLoadWhatIsThere) {
  const std::string good = waveHeader(22050, 1, 4410) + std::string(4410, '\x10');
  for (std::size_t cut : {4u, 12u, 30u, 44u, 45u, 46u, 1000u}) {
    writeBytes("SOUND/CUT.WAV", good.substr(0, cut));
    const std::string err = loadError("SOUND/CUT.WAV");
    if (err.empty()) {
      EXPECT_LE(load("SOUND/CUT.WAV")->frames(), 478) << cut;
    } else {
      EXPECT_EQ(err.rfind("Cannot open sound file SOUND/CUT.WAV: ", 0), 0u) << err;
    }
  }

  writeBytes("SOUND/LIE.WAV", waveHeader(22050, 1, 0x7ffffff0) + std::string(200, '\x10'));
  if (loadError("SOUND/LIE.WAV").empty()) {
    EXPECT_LE(load("SOUND/LIE.WAV")->frames(), 100);
  }

  for (auto [rate, channels] : {std::pair<std::uint32_t, std::uint16_t>{1, 1}, {0, 1}, {22050, 0},
                                {22050, 200}, {4000000000u, 1}}) {
    writeBytes("SOUND/ODD.WAV", waveHeader(rate, channels, 400) + std::string(400, '\x01'));
    EXPECT_NE(loadError("SOUND/ODD.WAV"), "") << rate << " Hz, " << channels;
  }

  // a wave start followed by noise
  std::string noise("RIFF\x10\0\0\0WAVE", 12);
  for (unsigned i = 0, x = 1; i < 5000; ++i) noise.push_back(char((x = x * 1103515245u + 12345u) >> 16));
  writeBytes("SOUND/NOISE.WAV", noise);
  loadError("SOUND/NOISE.WAV");  // either way, without crashing
}

// The same bytes decode alike from memory and from a file.
TEST_F(LoaderTest, LoadsFromMemoryAsFromAFile) {
  const auto tone = sine(44100, 2000, 300);
  writeWave("SOUND/T.WAV", 44100, 1, tone);
  std::ifstream in(dir / "SOUND/T.WAV", std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  const WaveFileLoader loader(48000, 2, dir);
  const SoundPtr fromMemory = loader.loadBytes("T.WAV", bytes.data(), bytes.size());
  EXPECT_EQ(fromMemory->samples, WaveFileLoader(48000, 2, dir).load("SOUND/T.WAV")->samples);
  EXPECT_EQ(fromMemory->lengthMs, 45);

  auto error = [&](const std::string& b) {
    try {
      loader.loadBytes("X.WAV", b.data(), b.size());
    } catch (const WuffelError& e) {
      return std::string(e.what());
    }
    return std::string();
  };
  const std::string p = "Cannot open sound file X.WAV: ";
  EXPECT_EQ(error(""), p + "the file is empty");
  EXPECT_EQ(error("not a sound"), p + "it is not a wave file");
  EXPECT_EQ(error(waveHeader(0, 1, 400) + std::string(400, '\1')),
            p + "its sample rate of 0 Hz is not usable");
  EXPECT_EQ(error(waveHeader(4000000000u, 1, 400) + std::string(400, '\1')),
            p + "its sample rate of 4000000000 Hz is not usable");
  EXPECT_EQ(error(waveHeader(22050, 200, 400) + std::string(400, '\1')),
            p + "its channel count of 200 is not usable");
  EXPECT_EQ(error(std::string("RIFF\4\0\0\0WAVE", 12)).rfind(p + "its header is damaged (", 0), 0u);
  // one frame at 96 kHz is none at 22.05 kHz
  const std::string oneFrame = waveHeader(96000, 1, 2) + "\x10\x10";
  try {
    WaveFileLoader(22050, 1).loadBytes("X.WAV", oneFrame.data(), oneFrame.size());
    ADD_FAILURE() << "a sound without frames was accepted";
  } catch (const WuffelError& e) {
    EXPECT_EQ(std::string(e.what()), p + "it contains no sound");
  }
}

// Inputs that once broke the loader, or came close, kept from fuzzing: each
// must load as a usable sound or fail with a message naming the file.
TEST(LoaderRegressions, EveryKeptInputLoadsOrFailsCleanly) {
  const fs::path folder = "tests/sound/regressions";
  ASSERT_TRUE(fs::is_directory(folder)) << "run from the project root";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string name = entry.path().filename().string();
    ++files;
    for (auto [rate, channels] : {std::pair{22050, 1}, {48000, 2}, {8000, 1}}) {
      SCOPED_TRACE(name + " at " + std::to_string(rate) + " Hz, " + std::to_string(channels));
      try {
        const SoundPtr s = WaveFileLoader(rate, channels).loadBytes(name, bytes.data(), bytes.size());
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->sampleRate, rate);
        EXPECT_EQ(s->channels, channels);
        EXPECT_GT(s->frames(), 0);
        EXPECT_EQ(s->samples.size() % static_cast<std::size_t>(channels), 0u);
        EXPECT_LE(s->samples.size() * 2, wave::kMaxDecodedBytes);
      } catch (const WuffelError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open sound file " + name + ": ", 0), 0u)
            << e.what();
      }
    }
  }
  EXPECT_GE(files, 5);

  // once accepted as a sound without a single frame
  const std::string once = "tests/sound/regressions/one-frame-resampled-to-none.wav";
  std::ifstream in(once, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_THROW(WaveFileLoader(22050, 1).loadBytes("X", bytes.data(), bytes.size()), WuffelError);
}

}  // namespace
}  // namespace wuffel
