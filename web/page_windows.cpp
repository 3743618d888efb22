#include "web/page_windows.h"

namespace wuffel::web {

void PageWindows::changed(WindowId id) {
  if (id == WindowId::Form1 && onScreen(id)) handheldPlaced_ = true;
  const PageViews views{isShown(WindowId::SplashForm), isShown(WindowId::Form1) && handheldPlaced_,
                        isShown(WindowId::AboutForm)};
  if (shownViews_ == views) return;
  shownViews_ = views;
  show_(views);
}

}  // namespace wuffel::web
