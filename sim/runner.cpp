#include "sim/runner.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "game/handheld.h"
#include "platform/error.h"
#include "platform/virtual_scheduler.h"
#include "sound/wave_file_loader.h"
#include "store/memory_settings.h"

namespace wuffel::sim {

namespace {

constexpr std::int64_t kDayMs = 24LL * 60 * 60 * 1000;

struct Trace {
  std::ostream& out;
  const std::int64_t& now;
  void line(const std::string& text) { out << now << ' ' << text << '\n'; }
};

// Both times of day start where the script sets them and advance with virtual time.
class VirtualTimeOfDay : public TimeOfDay {
 public:
  VirtualTimeOfDay(const std::int64_t& now, std::int64_t utcAtZero, std::int64_t localAtZero)
      : now_(now), utcAtZero_(utcAtZero), localAtZero_(localAtZero) {}
  int utcMillisecondsSinceMidnight() const override { return static_cast<int>((utcAtZero_ + now_) % kDayMs); }
  LocalTime localTime() const override {
    const auto minutes = static_cast<int>((localAtZero_ + now_) % kDayMs / 60000);
    return {minutes / 60, minutes % 60};
  }

 private:
  const std::int64_t& now_;
  std::int64_t utcAtZero_;
  std::int64_t localAtZero_;
};

class VirtualMediaClock : public MediaClock {
 public:
  explicit VirtualMediaClock(const std::int64_t& now) : now_(now) {}
  std::int64_t nowMs() const override { return now_; }

 private:
  const std::int64_t& now_;
};

std::string upper(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string fileNameOf(std::string_view stored) {
  const auto slash = stored.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? stored : stored.substr(slash + 1));
}

// The channels' files, with the script's stand-ins for missing files and lengths.
class ScriptedLoader : public SoundLoader {
 public:
  ScriptedLoader(std::string dir, std::set<std::string> missing, std::map<std::string, std::int64_t> lengths)
      : dir_(std::move(dir)), missing_(std::move(missing)), lengths_(std::move(lengths)),
        files_(22050, 1, dir_.empty() ? std::filesystem::path() : std::filesystem::path(dir_)) {}

  SoundPtr load(std::string_view storedName) override {
    const std::string file = fileNameOf(storedName);
    if (missing_.count(upper(file))) WaveFileLoader::failMissing(storedName);
    SoundPtr sound = files_.load(dir_.empty() ? storedName : std::string_view(".\\" + file));
    const auto length = lengths_.find(upper(file));
    if (length == lengths_.end()) return sound;
    auto copy = std::make_shared<DecodedSound>(*sound);
    copy->lengthMs = length->second;
    return copy;
  }

 private:
  std::string dir_;
  std::set<std::string> missing_;
  std::map<std::string, std::int64_t> lengths_;
  WaveFileLoader files_;
};

class LoggingWindows : public WindowSystem {
 public:
  LoggingWindows(Trace& trace, int screenW, int screenH) : trace_(trace), screenW_(screenW), screenH_(screenH) {
    const auto& face = elementInfo(ElementId::Im_Base);
    state_[WindowId::Form1] = {kMainWindowCreatedAt, false, face.width, face.height};
    state_[WindowId::AboutForm] = {{0, 0}, false, kAboutFormSize.width, kAboutFormSize.height};
    const auto [w, h] = kSplashFormSize;
    state_[WindowId::SplashForm] = {{std::max(0, (screenW - w) / 2), std::max(0, (screenH - h) / 2)}, false, w, h};
  }
  void show(WindowId id) override { setShown(id, true); }
  void hide(WindowId id) override {
    setShown(id, false);
    if (active_ == id) activateLastShown();
  }
  void bringToFront(WindowId id) override {
    trace_.line("window " + std::string(windowName(id)) + " front");
    activate(id);
  }
  bool isShown(WindowId id) const override { return state_.at(id).shown; }
  WindowPosition position(WindowId id) const override { return state_.at(id).pos; }
  void moveTo(WindowId id, WindowPosition pos) override {
    auto& s = state_.at(id);
    if (s.pos.left == pos.left && s.pos.top == pos.top) return;
    s.pos = pos;
    trace_.line("window " + std::string(windowName(id)) + " at " + std::to_string(pos.left) + " " +
                std::to_string(pos.top));
  }
  int screenWidth() const override { return screenW_; }
  int screenHeight() const override { return screenH_; }
  int windowWidth(WindowId id) const override { return state_.at(id).width; }
  int windowHeight(WindowId id) const override { return state_.at(id).height; }
  void popupMenu(int x, int y) override { trace_.line("popup " + std::to_string(x) + " " + std::to_string(y)); }

  // The active window has the keyboard.
  void activate(WindowId id) {
    active_ = id;
    std::erase(activated_, id);
    activated_.push_back(id);
  }
  bool isActive(WindowId id) const { return active_ == id; }
  // The focus went to another program.
  void deactivate(WindowId id) {
    if (active_ == id) active_.reset();
  }

  std::string dump() const {
    std::string s;
    for (auto id : {WindowId::Form1, WindowId::SplashForm, WindowId::AboutForm}) {
      const auto& w = state_.at(id);
      s += " " + std::string(windowName(id)) + "=" + std::to_string(w.pos.left) + "," +
           std::to_string(w.pos.top) + "," + (w.shown ? "shown" : "hidden");
    }
    return s;
  }

 private:
  void setShown(WindowId id, bool shown) {
    auto& s = state_.at(id);
    if (s.shown == shown) return;
    s.shown = shown;
    trace_.line("window " + std::string(windowName(id)) + (shown ? " show" : " hide"));
  }
  // A hidden active window hands the activation to the window active before it.
  void activateLastShown() {
    active_.reset();
    for (auto it = activated_.rbegin(); it != activated_.rend(); ++it)
      if (state_.at(*it).shown) return activate(*it);
  }
  struct State {
    WindowPosition pos;
    bool shown;
    int width;
    int height;
  };
  Trace& trace_;
  int screenW_;
  int screenH_;
  std::map<WindowId, State> state_;
  std::optional<WindowId> active_;
  std::vector<WindowId> activated_;  // in the order of their last activation
};

class TraceObserver : public FaceObserver, public TimerObserver, public SoundObserver, public StoreObserver,
                      public ErrorBox, public Shell, public SystemBeep, public MessageLoop, public PlayerEvents {
 public:
  explicit TraceObserver(Trace& trace) : trace_(trace) {}
  void visibilityChanged(ElementId id, bool visible) override {
    trace_.line(std::string(visible ? "show " : "hide ") + std::string(nameOf(id)));
  }
  void pictureChanged(ElementId id, std::optional<ElementId> source) override {
    trace_.line("picture " + std::string(nameOf(id)) + " " + std::string(source ? nameOf(*source) : "none"));
  }
  void timerChanged(std::string_view name, int interval, bool enabled) override {
    trace_.line("timer " + std::string(name) + " " + std::to_string(interval) + (enabled ? " on" : " off"));
  }
  void soundRequested(ChannelId id, SoundOp op) override {
    trace_.line("sound " + std::string(channelName(id)) + " " + std::string(opName(op)));
  }
  void storeRead(std::string_view name, std::int32_t value) override {
    trace_.line("store read " + std::string(name) + " " + std::to_string(value));
  }
  void storeWritten(std::string_view name, std::int32_t value) override {
    trace_.line("store write " + std::string(name) + " " + std::to_string(value));
  }
  void showError(const std::string& message) override { trace_.line("error " + message); }
  void open(const std::string& target) override { trace_.line("open " + target); }
  void beep() override { trace_.line("beep"); }
  void quit() override { quitRequested = true; }
  void pauseChanged(bool paused) override { trace_.line(paused ? "pause" : "resume"); }

  bool quitRequested = false;

 private:
  Trace& trace_;
};

struct Setup {
  std::int64_t utcAtZero = 0;
  std::int64_t localAtZero = 0;
  int screenW = 1920;
  int screenH = 1080;
  std::string soundDir;
  std::set<std::string> soundMissing;
  std::map<std::string, std::int64_t> soundLengths;
  MemorySettings store;
};

struct Command {
  int line;
  std::vector<std::string> words;
};

std::optional<int> parseInt(const std::string& s) {
  if (s.empty() || s.size() > 12) return std::nullopt;
  std::size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return std::nullopt;
  for (std::size_t k = i; k < s.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(s[k]))) return std::nullopt;
  const long long v = std::stoll(s);
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

std::optional<std::int64_t> parseUtc(const std::string& s) {
  int h, m, sec, ms;
  char c1, c2, c3;
  std::istringstream in(s);
  if (!(in >> h >> c1 >> m >> c2 >> sec >> c3 >> ms) || c1 != ':' || c2 != ':' || c3 != '.') return std::nullopt;
  if (in.peek() != EOF || h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59 || ms < 0 || ms > 999)
    return std::nullopt;
  return ((h * 60LL + m) * 60 + sec) * 1000 + ms;
}

std::optional<std::int64_t> parseLocal(const std::string& s) {
  if (s.size() != 5 || s[2] != ':') return std::nullopt;
  for (std::size_t i : {0, 1, 3, 4})
    if (!std::isdigit(static_cast<unsigned char>(s[i]))) return std::nullopt;
  const int h = std::stoi(s.substr(0, 2));
  const int m = std::stoi(s.substr(3, 2));
  if (h > 23 || m > 59) return std::nullopt;
  return (h * 60LL + m) * 60000;
}

std::optional<MouseButton> parseButton(const std::string& s) {
  if (s == "left") return MouseButton::Left;
  if (s == "right") return MouseButton::Right;
  if (s == "middle") return MouseButton::Middle;
  return std::nullopt;
}

std::optional<MouseButtons> parseButtons(const std::string& s) {
  MouseButtons held;
  if (s == "none") return held;
  std::istringstream in(s);
  std::string part;
  while (std::getline(in, part, '+')) {
    const auto b = parseButton(part);
    if (!b) return std::nullopt;
    (*b == MouseButton::Left ? held.left : *b == MouseButton::Right ? held.right : held.middle) = true;
  }
  return held;
}

std::optional<int> channelNamed(const std::string& s) {
  for (int c = 0; c < kChannelCount; ++c)
    if (channelName(static_cast<ChannelId>(c)) == s) return c;
  return std::nullopt;
}

class Runner {
 public:
  Runner(std::ostream& out, std::ostream& err) : out_(out), err_(err), trace_{out, now_} {}

  int run(std::istream& script) {
    std::vector<Command> commands;
    std::string text;
    int number = 0;
    bool started = false;
    while (std::getline(script, text)) {
      ++number;
      if (const auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
      std::istringstream words(text);
      Command c{number, {}};
      for (std::string w; words >> w;) c.words.push_back(w);
      if (c.words.empty()) continue;
      if (c.words[0] == "store" && c.words.size() >= 3 && c.words[2] == "text") {
        // The value is the rest of the line, blanks included.
        std::size_t at = 0;
        for (int word = 0; word < 3; ++word) {
          at = text.find_first_not_of(" \t", at);
          at = text.find_first_of(" \t", at);
        }
        // One blank separates the type from the value; the rest is the value.
        std::string value = at < text.size() ? text.substr(at + 1) : "";
        c.words.resize(3);
        c.words.push_back(value);
      }
      if (auto problem = check(c, started)) return malformed(number, *problem);
      if (c.words[0] == "start") started = true;
      commands.push_back(std::move(c));
    }
    for (const auto& c : commands) {
      execute(c);
      if (observer_ && observer_->quitRequested) endProgram();
      if (exited_) break;
    }
    return 0;
  }

 private:
  int malformed(int line, const std::string& why) {
    err_ << "line " << line << ": " << why << '\n';
    return 2;
  }

  std::optional<std::string> check(const Command& c, bool started) {
    const auto& w = c.words;
    const std::string& cmd = w[0];
    auto args = [&](std::size_t n) { return w.size() == n + 1; };
    static const std::set<std::string> setupCommands{"utc",   "local",     "screen",       "store",
                                                     "store-refuses-writes", "sound-dir", "sound-missing",
                                                     "sound-length", "setting"};
    if (setupCommands.count(cmd)) {
      if (started) return "'" + cmd + "' must come before 'start'";
      if (cmd == "utc") {
        if (!args(1) || !parseUtc(w[1])) return std::string("expected: utc HH:MM:SS.mmm");
        setup_.utcAtZero = *parseUtc(w[1]);
      } else if (cmd == "local") {
        if (!args(1) || !parseLocal(w[1])) return std::string("expected: local HH:MM");
        setup_.localAtZero = *parseLocal(w[1]);
      } else if (cmd == "screen") {
        if (!args(2) || !parseInt(w[1]) || !parseInt(w[2]) || *parseInt(w[1]) <= 0 || *parseInt(w[2]) <= 0)
          return std::string("expected: screen W H");
        setup_.screenW = *parseInt(w[1]);
        setup_.screenH = *parseInt(w[2]);
      } else if (cmd == "store") {
        if (w.size() < 3 || (w[2] == "dword" && (!args(3) || !parseInt(w[3]))) ||
            (w[2] != "dword" && w[2] != "text"))
          return std::string("expected: store NAME text VALUE, or store NAME dword N");
        setup_.store.put(w[1], w[2] == "text", w.size() > 3 ? w[3] : "");
      } else if (cmd == "setting") {
        const auto setting = args(2) ? settingNamed(w[1]) : std::nullopt;
        if (!setting || !parseSettingValue(*setting, w[2]))
          return std::string("expected: setting NAME VALUE, a setting's name and a value it can hold");
        // The player's settings live in the store, where the game reads them.
        setup_.store.put(PlayerSettingsStore::storedName(w[1]), true, w[2]);
      } else if (cmd == "store-refuses-writes") {
        if (!args(0)) return std::string("expected: store-refuses-writes");
        setup_.store.refusesWrites = true;
      } else if (cmd == "sound-dir") {
        if (!args(1)) return std::string("expected: sound-dir PATH");
        setup_.soundDir = w[1];
      } else if (cmd == "sound-missing") {
        if (!args(1)) return std::string("expected: sound-missing FILE");
        setup_.soundMissing.insert(upper(w[1]));
      } else if (cmd == "sound-length") {
        if (!args(2) || !channelNamed(w[1]) || !parseInt(w[2]) || *parseInt(w[2]) < 0)
          return std::string("expected: sound-length CHANNEL MS");
        setup_.soundLengths[upper(fileNameOf(channelFileName(static_cast<ChannelId>(*channelNamed(w[1])))))] =
            *parseInt(w[2]);
      }
      return std::nullopt;
    }
    if (cmd == "start") return started ? std::optional<std::string>("'start' given twice") : std::nullopt;
    if (!started) return "'" + cmd + "' needs 'start' first";
    if (cmd == "at" || cmd == "wait") {
      if (!args(1) || !parseInt(w[1]) || *parseInt(w[1]) < 0) return "expected: " + cmd + " MS";
      return std::nullopt;
    }
    if (cmd == "press" || cmd == "release") {
      if (!args(3) || !parseInt(w[1]) || !parseInt(w[2]) || !parseButton(w[3]))
        return "expected: " + cmd + " X Y left|right|middle";
      return std::nullopt;
    }
    if (cmd == "move") {
      if (!args(3) || !parseInt(w[1]) || !parseInt(w[2]) || !parseButtons(w[3]))
        return std::string("expected: move X Y BUTTONS");
      return std::nullopt;
    }
    if (cmd == "keydown" || cmd == "keyup") {
      if (!args(1) || !parseInt(w[1])) return "expected: " + cmd + " VK";
      return std::nullopt;
    }
    if (cmd == "splash") {
      if (!args(1) || (w[1] != "Puls_Play" && w[1] != "La_Email" && w[1] != "La_Http"))
        return std::string("expected: splash Puls_Play|La_Email|La_Http");
      return std::nullopt;
    }
    if (cmd == "close") {
      if (!args(1) || (w[1] != "AboutForm" && w[1] != "Form1")) return std::string("expected: close AboutForm|Form1");
      return std::nullopt;
    }
    if (cmd == "activate" || cmd == "deactivate") {
      if (!args(1) || w[1] != "Form1") return "expected: " + cmd + " Form1";
      return std::nullopt;
    }
    if (cmd == "dump") return args(0) ? std::nullopt : std::optional<std::string>("expected: dump");
    if (cmd == "menu") {
      if (!args(1) || !menuCommandNamed(w[1]))
        return std::string("expected: menu PM_1About|PM_3Readme|PM_4Whatsnew|PM_6Instruct|PM_8HiScore|PM_10Exit");
      return std::nullopt;
    }
    return "unknown command '" + cmd + "'";
  }

  void execute(const Command& c) {
    const auto& w = c.words;
    const std::string& cmd = w[0];
    if (cmd == "start") return startProgram();
    if (cmd == "at") return advanceTo(std::max<std::int64_t>(now_, *parseInt(w[1])));
    if (cmd == "wait") return advanceTo(now_ + *parseInt(w[1]));
    if (cmd == "press") {
      // A click on an inactive window activates it.
      if (!windows_->isActive(WindowId::Form1)) activateMainWindow();
      return handheld_->mousePress(*parseInt(w[1]), *parseInt(w[2]), *parseButton(w[3]));
    }
    if (cmd == "release") return handheld_->mouseRelease(*parseInt(w[1]), *parseInt(w[2]), *parseButton(w[3]));
    if (cmd == "move") return handheld_->mouseMove(*parseInt(w[1]), *parseInt(w[2]), *parseButtons(w[3]));
    // Keys go to the window that has the keyboard; the splash window and the about dialog do nothing with them.
    if (cmd == "keydown" || cmd == "keyup") {
      if (!windows_->isActive(WindowId::Form1)) return;
      if (cmd == "keydown") return handheld_->keyDown(*parseInt(w[1]));
      return handheld_->keyUp(*parseInt(w[1]));
    }
    if (cmd == "menu") return handheld_->chooseMenuItem(*menuCommandNamed(w[1]));
    if (cmd == "splash") {
      if (w[1] == "Puls_Play") return handheld_->splashPlay();
      if (w[1] == "La_Email") return handheld_->splashEmail();
      return handheld_->splashHttp();
    }
    if (cmd == "close") {
      if (w[1] == "AboutForm") return handheld_->closeAboutForm();
      return endProgram();
    }
    if (cmd == "activate") return activateMainWindow();
    if (cmd == "deactivate") {
      windows_->deactivate(WindowId::Form1);
      return handheld_->deactivateMainWindow();
    }
    if (cmd == "dump") return dump();
  }

  void activateMainWindow() {
    windows_->activate(WindowId::Form1);
    handheld_->activateMainWindow();
  }

  // The message loop has ended: the main window is destroyed with its channels.
  void endProgram() {
    sound_->closeAll();
    trace_.line("exit");
    exited_ = true;
  }

  void startProgram() {
    scheduler_ = std::make_unique<VirtualScheduler>(static_cast<int>(kTimers.size()));
    timeOfDay_ = std::make_unique<VirtualTimeOfDay>(now_, setup_.utcAtZero, setup_.localAtZero);
    mediaClock_ = std::make_unique<VirtualMediaClock>(now_);
    observer_ = std::make_unique<TraceObserver>(trace_);
    windows_ = std::make_unique<LoggingWindows>(trace_, setup_.screenW, setup_.screenH);
    loader_ = std::make_unique<ScriptedLoader>(setup_.soundDir, setup_.soundMissing, setup_.soundLengths);
    output_ = std::make_unique<SilentOutput>();
    sound_ = std::make_unique<SoundChannels>(*mediaClock_, *loader_, *output_, observer_.get());
    handheld_ = std::make_unique<Handheld>(HandheldPorts{*scheduler_, *timeOfDay_, *windows_, *observer_,
                                                         *observer_, *sound_, setup_.store, *observer_,
                                                         *observer_, observer_.get(), observer_.get(),
                                                         observer_.get()});
    handheld_->face.addObserver(observer_.get());
    // Start-up activates the main window before its activation handler
    // brings the splash window to the front.
    windows_->activate(WindowId::Form1);
    handheld_->start();
  }

  void advanceTo(std::int64_t time) {
    scheduler_->advanceTo(time, [this](int index) {
      now_ = scheduler_->now();
      trace_.line("tick " + std::string(kTimers[static_cast<std::size_t>(index)].name));
      handheld_->timerFired(index);
    });
    now_ = time;
  }

  void dump() {
    auto& h = *handheld_;
    std::string lit = "dump lit";
    for (const auto& e : kElements)
      if (h.face.visible(e.id)) lit += " " + std::string(e.name);
    trace_.line(lit);

    std::string digits = "dump digits";
    for (auto pos : h.tables.scoreDigits) {
      const auto picture = h.face.picture(pos);
      std::string d = "-";
      for (int g = 0; g < 10; ++g)
        if (picture && *picture == h.tables.digitGlyphs[g]) d = std::to_string(g);
      digits += " " + d;
    }
    trace_.line(digits);

    const auto& v = h.vars;
    std::ostringstream vars;
    vars << "dump vars GameMode=" << v.GameMode << " Score=" << v.Score << " LivesLeft=" << v.LivesLeft
         << " PlayerLane=" << v.PlayerLane << " HiScoreA=" << v.HiScoreA << " HiScoreB=" << v.HiScoreB
         << " PointsThrown=" << v.PointsThrown << " PointsRally=" << v.PointsRally
         << " ChanceMark=" << v.ChanceMark << " GameRunning=" << v.GameRunning
         << " PlayerActive=" << v.PlayerActive << " SwingReady=" << v.SwingReady << " KeyLatch=" << v.KeyLatch
         << " TickPhase=" << v.TickPhase << " ThrowState=" << v.ThrowState << " TickLane=" << v.TickLane
         << " ThrowLane=" << v.ThrowLane << " ThrowOdds=" << v.ThrowOdds << " FirstBall=" << v.FirstBall
         << " MissStep=" << v.MissStep << " ZzzStep=" << v.ZzzStep << " ChanceStep=" << v.ChanceStep
         << " BlinkCount=" << v.BlinkCount << " ChanceActive=" << v.ChanceActive
         << " BallSoundDue=" << v.BallSoundDue << " BackSoundDue=" << v.BackSoundDue
         << " MissPending=" << v.MissPending << " OpponentSwing=" << h.tables.swing(1) << ","
         << h.tables.swing(2) << "," << h.tables.swing(3) << " FirstActivation=" << v.FirstActivation
         << " DragOriginX=" << v.DragOriginX << " DragOriginY=" << v.DragOriginY;
    trace_.line(vars.str());

    std::string rally = "dump rally";
    for (int lane = 1; lane <= kLanes; ++lane) {
      rally += ' ';
      for (int c = 0; c < kRallyCells; ++c) {
        const auto& cell = h.tables.rally(lane, c);
        rally += cell.outgoing && cell.incoming ? 'b' : cell.outgoing ? 'o' : cell.incoming ? 'i' : '.';
      }
    }
    trace_.line(rally);

    std::string timers = "dump timers";
    for (const auto& t : kTimers) {
      const auto& timer = h.timer(t.id);
      timers += " " + std::string(t.name) + "=" + std::to_string(timer.interval()) + "/" +
                (timer.enabled() ? "on" : "off");
    }
    trace_.line(timers);

    std::string sound = "dump sound";
    for (int c = 0; c < kChannelCount; ++c) {
      const auto id = static_cast<ChannelId>(c);
      const auto& ch = h.channel(id);
      sound += " " + std::string(channelName(id)) + "=";
      sound += ch.isOpen() ? std::string(ch.isSounding() ? "playing" : "silent") + "/" +
                                 std::to_string(ch.positionMs()) + "/" + std::to_string(ch.lengthMs())
                           : "closed";
    }
    trace_.line(sound);

    // The values of the key itself; the settings' group has a line of its own.
    std::string store = "dump store";
    for (const auto& value : setup_.store.values())
      if (value.name.find('/') == std::string::npos) store += " " + value.name + "=" + value.text;
    trace_.line(store);
    trace_.line("dump windows" + windows_->dump());

    std::string settings = "dump settings";
    for (const auto& info : kSettings)
      settings += " " + std::string(info.name) + "=" + settingText(info.id, h.settings().value(info.id));
    trace_.line(settings);
  }

  std::ostream& out_;
  std::ostream& err_;
  std::int64_t now_ = 0;
  Trace trace_;
  Setup setup_;
  bool exited_ = false;
  std::unique_ptr<VirtualScheduler> scheduler_;
  std::unique_ptr<VirtualTimeOfDay> timeOfDay_;
  std::unique_ptr<VirtualMediaClock> mediaClock_;
  std::unique_ptr<TraceObserver> observer_;
  std::unique_ptr<LoggingWindows> windows_;
  std::unique_ptr<ScriptedLoader> loader_;
  std::unique_ptr<SilentOutput> output_;
  std::unique_ptr<SoundChannels> sound_;
  std::unique_ptr<Handheld> handheld_;
};

}  // namespace

int runScript(std::istream& script, std::ostream& trace, std::ostream& errors) {
  return Runner(trace, errors).run(script);
}

}  // namespace wuffel::sim
