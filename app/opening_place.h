// Where the program's dialogs open, near the handheld they belong to: the
// settings beside it, never over its face where the screen has room, and
// the about dialog over its middle, kept on the screen. A dialog opens again
// where the player left it, unless the handheld has moved meanwhile.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace wuffel {

// The handheld on the screen: its face, and the glass of its panel.
struct HandheldOnScreen {
  QRect face;
  QRect glass;
};
HandheldOnScreen handheldOnScreen(QRect face);

// The place of a window of `size` beside the handheld on `screen`: to its
// right, else its left, below or above, centred along that side; where no
// side has room, the place on the screen that covers least of the glass,
// and then of the face.
QPoint besideTheHandheld(QSize size, const HandheldOnScreen& handheld, QRect screen);
// Centred over the handheld's middle, and on the screen.
QPoint overTheHandheld(QSize size, const HandheldOnScreen& handheld, QRect screen);

// Places `dialog` by `rule` when it is shown, given where the handheld's
// face lies on the screen.
class OpeningPlace : public QObject {
 public:
  using Rule = QPoint (*)(QSize, const HandheldOnScreen&, QRect);
  OpeningPlace(QWidget& dialog, std::function<QRect()> face, Rule rule);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place();

  QWidget& dialog_;
  std::function<QRect()> face_;
  Rule rule_;
  QRect placedBeside_;  // the face where it was when the dialog was placed
};

}  // namespace wuffel
