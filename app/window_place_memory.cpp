#include "app/window_place_memory.h"

#include <QEvent>
#include <QWidget>

#include "app/kept_on_screen.h"
#include "game/handheld.h"

namespace wuffel {

namespace {
constexpr int kRestMs = 500;
}  // namespace

WindowPlaceMemory::WindowPlaceMemory(QWidget& window, Handheld& handheld, std::function<void()> notSaved)
    : window_(window), handheld_(handheld), notSaved_(std::move(notSaved)) {
  resting_.setSingleShot(true);
  resting_.setInterval(kRestMs);
  connect(&resting_, &QTimer::timeout, this, [this] { storePlace(); });
  window_.installEventFilter(this);
}

bool WindowPlaceMemory::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &window_) return false;
  // The first time the window is shown is when "- PLAY -" put it on the screen.
  if (event->type() == QEvent::Show && !placed_) {
    placed_ = true;
    if (handheld_.settings().rememberPosition())
      if (const auto place = handheld_.settingsStore().loadPlace())
        window_.move(keptOnAScreen(QRect(QPoint(place->left, place->top), window_.frameGeometry().size())).topLeft());
  }
  if (event->type() == QEvent::Move && placed_ && !window_.isFullScreen() && handheld_.settings().rememberPosition())
    resting_.start();
  return false;
}

void WindowPlaceMemory::storePlace() {
  if (!handheld_.settingsStore().savePlace({window_.x(), window_.y()})) notSaved_();
}

void WindowPlaceMemory::keep() {
  if (resting_.isActive()) {
    resting_.stop();
    storePlace();
  }
}

}  // namespace wuffel
