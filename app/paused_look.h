// How the handheld shows that its game is paused, without touching the
// liquid-crystal panel: the glass dimmed, and "PAUSED" printed on the case
// below the screen's frame in the lettering of the case's own printing.
#pragma once

#include <QImage>

namespace wuffel {

// The face's size at `devicePixelRatio` device pixels per face pixel:
// see-through but for the glass's shade and the word, to lay over the face.
QImage pausedLook(qreal devicePixelRatio);

}  // namespace wuffel
