// The keys and mouse buttons as the game knows them.
#pragma once

#include <Qt>

#include <optional>

#include "platform/input.h"

namespace wuffel {

// The virtual-key code the game knows a key by; kOtherKey for the rest.
VirtualKey virtualKeyOf(int qtKey);
std::optional<MouseButton> buttonOf(Qt::MouseButton button);
MouseButtons heldOf(Qt::MouseButtons buttons);

}  // namespace wuffel
