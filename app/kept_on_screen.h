// A window's place moved as little as needed to lie wholly on a screen that
// is there now: the one that shows most of it, or else the nearest.
#pragma once

#include <QRect>

namespace wuffel {

QRect keptOnAScreen(QRect place);

}  // namespace wuffel
