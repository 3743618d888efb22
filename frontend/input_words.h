// The inputs in the words of a scenario script, one command a line: what a
// recording writes and the runner reads back.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "game/inputs.h"

namespace wuffel {

inline constexpr std::array<std::string_view, 3> kMouseButtonWords{"left", "right", "middle"};
inline constexpr std::array<std::string_view, 3> kSplashLinkWords{"Puls_Play", "La_Email", "La_Http"};
inline constexpr std::array<std::string_view, 8> kControlWords{"swing",  "up",   "down",  "game-a",
                                                               "game-b", "time", "pause", "mute"};

std::optional<MouseButton> mouseButtonNamed(std::string_view word);
// `none`, or buttons joined by `+`.
std::optional<MouseButtons> mouseButtonsNamed(std::string_view words);
std::optional<input::SplashLink> splashLinkNamed(std::string_view word);
std::optional<Control> controlNamed(std::string_view word);

// The script line of an input: "press 569 56 left". A restore of the
// defaults is written as the settings it changes, one line each.
std::string scriptLineOf(const Input& input);

}  // namespace wuffel
