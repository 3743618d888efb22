// Whether the desktop blends windows with what lies beneath them, and how a
// window that is see-through at its edges keeps its clicks to its outline.
#pragma once

#include <QRegion>
#include <QWidget>

namespace wuffel {

// Always so on Wayland; on X11 while a compositing manager holds the screen.
bool compositorBlendsWindows();

// Lets `window` take the mouse only inside `area` (in its own coordinates)
// while the whole of it is drawn. Needs the native window. Returns false
// where the window system cannot separate the two.
bool limitClicksTo(QWidget& window, const QRegion& area);

}  // namespace wuffel
