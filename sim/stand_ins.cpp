#include "sim/stand_ins.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace wuffel::sim {

std::string_view fileNameOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string inCapitals(std::string_view text) {
  std::string s(text);
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

void StandInErrorBox::showError(const std::string& message) {
  shown.push_back(message);
  words_.error(message);
}

void StandInShell::open(const std::string& target) {
  opened.push_back(target);
  words_.opened(target);
}

void StandInBeep::beep() {
  ++beeps;
  words_.beep();
}

// Each file is converted to the output's format, as a loader for a device would.
StandInSoundFiles::StandInSoundFiles(const PlatformSetup& setup, const AudioOutput& output)
    : dir_(setup.soundDir),
      missing_(setup.soundMissing),
      lengths_(setup.soundLengths),
      files_(output.sampleRate(), output.channelCount(),
             dir_.empty() ? std::filesystem::path() : std::filesystem::path(dir_)) {}

SoundPtr StandInSoundFiles::load(std::string_view storedName) {
  const std::string file(fileNameOf(storedName));
  if (missing_.count(inCapitals(file))) WaveFileLoader::failMissing(storedName);
  SoundPtr sound = files_.load(dir_.empty() ? storedName : std::string_view(".\\" + file));
  const auto length = lengths_.find(inCapitals(file));
  if (length == lengths_.end()) return sound;
  auto copy = std::make_shared<DecodedSound>(*sound);
  copy->lengthMs = length->second;
  return copy;
}

void StandInQuestionBox::ask(const std::string& question, std::function<void(bool)> answered) {
  asked.push_back(question);
  words_.asked(question);
  if (waits) {
    open_ = std::move(answered);
    return;
  }
  words_.answered(answer);
  answered(answer);
}

bool StandInQuestionBox::answerOpen(bool yes) {
  if (!open_) return false;
  words_.answered(yes);
  std::exchange(open_, nullptr)(yes);
  return true;
}

}  // namespace wuffel::sim
