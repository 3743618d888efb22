// The case's buttons as a screen reader names them, in the order they are
// read: each front end offers them as real controls that press the button
// as the mouse's left button does. HIT, UP and DOWN answer the mouse only
// with modern keys; with the original keys they do nothing and are left out.
#pragma once

#include <array>
#include <string_view>

#include "face/elements.h"
#include "store/player_settings.h"

namespace wuffel {

struct FaceControl {
  ElementId button;
  std::string_view name;
  bool withModernKeysOnly;
};

inline constexpr std::array<FaceControl, 7> kFaceControls{{
    {ElementId::Puls_GameA, "GAME A", false},
    {ElementId::Puls_GameB, "GAME B", false},
    {ElementId::Puls_Time, "TIME", false},
    {ElementId::Puls_ACL, "ACL", false},
    {ElementId::Puls_Hit, "HIT", true},
    {ElementId::Puls_Up, "UP", true},
    {ElementId::Puls_Down, "DOWN", true},
}};

inline bool controlActs(const FaceControl& control, const PlayerSettings& settings) {
  return !control.withModernKeysOnly || settings.modernKeys();
}

}  // namespace wuffel
