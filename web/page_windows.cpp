#include "web/page_windows.h"

#include <algorithm>

#include "game/handheld.h"

namespace wuffel::web {

namespace {
std::string named(WindowId id) { return "window " + std::string(windowName(id)); }
}  // namespace

PageWindows::PageWindows(int screenWidth, int screenHeight, PageTrace* trace,
                         std::function<void(const PageViews&)> show, std::function<void(int, int)> popup)
    : screenWidth_(screenWidth), screenHeight_(screenHeight), trace_(trace), show_(std::move(show)),
      popup_(std::move(popup)) {
  const auto& face = elementInfo(ElementId::Im_Base);
  at(WindowId::Form1) = {kMainWindowCreatedAt, false, face.width, face.height};
  at(WindowId::AboutForm) = {{0, 0}, false, kAboutFormSize.width, kAboutFormSize.height};
  at(WindowId::SplashForm) = {centredOnScreen(kSplashFormSize, screenWidth, screenHeight), false,
                              kSplashFormSize.width, kSplashFormSize.height};
}

void PageWindows::setShown(WindowId id, bool shown) {
  auto& s = at(id);
  if (s.shown == shown) return;
  s.shown = shown;
  if (trace_) trace_->event(named(id) + (shown ? " show" : " hide"));
  updateViews();
}

void PageWindows::hide(WindowId id) {
  setShown(id, false);
  focus_.hidden(id, [this](WindowId other) { return isShown(other); });
}

void PageWindows::bringToFront(WindowId id) {
  if (trace_) trace_->event(named(id) + " front");
  activate(id);
}

void PageWindows::moveTo(WindowId id, WindowPosition pos) {
  auto& s = at(id);
  if (s.pos.left == pos.left && s.pos.top == pos.top) return;
  s.pos = pos;
  if (id == WindowId::Form1 && onScreen(id)) handheldPlaced_ = true;
  if (trace_) trace_->event(named(id) + " at " + std::to_string(pos.left) + " " + std::to_string(pos.top));
  updateViews();
}

void PageWindows::popupMenu(int x, int y) {
  if (trace_) trace_->event("popup " + std::to_string(x) + " " + std::to_string(y));
  popup_(x, y);
}

bool PageWindows::onScreen(WindowId id) const {
  const auto& s = at(id);
  return s.pos.left + s.width > 0 && s.pos.top + s.height > 0 && s.pos.left < screenWidth_ &&
         s.pos.top < screenHeight_;
}

void PageWindows::updateViews() {
  const PageViews views{isShown(WindowId::SplashForm), isShown(WindowId::Form1) && handheldPlaced_,
                        isShown(WindowId::AboutForm)};
  if (shownViews_ == views) return;
  shownViews_ = views;
  show_(views);
}

}  // namespace wuffel::web
