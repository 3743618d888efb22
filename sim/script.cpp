#include "sim/script.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <new>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "frontend/input_words.h"
#include "game/timers.h"
#include "platform/ports.h"
#include "sim/quoted_word.h"
#include "sim/script_arguments.h"
#include "sound/channel.h"
#include "store/player_settings_store.h"

namespace wuffel::sim {

namespace {

// No script needs a longer line; a file without line ends (a device, a
// binary) is refused before it fills the memory.
constexpr std::size_t kLongestLine = 1 << 20;
// A script plays at most a week, room for days-long pauses: time past a
// game over runs the sleeping figure's ticks, some 13 MB of trace a day.
constexpr std::int64_t kLongestRunMs = 7LL * kMillisecondsPerDay;

using Problem = std::optional<std::string>;

// Whether a line was read into `text`, the script has ended, or the line is
// longer than any script needs; its rest is not read.
enum class LineRead { Line, End, TooLong };

LineRead readLine(std::streambuf& in, std::string& text) {
  text.clear();
  for (auto c = in.sbumpc(); c != std::streambuf::traits_type::eof(); c = in.sbumpc()) {
    if (c == '\n') return LineRead::Line;
    if (text.size() == kLongestLine) return LineRead::TooLong;
    text.push_back(static_cast<char>(c));
  }
  return text.empty() ? LineRead::End : LineRead::Line;
}

class Reader {
 public:
  // `next` reads the next line into its text.
  template <class NextLine>
  std::variant<Script, ScriptError> read(NextLine next) {
    std::string text;
    int number = 1;
    try {
      for (;; ++number) {
        const LineRead read = next(text);
        if (read == LineRead::End) break;
        if (read == LineRead::TooLong) return ScriptError{number, "the line is longer than 1 MiB, refused"};
        const auto words = wordsOf(text);
        if (words.empty()) continue;
        if (const Problem problem = line(words)) return ScriptError{number, *problem};
      }
    } catch (const std::bad_alloc&) {
      return ScriptError{number, "the script is too long to hold in memory", true};
    } catch (const std::exception& failure) {
      return ScriptError{number, failure.what(), true};
    }
    return std::move(script_);
  }

 private:
  Problem line(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    if (isSetupCommand(cmd)) {
      if (started_) return quotedWord(cmd) + " must come before 'start'";
      return setup(w);
    }
    if (cmd == "start") {
      if (started_) return std::string("'start' given twice");
      started_ = true;
      return add(command::Start{});
    }
    if (!started_) return quotedWord(cmd) + " needs 'start' first";
    return event(w);
  }

  static bool isSetupCommand(const std::string& cmd) {
    for (const char* setup : {"utc", "local", "screen", "store", "store-refuses-writes", "sound-dir", "sound-missing",
                              "sound-length", "setting", "questions"})
      if (cmd == setup) return true;
    return false;
  }

  Problem setup(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    PlatformSetup& s = script_.setup.platform;
    if (cmd == "utc") {
      Arguments a(w, 1);
      s.utcAtZero = a.utc(1);
      if (!a.ok()) return a.expected("utc HH:MM:SS.mmm");
    } else if (cmd == "local") {
      Arguments a(w, 1);
      s.localAtZero = a.local(1);
      if (!a.ok()) return a.expected("local HH:MM, HH:MM:SS or HH:MM:SS.mmm");
    } else if (cmd == "screen") {
      Arguments a(w, 2);
      s.screenWidth = a.positive(1);
      s.screenHeight = a.positive(2);
      if (!a.ok()) return a.expected("screen W H");
    } else if (cmd == "store") {
      const bool text = w.size() >= 3 && w[2] == "text";
      Arguments number(w, 3);
      number.integer(3);
      if (!text && !(w.size() >= 3 && w[2] == "dword" && number.ok()))
        return std::string("expected: store NAME text VALUE, or store NAME dword N");
      script_.setup.store.push_back({w[1], text, w[3]});
    } else if (cmd == "setting") {
      const auto setting = Arguments(w, 2).ok() ? settingNamed(w[1]) : std::nullopt;
      if (!setting || !parseSettingValue(*setting, w[2]))
        return std::string("expected: setting NAME VALUE, a setting's name and a value it can hold");
      // The player's settings live in the store, where the game reads them.
      script_.setup.store.push_back({PlayerSettingsStore::storedName(w[1]), true, w[2]});
    } else if (cmd == "questions") {
      Arguments a(w, 1);
      a.choice(1, {"wait"});
      if (!a.ok()) return a.expected("questions wait");
      script_.setup.questionsWait = true;
    } else if (cmd == "store-refuses-writes") {
      if (!Arguments(w, 0).ok()) return std::string("expected: store-refuses-writes");
      script_.setup.storeRefusesWrites = true;
    } else if (cmd == "sound-dir") {
      Arguments a(w, 1);
      s.soundDir = a.word(1);
      if (!a.ok()) return a.expected("sound-dir PATH");
    } else if (cmd == "sound-missing") {
      Arguments a(w, 1);
      const std::string& file = a.word(1);
      if (!a.ok()) return a.expected("sound-missing FILE");
      s.soundMissing.insert(inCapitals(file));
    } else if (cmd == "sound-length") {
      Arguments a(w, 2);
      const ChannelId channel = a.channel(1);
      const int ms = a.nonNegative(2);
      if (!a.ok()) return a.expected("sound-length CHANNEL MS");
      s.soundLengths[inCapitals(fileNameOf(channelFileName(channel)))] = ms;
    }
    return std::nullopt;
  }

  Problem event(const std::vector<std::string>& w) {
    const std::string& cmd = w[0];
    if (cmd == "at" || cmd == "wait") {
      Arguments a(w, 1);
      const int ms = a.nonNegative(1);
      if (!a.ok()) return a.expected(cmd + " MS");
      clock_ = cmd == "at" ? std::max<std::int64_t>(clock_, ms) : clock_ + ms;
      if (clock_ > kLongestRunMs)
        return "'" + cmd + " " + w[1] + "' goes past a week of virtual time (" + std::to_string(kLongestRunMs) +
               " ms), the longest a script runs";
      return cmd == "at" ? add(command::At{ms}) : add(command::Wait{ms});
    }
    if (cmd == "press" || cmd == "release") {
      Arguments a(w, 3);
      const int x = a.integer(1), y = a.integer(2);
      const MouseButton button = a.button(3);
      if (!a.ok()) return a.expected(cmd + " X Y left|right|middle");
      return cmd == "press" ? add(command::Press{x, y, button}) : add(command::Release{x, y, button});
    }
    if (cmd == "move") {
      Arguments a(w, 3);
      const int x = a.integer(1), y = a.integer(2);
      const MouseButtons held = a.buttons(3);
      if (!a.ok()) return a.expected("move X Y BUTTONS");
      return add(command::Move{x, y, held});
    }
    if (cmd == "keydown" || cmd == "keyup") {
      Arguments a(w, 1);
      const auto key = static_cast<VirtualKey>(a.integer(1));
      if (!a.ok()) return a.expected(cmd + " VK");
      return cmd == "keydown" ? add(command::KeyDown{key}) : add(command::KeyUp{key});
    }
    if (cmd == "splash") {
      Arguments a(w, 1);
      const auto item = a.splashItem(1);
      if (!a.ok()) return a.expected("splash Puls_Play|La_Email|La_Http");
      return add(command::Splash{item});
    }
    if (cmd == "close") {
      Arguments a(w, 1);
      const std::size_t window = a.choice(1, {"AboutForm", "SettingsForm", "Form1"});
      if (!a.ok()) return a.expected("close AboutForm|SettingsForm|Form1");
      if (window == 1) return add(command::CloseSettingsForm{});
      return add(command::Close{window == 2 ? WindowId::Form1 : WindowId::AboutForm});
    }
    if (cmd == "activate" || cmd == "deactivate") {
      Arguments a(w, 1);
      a.choice(1, {"Form1"});
      if (!a.ok()) return a.expected(cmd + " Form1");
      return cmd == "activate" ? add(command::Activate{}) : add(command::Deactivate{});
    }
    if (cmd == "dump") {
      if (!Arguments(w, 0).ok()) return std::string("expected: dump");
      return add(command::Dump{});
    }
    if (cmd == "answer") {
      Arguments a(w, 1);
      const bool yes = a.choice(1, {"no", "yes"}) == 1;
      if (!a.ok()) return a.expected("answer yes|no");
      return add(command::Answer{yes});
    }
    // The player changes a setting while the program runs.
    if (cmd == "change-setting") {
      const auto setting = Arguments(w, 2).ok() ? settingNamed(w[1]) : std::nullopt;
      const auto value = setting ? parseSettingValue(*setting, w[2]) : std::nullopt;
      if (!value) return std::string("expected: change-setting NAME VALUE, a setting's name and a value it can hold");
      return add(command::Setting{*setting, *value});
    }
    if (cmd == "control") {
      Arguments a(w, 3);
      const auto control = a.word(1);
      const bool down = a.choice(2, {"up", "down"}) == 1;
      const int source = a.integer(3);
      const auto named = controlNamed(control);
      if (!a.ok() || !named) return a.expected("control swing|up|down|game-a|game-b|time|pause|mute down|up SOURCE");
      return add(command::Control{*named, source, down});
    }
    if (cmd == "skip-ticks") {
      Arguments a(w, 2);
      const int timer = a.timer(1);
      const int next = a.nonNegative(2);
      if (!a.ok()) return a.expected("skip-ticks TIMER MS");
      return add(command::SkipTicks{timer, next});
    }
    if (cmd == "expect") {
      Arguments a(w, 2);
      const std::size_t what = a.choice(1, {"score", "digest"});
      if (what == 0) {
        const int score = a.integer(2);
        if (!a.ok()) return a.expected("expect score N");
        return add(command::ExpectScore{score});
      }
      const std::string& digest = a.word(2);
      if (!a.ok() || digest.size() != 16 || digest.find_first_not_of("0123456789abcdef") != std::string::npos)
        return a.expected("expect score N, or expect digest HEX (sixteen hex digits)");
      return add(command::ExpectDigest{digest});
    }
    if (cmd == "menu") {
      Arguments a(w, 1);
      const MenuCommand item = a.menuItem(1);
      if (!a.ok()) return a.expected("menu " + menuItemNames());
      return add(command::Menu{item});
    }
    return "unknown command " + quotedWord(cmd);
  }

  Problem add(Command c) {
    script_.events.push_back(c);
    return std::nullopt;
  }

  Script script_;
  bool started_ = false;
  std::int64_t clock_ = 0;  // the virtual time the events so far lead to
};

}  // namespace

std::variant<Script, ScriptError> readScript(std::istream& in) {
  return Reader().read([&in](std::string& text) { return readLine(*in.rdbuf(), text); });
}

std::variant<Script, ScriptError> readScript(std::string_view script) {
  return Reader().read([&script](std::string& text) {
    if (script.empty()) return LineRead::End;
    const std::size_t end = std::min(script.find('\n'), script.size());
    if (end > kLongestLine) return LineRead::TooLong;
    text.assign(script.substr(0, end));
    script.remove_prefix(std::min(end + 1, script.size()));
    return LineRead::Line;
  });
}

}  // namespace wuffel::sim
