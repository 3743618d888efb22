#include "sound/wave_file_loader.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/error.h"
#include "sound/sound_conversion.h"
#include "sound/wave_header.h"

namespace wuffel {

namespace fs = std::filesystem;

namespace {

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

// libsndfile refuses some headers with an internal message; where the
// format chunk holds an unusable rate or channel count, say which.
std::string headerFault(const unsigned char* p, std::size_t n) {
  wave::Header header;
  if (!wave::readHeader(p, n, header) || !header.hasFormat) return {};
  return wave::unusableFormat(header.rate, header.channels);
}

[[noreturn]] void failOpen(const std::string& name, const unsigned char* head, std::size_t n) {
  const int err = sf_error(nullptr);
  const std::string why = sf_strerror(nullptr);
  if (err == SF_ERR_SYSTEM) WaveFileLoader::failToOpen(name, "the file cannot be read (" + why + ")");
  if (err == SF_ERR_UNSUPPORTED_ENCODING) WaveFileLoader::failToOpen(name, "its sound encoding is not supported");
  if (const std::string fault = headerFault(head, n); !fault.empty()) WaveFileLoader::failToOpen(name, fault);
  if (n < 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0 ||
      err == SF_ERR_UNRECOGNISED_FORMAT)
    WaveFileLoader::failToOpen(name, "it is not a wave file");
  WaveFileLoader::failToOpen(name, "its header is damaged (" + why + ")");
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
  if (type != SF_FORMAT_WAV && type != SF_FORMAT_WAVEX) WaveFileLoader::failToOpen(name, "it is not a wave file");
  if (!supportedEncoding(info.format & SF_FORMAT_SUBMASK))
    WaveFileLoader::failToOpen(name, "its sound encoding is not supported");
  if (const std::string why = wave::unusableFormat(info.samplerate, info.channels); !why.empty())
    WaveFileLoader::failToOpen(name, why);
  if (info.frames <= 0) WaveFileLoader::failToOpen(name, "it contains no sound");

  // A sound kept at its own format is converted later, for an output not
  // known yet: it is sized for the common one.
  const bool keepFormat = outRate == 0;
  const int sizedRate = keepFormat ? kCommonDeviceRate : outRate;
  const int sizedChannels = keepFormat ? kCommonDeviceChannels : outChannels;
  if (keepFormat) {
    outRate = info.samplerate;
    outChannels = info.channels;
  }
  auto tooLong = [&](double frames) {
    return wave::tooLongToDecode(frames, info.samplerate, info.channels, sizedRate, sizedChannels);
  };
  if (tooLong(static_cast<double>(info.frames))) WaveFileLoader::failToOpen(name, wave::kTooLong);

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
    if (tooLong(static_cast<double>(got))) WaveFileLoader::failToOpen(name, wave::kTooLong);
  }
  if (got == 0) WaveFileLoader::failToOpen(name, "it contains no sound");
  raw.resize(static_cast<std::size_t>(got) * info.channels);
  raw.shrink_to_fit();

  const std::string why = convertSamples(raw, info.channels, info.samplerate, outChannels, outRate);
  if (!why.empty()) WaveFileLoader::failToOpen(name, "it cannot be converted (" + why + ")");
  // A few frames at a higher rate may come out as none at the output's.
  if (raw.empty()) WaveFileLoader::failToOpen(name, "it contains no sound");

  auto sound = std::make_shared<DecodedSound>();
  sound->sampleRate = outRate;
  sound->channels = outChannels;
  sound->lengthMs = got * 1000 / info.samplerate;
  sound->samples = toPcm16(raw);
  return sound;
}

}  // namespace

SoundPtr WaveFileLoader::load(std::string_view storedName) {
  const std::string name = relativeName(storedName);
  const fs::path path = findReadable(name);

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
  if (size == 0) WaveFileLoader::failToOpen(shown, "the file is empty");
  MemoryFile mem{static_cast<const unsigned char*>(data), static_cast<sf_count_t>(size)};
  SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
  SF_INFO info{};
  SndFileHandle file(sf_open_virtual(&io, SFM_READ, &info, &mem));
  if (!file) failOpen(shown, mem.data, std::min<std::size_t>(size, 4096));
  return decode(shown, file.get(), info, outputRate_, outputChannels_);
}

}  // namespace wuffel
