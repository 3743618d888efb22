#include "frontend/window_model.h"

#include "face/elements.h"

namespace wuffel {

WindowModel::WindowModel(int screenWidth, int screenHeight, EventLog* log)
    : words_(log), screenWidth_(screenWidth), screenHeight_(screenHeight) {
  const auto& face = elementInfo(ElementId::Im_Base);
  at(WindowId::Form1) = {kMainWindowCreatedAt, false, {face.width, face.height}};
  at(WindowId::AboutForm) = {{0, 0}, false, kAboutFormSize};
  // The splash window is centred on the screen when it is created.
  at(WindowId::SplashForm) = {centredOnScreen(kSplashFormSize, screenWidth, screenHeight), false,
                              kSplashFormSize};
}

void WindowModel::setShown(WindowId id, bool shown) {
  auto& s = at(id);
  if (s.shown == shown) return;
  s.shown = shown;
  words_.windowShown(id, shown);
  changed(id);
}

void WindowModel::hide(WindowId id) {
  setShown(id, false);
  focus_.hidden(id, [this](WindowId other) { return isShown(other); });
}

void WindowModel::bringToFront(WindowId id) {
  broughtToFrontNow(id);
  words_.windowInFront(id);
  activate(id);
}

void WindowModel::moveTo(WindowId id, WindowPosition position) {
  auto& s = at(id);
  if (s.position.left == position.left && s.position.top == position.top) return;
  s.position = position;
  movedNow(id, position);
  words_.windowMoved(id, position);
  changed(id);
}

void WindowModel::popupMenu(int x, int y) {
  words_.popup(x, y);
  poppedUp(x, y);
}

bool WindowModel::onScreen(WindowId id) const {
  const auto& s = at(id);
  return s.position.left + s.size.width > 0 && s.position.top + s.size.height > 0 &&
         s.position.left < screenWidth_ && s.position.top < screenHeight_;
}

}  // namespace wuffel
