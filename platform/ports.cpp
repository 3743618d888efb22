#include "platform/ports.h"

namespace wuffel {

std::string_view windowName(WindowId id) {
  switch (id) {
    case WindowId::Form1: return "Form1";
    case WindowId::SplashForm: return "SplashForm";
    case WindowId::AboutForm: return "AboutForm";
  }
  return "?";
}

}  // namespace wuffel
