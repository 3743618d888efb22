#include "sim/stand_ins.h"

#include <algorithm>
#include <cctype>

#include "face/elements.h"

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

namespace {

void tell(EventLog* log, const std::string& text) {
  if (log) log->event(text);
}

}  // namespace

int VirtualTimeOfDay::utcMillisecondsSinceMidnight() const {
  return static_cast<int>((utcAtZero_ + clock_.now()) % kMillisecondsPerDay);
}

LocalTime VirtualTimeOfDay::localTime() const {
  const auto minutes = static_cast<int>((localAtZero_ + clock_.now()) % kMillisecondsPerDay / 60000);
  return {minutes / 60, minutes % 60};
}

StandInWindows::StandInWindows(int screenWidth, int screenHeight, EventLog* log)
    : log_(log), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  const auto& face = elementInfo(ElementId::Im_Base);
  state_[WindowId::Form1] = {kMainWindowCreatedAt, false, {face.width, face.height}};
  state_[WindowId::AboutForm] = {{0, 0}, false, kAboutFormSize};
  // The splash window is centred on the screen when it is created.
  state_[WindowId::SplashForm] = {centredOnScreen(kSplashFormSize, screenWidth, screenHeight), false,
                                  kSplashFormSize};
}

void StandInWindows::log(const std::string& text) const { tell(log_, text); }

void StandInWindows::setShown(WindowId id, bool shown) {
  auto& s = state_.at(id);
  if (s.shown == shown) return;
  s.shown = shown;
  log("window " + std::string(windowName(id)) + (shown ? " show" : " hide"));
}

void StandInWindows::hide(WindowId id) {
  setShown(id, false);
  focus_.hidden(id, [this](WindowId other) { return isShown(other); });
}

void StandInWindows::bringToFront(WindowId id) {
  broughtToFront.push_back(id);
  log("window " + std::string(windowName(id)) + " front");
  activate(id);
}

void StandInWindows::moveTo(WindowId id, WindowPosition position) {
  auto& s = state_.at(id);
  if (s.position.left == position.left && s.position.top == position.top) return;
  s.position = position;
  moves.push_back({id, position});
  log("window " + std::string(windowName(id)) + " at " + std::to_string(position.left) + " " +
      std::to_string(position.top));
}

void StandInWindows::popupMenu(int x, int y) {
  popups.push_back({x, y});
  log("popup " + std::to_string(x) + " " + std::to_string(y));
}

void StandInErrorBox::showError(const std::string& message) {
  shown.push_back(message);
  tell(log_, "error " + message);
}

void StandInShell::open(const std::string& target) {
  opened.push_back(target);
  tell(log_, "open " + target);
}

void StandInBeep::beep() {
  ++beeps;
  tell(log_, "beep");
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
  tell(log_, "ask " + question);
  tell(log_, answer ? "answer yes" : "answer no");
  answered(answer);
}

}  // namespace wuffel::sim
