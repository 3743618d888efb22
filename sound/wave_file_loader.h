#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "sound/sound.h"

namespace wuffel {

// Opens whole wave files. Built with libsndfile it decodes them and, given
// an output's rate and channel count, converts them to it, so the mixer only
// ever adds samples. Built without (the browser edition and the runner for
// Node, whose outputs decode the files themselves) it reads only their
// format and length from the header.
class WaveFileLoader : public SoundLoader {
 public:
  // Stored names are resolved below `baseFolder`, or below the current
  // working directory when it is empty.
  WaveFileLoader(int outputRate, int outputChannels, std::filesystem::path baseFolder = {});
  // Keeps each file's own rate and channel count, for an output that
  // converts them itself (QtAudioOutput); opening then needs no device.
  explicit WaveFileLoader(std::filesystem::path baseFolder = {});

  SoundPtr load(std::string_view storedName) override;
  // Decodes a whole file held in memory; `name` only appears in messages.
  SoundPtr loadBytes(std::string_view name, const void* data, std::size_t size) const;

  // What opening a file that is not there raises.
  [[noreturn]] static void failMissing(std::string_view storedName);
  // Raises the error of a sound file that cannot be opened, and why.
  [[noreturn]] static void failToOpen(const std::string& name, const std::string& why);

  // ".\\SOUND\\BACK.WAV" -> "SOUND/BACK.WAV"
  static std::string relativeName(std::string_view storedName);

 private:
  std::filesystem::path resolve(const std::string& relative) const;
  // The file a relative name stands for, once it is known to be a
  // non-empty file this process may read; raises the reason otherwise.
  // Shared by every build, whatever decodes the file.
  std::filesystem::path findReadable(const std::string& name) const;

  int outputRate_ = 0;  // 0: each file's own
  int outputChannels_ = 0;
  std::filesystem::path base_;
};

}  // namespace wuffel
