#include "app/desktop_compositor.h"

#include <QGuiApplication>
#include <QRectF>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#ifdef WUFFEL_HAVE_XCB_SHAPE
#include <QtGui/qguiapplication_platform.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>
#endif

namespace wuffel {

namespace {

bool onPlatform(const char* name) { return QGuiApplication::platformName().startsWith(QLatin1String(name)); }

#ifdef WUFFEL_HAVE_XCB_SHAPE
xcb_connection_t* x11Connection() {
  const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

// A compositing manager announces itself by owning _NET_WM_CM_Sn, n the screen.
bool x11CompositorRuns(xcb_connection_t* c) {
  const int screens = xcb_setup_roots_length(xcb_get_setup(c));
  for (int n = 0; n < screens; ++n) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(n);
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr),
        &free);
    if (!atom) continue;
    std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr), &free);
    if (owner && owner->owner != XCB_NONE) return true;
  }
  return false;
}
#endif

}  // namespace

bool compositorBlendsWindows() {
  if (onPlatform("wayland")) return true;
#ifdef WUFFEL_HAVE_XCB_SHAPE
  if (onPlatform("xcb"))
    if (xcb_connection_t* c = x11Connection()) return x11CompositorRuns(c);
#endif
  return false;
}

bool limitClicksTo(QWidget& window, const QRegion& area) {
  // Qt's mask of a Wayland window is its input region alone.
  if (onPlatform("wayland")) {
    window.setMask(area);
    return true;
  }
#ifdef WUFFEL_HAVE_XCB_SHAPE
  xcb_connection_t* c = onPlatform("xcb") ? x11Connection() : nullptr;
  if (!c) return false;
  // X11's input shape, in device pixels, rounded as Qt rounds the window's mask.
  const qreal ratio = window.devicePixelRatioF();
  std::vector<xcb_rectangle_t> rectangles;
  for (const QRect& r : area) {
    const QRect d = QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio).toRect();
    rectangles.push_back({static_cast<int16_t>(d.x()), static_cast<int16_t>(d.y()), static_cast<uint16_t>(d.width()),
                          static_cast<uint16_t>(d.height())});
  }
  xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                       static_cast<xcb_window_t>(window.winId()), 0, 0, static_cast<uint32_t>(rectangles.size()),
                       rectangles.data());
  xcb_flush(c);
  return true;
#else
  return false;
#endif
}

}  // namespace wuffel
