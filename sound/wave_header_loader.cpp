// WaveFileLoader for the builds without libsndfile (the browser page and the
// runner for Node): their outputs (Web Audio, silence) decode the files
// themselves, so a sound here is its format and length from the header.
// Files are found as in every build (sound/wave_file_lookup.cpp).
#include <fstream>
#include <system_error>
#include <vector>

#include "sound/wave_file_loader.h"
#include "sound/wave_header.h"

namespace wuffel {

namespace fs = std::filesystem;

SoundPtr WaveFileLoader::load(std::string_view storedName) {
  const std::string name = relativeName(storedName);
  const fs::path path = findReadable(name);
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  std::ifstream in(path, std::ios::binary);
  if (ec || !in) failToOpen(name, "the file cannot be read");
  // In one read: byte by byte costs a call into JavaScript per byte in the browser.
  std::vector<char> bytes(static_cast<std::size_t>(size));
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return loadBytes(name, bytes.data(), bytes.size());
}

SoundPtr WaveFileLoader::loadBytes(std::string_view name, const void* data, std::size_t size) const {
  const bool keepFormat = outputRate_ == 0;
  return std::make_shared<DecodedSound>(wave::soundOfHeader(std::string(name), static_cast<const unsigned char*>(data),
                                                            size, keepFormat ? kCommonDeviceRate : outputRate_,
                                                            keepFormat ? kCommonDeviceChannels : outputChannels_));
}

}  // namespace wuffel
