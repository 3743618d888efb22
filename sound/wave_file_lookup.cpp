// Finding a sound file from the name the program stores, and the checks
// that come before decoding it: the same in every build, whatever decodes.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/error.h"
#include "sound/wave_file_loader.h"
#include "sound/wave_header.h"

namespace wuffel {

namespace fs = std::filesystem;

namespace {

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

[[noreturn]] void failUnreadable(const std::string& name, const std::error_code& why) {
  WaveFileLoader::failToOpen(name, "the file cannot be read (" + why.message() + ")");
}

// A lookup that failed for another reason than the path not being there,
// such as a folder the user may not search: whether the file exists is
// then unknown.
bool lookupRefused(const std::error_code& ec) {
  return ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory;
}

}  // namespace

WaveFileLoader::WaveFileLoader(fs::path baseFolder) : base_(std::move(baseFolder)) {}

WaveFileLoader::WaveFileLoader(int outputRate, int outputChannels, fs::path baseFolder)
    : outputRate_(outputRate), outputChannels_(outputChannels), base_(std::move(baseFolder)) {
  if (outputRate < wave::kMinRate || outputRate > wave::kMaxRate || outputChannels < 1 || outputChannels > 2)
    throw WuffelError("The sound output format is not usable");
}

void WaveFileLoader::failToOpen(const std::string& name, const std::string& why) {
  throw WuffelError("Cannot open sound file " + name + ": " + why);
}

void WaveFileLoader::failMissing(std::string_view storedName) {
  failToOpen(relativeName(storedName), "the file does not exist");
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

fs::path WaveFileLoader::findReadable(const std::string& name) const {
  const fs::path path = resolve(name);
  std::error_code ec;
  if (path.empty()) failToOpen(name, "the file does not exist");
  if (!fs::is_regular_file(path, ec)) failToOpen(name, "it is not a file");
  if (fs::file_size(path, ec) == 0) failToOpen(name, "the file is empty");
  // A decoder would word a refused open in its own way, if at all.
  const int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (probe < 0) failUnreadable(name, std::error_code(errno, std::generic_category()));
  ::close(probe);
  return path;
}

}  // namespace wuffel
