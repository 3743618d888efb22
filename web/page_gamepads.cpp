#include "web/page_gamepads.h"

#include <array>
#include <optional>

namespace wuffel::web {

namespace {

// The standard layout's buttons, by number, that play; the others do nothing.
struct StandardButton {
  int number;
  PadPart part;
};
constexpr std::array<StandardButton, 8> kStandardButtons{{
    {0, PadPart::FaceSouth},
    {1, PadPart::FaceEast},
    {2, PadPart::FaceWest},
    {3, PadPart::FaceNorth},
    {8, PadPart::Back},
    {9, PadPart::Start},
    {12, PadPart::DPadUp},
    {13, PadPart::DPadDown},
}};

std::optional<PadPart> partOfButton(int number) {
  for (const auto& b : kStandardButtons)
    if (b.number == number) return b.part;
  return std::nullopt;
}

}  // namespace

PageGamepads::PageGamepads(Handheld& handheld)
    : controls_([&handheld](Control control, ControlSource source, bool down) {
        down ? handheld.controlDown(control, source) : handheld.controlUp(control, source);
      }) {}

void PageGamepads::button(int pad, int standardButton, bool down) {
  if (const auto part = partOfButton(standardButton)) controls_.part(pad, *part, down);
}

void PageGamepads::stick(int pad, double uprightAxis) { controls_.stick(pad, static_cast<float>(uprightAxis)); }

void PageGamepads::unplugged(int pad) { controls_.unplugged(pad); }

}  // namespace wuffel::web
