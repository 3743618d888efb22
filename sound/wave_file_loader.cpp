#include "sound/wave_file_loader.h"

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/error.h"
#include "sound/sound_conversion.h"

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

[[noreturn]] void failUnreadable(const std::string& name, const std::error_code& why) {
  fail(name, "the file cannot be read (" + why.message() + ")");
}

// A lookup that failed for another reason than the path not being there,
// such as a folder the user may not search: whether the file exists is
// then unknown.
bool lookupRefused(const std::error_code& ec) {
  return ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory;
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

std::uint32_t le(const unsigned char* p, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

// libsndfile refuses some headers with an internal message; where the
// format chunk holds an unusable rate or channel count, say which.
std::string headerFault(const unsigned char* p, std::size_t n) {
  if (n < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0) return {};
  for (std::size_t at = 12; at + 8 <= n;) {
    const std::uint32_t size = le(p + at + 4, 4);
    if (std::memcmp(p + at, "fmt ", 4) == 0 && at + 16 <= n) {
      const std::uint32_t channels = le(p + at + 10, 2);
      const std::uint32_t rate = le(p + at + 12, 4);
      if (rate < kMinRate || rate > kMaxRate)
        return "its sample rate of " + std::to_string(rate) + " Hz is not usable";
      if (channels < 1 || channels > kMaxChannels)
        return "its channel count of " + std::to_string(channels) + " is not usable";
      return {};
    }
    if (size > n - at - 8) break;
    at += 8 + size + (size & 1);
  }
  return {};
}

[[noreturn]] void failOpen(const std::string& name, const unsigned char* head, std::size_t n) {
  const int err = sf_error(nullptr);
  const std::string why = sf_strerror(nullptr);
  if (err == SF_ERR_SYSTEM) fail(name, "the file cannot be read (" + why + ")");
  if (err == SF_ERR_UNSUPPORTED_ENCODING) fail(name, "its sound encoding is not supported");
  if (const std::string fault = headerFault(head, n); !fault.empty()) fail(name, fault);
  if (n < 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0 ||
      err == SF_ERR_UNRECOGNISED_FORMAT)
    fail(name, "it is not a wave file");
  fail(name, "its header is damaged (" + why + ")");
}

// A read-only file over bytes the caller keeps alive.
struct MemoryFile {
  const unsigned char* data;
  sf_count_t size;
  sf_count_t pos = 0;
};

sf_count_t memLength(void* user) { return static_cast<MemoryFile*>(user)->size; }

sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  sf_count_t base = 0;
  if (whence == SEEK_CUR) base = m->pos;
  else if (whence == SEEK_END) base = m->size;
  else if (whence != SEEK_SET) return -1;
  // Offsets from a damaged header may be anything; keep the sum in range.
  if (offset < -base || offset > m->size - base) return -1;
  m->pos = base + offset;
  return m->pos;
}

sf_count_t memRead(void* dst, sf_count_t count, void* user) {
  auto* m = static_cast<MemoryFile*>(user);
  if (count <= 0) return 0;
  const sf_count_t n = std::min(count, m->size - m->pos);
  std::memcpy(dst, m->data + m->pos, static_cast<std::size_t>(n));
  m->pos += n;
  return n;
}

sf_count_t memWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

// Checks what the header says, then decodes and converts the whole file.
// An output rate of 0 keeps the file's own rate and channel count.
SoundPtr decode(const std::string& name, SNDFILE* file, const SF_INFO& info, int outRate,
                int outChannels) {
  const int type = info.format & SF_FORMAT_TYPEMASK;
  if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX) fail(name, "it is not a wave file");
  if (!supportedEncoding(info.format & SF_FORMAT_SUBMASK))
    fail(name, "its sound encoding is not supported");
  if (info.samplerate < kMinRate || info.samplerate > kMaxRate)
    fail(name, "its sample rate of " + std::to_string(info.samplerate) + " Hz is not usable");
  if (info.channels < 1 || info.channels > kMaxChannels)
    fail(name, "its channel count of " + std::to_string(info.channels) + " is not usable");
  if (info.frames <= 0) fail(name, "it contains no sound");

  // A sound kept at its own format is converted later, for an output not
  // known yet: it is sized for the common one.
  const bool keepFormat = outRate == 0;
  const int sizedRate = keepFormat ? 48000 : outRate;
  const int sizedChannels = keepFormat ? 2 : outChannels;
  if (keepFormat) {
    outRate = info.samplerate;
    outChannels = info.channels;
  }
  const double ratio = static_cast<double>(sizedRate) / info.samplerate;
  const double maxFrames = static_cast<double>(WaveFileLoader::kMaxDecodedBytes) / sizeof(float) /
                           std::max(info.channels, sizedChannels);
  auto tooLong = [&](double frames) { return frames > maxFrames || frames * ratio > maxFrames; };
  if (tooLong(static_cast<double>(info.frames)))
    fail(name, "it is too long (more than 64 MiB of decoded sound)");

  // A header may claim more frames than the file holds; keep what is there.
  // Growing with what is actually read keeps such a claim from reserving
  // memory the file never fills.
  constexpr sf_count_t kChunkFrames = 16384;
  std::vector<float> raw;
  sf_count_t got = 0;
  while (got < info.frames) {
    const sf_count_t want = std::min(info.frames - got, kChunkFrames);
    raw.resize(static_cast<std::size_t>(got + want) * info.channels);
    const sf_count_t n = sf_readf_float(file, raw.data() + got * info.channels, want);
    if (n <= 0) break;
    got += std::min(n, want);
    if (tooLong(static_cast<double>(got)))
      fail(name, "it is too long (more than 64 MiB of decoded sound)");
  }
  if (got == 0) fail(name, "it contains no sound");
  raw.resize(static_cast<std::size_t>(got) * info.channels);
  raw.shrink_to_fit();

  const std::string why = convertSamples(raw, info.channels, info.samplerate, outChannels, outRate);
  if (!why.empty()) fail(name, "it cannot be converted (" + why + ")");
  // A few frames at a higher rate may come out as none at the output's.
  if (raw.empty()) fail(name, "it contains no sound");

  auto sound = std::make_shared<DecodedSound>();
  sound->sampleRate = outRate;
  sound->channels = outChannels;
  sound->lengthMs = got * 1000 / info.samplerate;
  sound->samples = toPcm16(raw);
  return sound;
}

}  // namespace

WaveFileLoader::WaveFileLoader(fs::path baseFolder) : base_(std::move(baseFolder)) {}

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
  if (lookupRefused(ec)) failUnreadable(relative, ec);
  fs::path current = base;
  for (const fs::path& part : fs::path(relative)) {
    fs::path next = current / part;
    if (!fs::exists(next, ec)) {
      if (lookupRefused(ec)) failUnreadable(relative, ec);
      const std::string want = lower(part.string());
      bool found = false;
      for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == want) {
          next = it->path();
          found = true;
          break;
        }
      }
      if (!found) {
        if (lookupRefused(ec)) failUnreadable(relative, ec);
        return {};
      }
    }
    current = next;
  }
  return current;
}

void WaveFileLoader::failMissing(std::string_view storedName) {
  fail(relativeName(storedName), "the file does not exist");
}

SoundPtr WaveFileLoader::load(std::string_view storedName) {
  const std::string name = relativeName(storedName);
  const fs::path path = resolve(name);
  std::error_code ec;
  if (path.empty()) failMissing(storedName);
  if (!fs::is_regular_file(path, ec)) fail(name, "it is not a file");
  if (fs::file_size(path, ec) == 0) fail(name, "the file is empty");
  // libsndfile would word a refused open as a "System error".
  const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (probe < 0) failUnreadable(name, std::error_code(errno, std::generic_category()));
  ::close(probe);

  SF_INFO info{};
  SndFileHandle file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) {
    unsigned char head[4096];
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), sizeof head);
    failOpen(name, head, static_cast<std::size_t>(std::max<std::streamsize>(0, in.gcount())));
  }
  return decode(name, file.get(), info, outputRate_, outputChannels_);
}

SoundPtr WaveFileLoader::loadBytes(std::string_view name, const void* data,
                                   std::size_t size) const {
  const std::string shown(name);
  if (size == 0) fail(shown, "the file is empty");
  MemoryFile mem{static_cast<const unsigned char*>(data), static_cast<sf_count_t>(size)};
  SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
  SF_INFO info{};
  SndFileHandle file(sf_open_virtual(&io, SFM_READ, &info, &mem));
  if (!file) failOpen(shown, mem.data, std::min<std::size_t>(size, 4096));
  return decode(shown, file.get(), info, outputRate_, outputChannels_);
}

}  // namespace wuffel
