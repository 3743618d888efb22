// WaveFileLoader for the builds without libsndfile (the browser page and the
// runner for Node): the same finding of files, decoding by web/pcm_wave.
// Sounds keep their own rate and channel count: the outputs of these builds
// (Web Audio, silence) convert for themselves.
#include <algorithm>
#include <fstream>
#include <system_error>
#include <vector>

#include "platform/error.h"
#include "sound/wave_file_loader.h"
#include "web/pcm_wave.h"

namespace wuffel {

namespace fs = std::filesystem;

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
// Sized as the desktop sizes a sound kept at its own format.
constexpr int kCommonRate = 48000;
constexpr int kCommonChannels = 2;

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

[[noreturn]] void fail(const std::string& name, const std::string& why) {
  throw WuffelError("Cannot open sound file " + name + ": " + why);
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

void WaveFileLoader::failMissing(std::string_view storedName) {
  fail(relativeName(storedName), "the file does not exist");
}

SoundPtr WaveFileLoader::load(std::string_view storedName) {
  const std::string name = relativeName(storedName);
  const fs::path path = resolve(name);
  std::error_code ec;
  if (path.empty()) failMissing(storedName);
  if (!fs::is_regular_file(path, ec)) fail(name, "it is not a file");
  const auto size = fs::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) fail(name, "the file cannot be read");
  // In one read: byte by byte costs a call into JavaScript per byte in the browser.
  std::vector<char> bytes(static_cast<std::size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return loadBytes(name, bytes.data(), bytes.size());
}

SoundPtr WaveFileLoader::loadBytes(std::string_view name, const void* data, std::size_t size) const {
  const bool keepFormat = outputRate_ == 0;
  return std::make_shared<DecodedSound>(web::readPcmWave(std::string(name), static_cast<const unsigned char*>(data),
                                                         size, keepFormat ? kCommonRate : outputRate_,
                                                         keepFormat ? kCommonChannels : outputChannels_));
}

}  // namespace wuffel
