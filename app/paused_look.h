// How the handheld shows that its game is paused, without touching the
// liquid-crystal panel: the glass dimmed, and "PAUSED" printed on the case
// below the screen's frame in the lettering of the case's own printing.
#pragma once

#include <QImage>
#include <QPainter>
#include <QString>

namespace wuffel {

// The face's size at `devicePixelRatio` device pixels per face pixel:
// see-through but for the glass's shade and the word, to lay over the face.
QImage pausedLook(qreal devicePixelRatio);
// Other words in the same place and lettering, on a see-through face.
QImage printedOnCase(const QString& words, qreal devicePixelRatio);
void printWords(QPainter& painter, const QString& words);

}  // namespace wuffel
