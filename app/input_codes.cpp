#include "app/input_codes.h"

namespace wuffel {

std::optional<MouseButton> buttonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return std::nullopt;
  }
}

MouseButtons heldOf(Qt::MouseButtons b) {
  return {b.testFlag(Qt::LeftButton), b.testFlag(Qt::RightButton), b.testFlag(Qt::MiddleButton)};
}

VirtualKey virtualKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Control: return VirtualKey::Ctrl;  // either one
    case Qt::Key_Up: return VirtualKey::Up;
    case Qt::Key_Down: return VirtualKey::Down;
    case Qt::Key_Escape: return VirtualKey::Escape;
    case Qt::Key_F1: return VirtualKey::F1;
    case Qt::Key_F2: return VirtualKey::F2;
    case Qt::Key_F3: return VirtualKey::F3;
    case Qt::Key_F4: return VirtualKey::F4;
    case Qt::Key_F5: return VirtualKey::F5;
    case Qt::Key_Space: return VirtualKey::Space;
    case Qt::Key_Z: return VirtualKey::Z;
    case Qt::Key_A: return VirtualKey::A;
    case Qt::Key_B: return VirtualKey::B;
    case Qt::Key_T: return VirtualKey::T;
    case Qt::Key_P: return VirtualKey::P;
    case Qt::Key_M: return VirtualKey::M;
    default: return kOtherKey;
  }
}

}  // namespace wuffel
