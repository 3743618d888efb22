#include "frontend/pad_controls.h"

namespace wuffel {

void PadControls::part(int pad, PadPart part, bool down) {
  const auto slot = static_cast<std::size_t>(part);
  bool& held = held_[pad][slot];
  if (held == down) return;
  held = down;
  const auto source = kFirstGamepadSource - static_cast<ControlSource>(pad * kPadPartCount + slot);
  sink_(kPadControls[slot].control, source, down);
}

void PadControls::stick(int pad, float uprightThrow) {
  if (uprightThrow <= -kStickPress) part(pad, PadPart::StickUp, true);
  if (uprightThrow > -kStickRelease) part(pad, PadPart::StickUp, false);
  if (uprightThrow >= kStickPress) part(pad, PadPart::StickDown, true);
  if (uprightThrow < kStickRelease) part(pad, PadPart::StickDown, false);
}

void PadControls::unplugged(int pad) {
  const auto it = held_.find(pad);
  if (it == held_.end()) return;
  for (std::size_t slot = 0; slot < kPadPartCount; ++slot) part(pad, static_cast<PadPart>(slot), false);
  held_.erase(pad);
}

}  // namespace wuffel
