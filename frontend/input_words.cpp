#include "frontend/input_words.h"

#include <variant>

#include "game/menu_items.h"

namespace wuffel {

namespace {

template <typename T, std::size_t N>
std::optional<T> named(const std::array<std::string_view, N>& words, std::string_view word) {
  for (std::size_t i = 0; i < N; ++i)
    if (words[i] == word) return static_cast<T>(i);
  return std::nullopt;
}

std::string word(MouseButton b) { return std::string(kMouseButtonWords[static_cast<std::size_t>(b)]); }

std::string words(MouseButtons held) {
  std::string s;
  const auto join = [&](bool down, MouseButton b) {
    if (down) s += (s.empty() ? "" : "+") + word(b);
  };
  join(held.left, MouseButton::Left);
  join(held.right, MouseButton::Right);
  join(held.middle, MouseButton::Middle);
  return s.empty() ? "none" : s;
}

std::string point(int x, int y) { return std::to_string(x) + " " + std::to_string(y); }

std::string key(VirtualKey k) { return std::to_string(static_cast<int>(k)); }

std::string control(Control c, ControlSource source, const char* how) {
  return "control " + std::string(kControlWords[static_cast<std::size_t>(c)]) + " " + how + " " +
         std::to_string(source);
}

std::string menuName(MenuCommand command) {
  for (const auto& item : kCommandMenu)
    if (item.command == command) return std::string(item.name);
  return {};
}

std::string setting(Setting s, int value) {
  return "change-setting " + std::string(settingInfo(s).name) + " " + settingText(s, value);
}

struct LineOf {
  std::string operator()(const input::Start&) const { return "start"; }
  std::string operator()(const input::Activate&) const { return "activate Form1"; }
  std::string operator()(const input::Deactivate&) const { return "deactivate Form1"; }
  std::string operator()(const input::Press& p) const { return "press " + point(p.x, p.y) + " " + word(p.button); }
  std::string operator()(const input::Move& m) const { return "move " + point(m.x, m.y) + " " + words(m.held); }
  std::string operator()(const input::Release& r) const {
    return "release " + point(r.x, r.y) + " " + word(r.button);
  }
  std::string operator()(const input::KeyDown& k) const { return "keydown " + key(k.key); }
  std::string operator()(const input::KeyUp& k) const { return "keyup " + key(k.key); }
  std::string operator()(const input::Splash& s) const {
    return "splash " + std::string(kSplashLinkWords[static_cast<std::size_t>(s.link)]);
  }
  std::string operator()(const input::CloseAbout&) const { return "close AboutForm"; }
  std::string operator()(const input::CloseSettings&) const { return "close SettingsForm"; }
  std::string operator()(const input::Menu& m) const { return "menu " + menuName(m.command); }
  std::string operator()(const input::ControlDown& c) const { return control(c.control, c.source, "down"); }
  std::string operator()(const input::ControlUp& c) const { return control(c.control, c.source, "up"); }
  std::string operator()(const input::ChangeSetting& c) const { return setting(c.setting, c.value); }
  std::string operator()(const input::RestoreDefaults&) const {
    std::string lines;
    for (const auto& info : kSettings) lines += (lines.empty() ? "" : "\n") + setting(info.id, info.defaultValue);
    return lines;
  }
  std::string operator()(const input::Answer& a) const { return a.yes ? "answer yes" : "answer no"; }
};

}  // namespace

std::optional<MouseButton> mouseButtonNamed(std::string_view w) { return named<MouseButton>(kMouseButtonWords, w); }

std::optional<MouseButtons> mouseButtonsNamed(std::string_view text) {
  MouseButtons held;
  if (text == "none") return held;
  while (!text.empty()) {
    const auto plus = text.find('+');
    const auto b = mouseButtonNamed(text.substr(0, plus));
    if (!b) return std::nullopt;
    (*b == MouseButton::Left ? held.left : *b == MouseButton::Right ? held.right : held.middle) = true;
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  return held;
}

std::optional<input::SplashLink> splashLinkNamed(std::string_view w) {
  return named<input::SplashLink>(kSplashLinkWords, w);
}

std::optional<Control> controlNamed(std::string_view w) { return named<Control>(kControlWords, w); }

std::string scriptLineOf(const Input& input) { return std::visit(LineOf{}, input); }

}  // namespace wuffel
