// What a gamepad's parts work, whichever way a front end reads its pads
// (SDL's game controllers on the desktop, the Gamepad API on the page): the
// d-pad and the left stick move, the face buttons swing, Start works GAME A
// and Back GAME B. Each part of each pad holds its control on its own, and
// a pad unplugged lets go of everything it held.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <map>
#include <utility>

#include "game/controls.h"

namespace wuffel {

enum class PadPart { FaceSouth, FaceEast, FaceWest, FaceNorth, Back, Start, DPadUp, DPadDown, StickUp, StickDown };
inline constexpr std::size_t kPadPartCount = static_cast<std::size_t>(PadPart::StickDown) + 1;

struct PadPartControl {
  PadPart part;
  Control control;
};
inline constexpr std::array<PadPartControl, kPadPartCount> kPadControls{{
    {PadPart::FaceSouth, Control::Swing},
    {PadPart::FaceEast, Control::Swing},
    {PadPart::FaceWest, Control::Swing},
    {PadPart::FaceNorth, Control::Swing},
    {PadPart::Back, Control::GameB},
    {PadPart::Start, Control::GameA},
    {PadPart::DPadUp, Control::Up},
    {PadPart::DPadDown, Control::Down},
    {PadPart::StickUp, Control::Up},
    {PadPart::StickDown, Control::Down},
}};
static_assert([] {
  for (std::size_t i = 0; i < kPadControls.size(); ++i)
    if (static_cast<std::size_t>(kPadControls[i].part) != i) return false;
  return true;
}(), "kPadControls lists the parts in the order of their enum");

class PadControls {
 public:
  using Sink = std::function<void(Control, ControlSource, bool down)>;

  // The stick moves a lane past half its throw, and lets go below a quarter.
  static constexpr float kStickPress = 0.5f;
  static constexpr float kStickRelease = 0.25f;

  explicit PadControls(Sink sink) : sink_(std::move(sink)) {}

  // A part of pad number `pad` (the front end's own numbering) went down or up.
  void part(int pad, PadPart part, bool down);
  // The left stick's upright throw, from -1 (up) to 1 (down).
  void stick(int pad, float uprightThrow);
  void unplugged(int pad);

 private:
  Sink sink_;
  std::map<int, std::array<bool, kPadPartCount>> held_;  // by pad
};

}  // namespace wuffel
