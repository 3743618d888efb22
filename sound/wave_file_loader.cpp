#include "sound/wave_file_loader.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <system_error>
#include <vector>

#include "platform/error.h"

namespace wuffel {

namespace fs = std::filesystem;

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
constexpr int kMaxChannels = 16;

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

[[noreturn]] void fail(const std::string& name, const std::string& why) {
  throw WuffelError("Cannot open sound file " + name + ": " + why);
}

bool supportedEncoding(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_16:
    case SF_FORMAT_PCM_24:
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
    case SF_FORMAT_IMA_ADPCM:
    case SF_FORMAT_MS_ADPCM:
      return true;
    default:
      return false;
  }
}

struct SndFileCloser {
  void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFileHandle = std::unique_ptr<SNDFILE, SndFileCloser>;

std::vector<float> mixChannels(const std::vector<float>& in, int inCh, int outCh) {
  if (inCh == outCh) return in;
  const std::size_t frames = in.size() / static_cast<std::size_t>(inCh);
  std::vector<float> out(frames * static_cast<std::size_t>(outCh));
  for (std::size_t f = 0; f < frames; ++f) {
    const float* src = &in[f * inCh];
    float* dst = &out[f * outCh];
    if (inCh == 1) {
      std::fill(dst, dst + outCh, src[0]);
    } else {
      // Each output channel averages the inputs that fall on it, so a
      // stereo file played in mono keeps both sides at equal weight.
      for (int c = 0; c < outCh; ++c) {
        float sum = 0;
        int n = 0;
        for (int i = c; i < inCh; i += outCh) {
          sum += src[i];
          ++n;
        }
        dst[c] = n ? sum / static_cast<float>(n) : 0.0f;
      }
    }
  }
  return out;
}

}  // namespace

WaveFileLoader::WaveFileLoader(int outputRate, int outputChannels, fs::path baseFolder)
    : outputRate_(outputRate), outputChannels_(outputChannels), base_(std::move(baseFolder)) {
  if (outputRate < kMinRate || outputRate > kMaxRate || outputChannels < 1 || outputChannels > 2)
    throw WuffelError("The sound output format is not usable");
}

std::string WaveFileLoader::relativeName(std::string_view storedName) {
  std::string s(storedName);
  std::replace(s.begin(), s.end(), '\\', '/');
  if (s.rfind("./", 0) == 0) s.erase(0, 2);
  return s;
}

// Files copied from a case-insensitive file system may come out as
// "sound/back.wav"; accept any spelling when the exact one is absent.
fs::path WaveFileLoader::resolve(const std::string& relative) const {
  const fs::path base = base_.empty() ? fs::path(".") : base_;
  std::error_code ec;
  fs::path exact = base / relative;
  if (fs::exists(exact, ec)) return exact;
  fs::path current = base;
  for (const fs::path& part : fs::path(relative)) {
    fs::path next = current / part;
    if (!fs::exists(next, ec)) {
      const std::string want = lower(part.string());
      bool found = false;
      for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == want) {
          next = it->path();
          found = true;
          break;
        }
      }
      if (!found) return {};
    }
    current = next;
  }
  return current;
}

SoundPtr WaveFileLoader::load(std::string_view storedName) {
  const std::string name = relativeName(storedName);
  const fs::path path = resolve(name);
  std::error_code ec;
  if (path.empty()) fail(name, "the file does not exist");
  if (!fs::is_regular_file(path, ec)) fail(name, "it is not a file");
  if (fs::file_size(path, ec) == 0) fail(name, "the file is empty");

  SF_INFO info{};
  SndFileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) {
    const int err = sf_error(nullptr);
    if (err == SF_ERR_UNRECOGNISED_FORMAT || err == SF_ERR_MALFORMED_FILE)
      fail(name, "it is not a wave file");
    fail(name, std::string("the file cannot be read (") + sf_strerror(nullptr) + ")");
  }
  const int type = info.format & SF_FORMAT_TYPEMASK;
  if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX) fail(name, "it is not a wave file");
  if (!supportedEncoding(info.format & SF_FORMAT_SUBMASK))
    fail(name, "its sound encoding is not supported");
  if (info.samplerate < kMinRate || info.samplerate > kMaxRate)
    fail(name, "its sample rate of " + std::to_string(info.samplerate) + " Hz is not usable");
  if (info.channels < 1 || info.channels > kMaxChannels)
    fail(name, "its channel count of " + std::to_string(info.channels) + " is not usable");
  if (info.frames <= 0) fail(name, "it contains no sound");

  const double ratio = static_cast<double>(outputRate_) / info.samplerate;
  const double maxFrames = static_cast<double>(kMaxDecodedBytes) / sizeof(float) /
                           std::max(info.channels, outputChannels_);
  if (static_cast<double>(info.frames) > maxFrames || static_cast<double>(info.frames) * ratio > maxFrames)
    fail(name, "it is too long (more than 64 MiB of decoded sound)");

  // A header may claim more frames than the file holds; keep what is there.
  std::vector<float> raw(static_cast<std::size_t>(info.frames) * info.channels);
  sf_count_t got = 0;
  while (got < info.frames) {
    const sf_count_t n = sf_readf_float(file.get(), raw.data() + got * info.channels,
                                        std::min<sf_count_t>(info.frames - got, 65536));
    if (n <= 0) break;
    got += n;
  }
  if (got == 0) fail(name, "it contains no sound");
  raw.resize(static_cast<std::size_t>(got) * info.channels);

  std::vector<float> mixed = mixChannels(raw, info.channels, outputChannels_);
  raw = {};

  if (info.samplerate != outputRate_) {
    const long outCapacity = static_cast<long>(std::ceil(static_cast<double>(got) * ratio)) + 16;
    std::vector<float> resampled(static_cast<std::size_t>(outCapacity) * outputChannels_);
    SRC_DATA data{};
    data.data_in = mixed.data();
    data.input_frames = static_cast<long>(got);
    data.data_out = resampled.data();
    data.output_frames = outCapacity;
    data.src_ratio = ratio;
    const int err = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, outputChannels_);
    if (err != 0) fail(name, std::string("it cannot be converted (") + src_strerror(err) + ")");
    resampled.resize(static_cast<std::size_t>(data.output_frames_gen) * outputChannels_);
    mixed = std::move(resampled);
  }

  auto sound = std::make_shared<DecodedSound>();
  sound->sampleRate = outputRate_;
  sound->channels = outputChannels_;
  sound->lengthMs = got * 1000 / info.samplerate;
  sound->samples.resize(mixed.size());
  for (std::size_t i = 0; i < mixed.size(); ++i) {
    float v = mixed[i];
    if (!std::isfinite(v)) v = 0.0f;  // garbled float data
    sound->samples[i] =
        static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0f, 32767.0f / 32768.0f) * 32768.0f));
  }
  return sound;
}

}  // namespace wuffel
