#include "platform/dispatcher.h"

#include <exception>

namespace wuffel {

std::string errorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

void Dispatcher::run(const std::function<void()>& handler) {
  std::string message;
  try {
    handler();
    return;
  } catch (const std::exception& e) {
    message = e.what();
  }
  box_.showError(errorBoxText(message));
}

}  // namespace wuffel
