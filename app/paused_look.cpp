#include "app/paused_look.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "face/elements.h"
#include "frontend/aided_best_caption.h"

namespace wuffel {

namespace {

const QColor kGlassShade(0, 0, 0, 105);
// The case's printing: cream letters with a soft shadow beneath them.
const QColor kPrintColour(0xf6, 0xe7, 0xb0);
const QColor kPrintShadow(0, 0, 0, 70);
constexpr qreal kShadowDrop = 0.7;  // face pixels
const QString kWord = QStringLiteral("PAUSED");
constexpr qreal kLetterSize = 10;  // face pixels, as the screen frame's printing
constexpr qreal kLetterSpacing = 2;
constexpr qreal kBaseline = kCasePrintBaseline;

QPainterPath wordPath(const QString& words) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setBold(true);
  font.setPixelSize(static_cast<int>(kLetterSize));
  font.setLetterSpacing(QFont::AbsoluteSpacing, kLetterSpacing);
  font.setHintingPreference(QFont::PreferNoHinting);
  QPainterPath path;
  path.addText(0, 0, font, words);
  // The spacing follows the last letter too: leave it out of the centring.
  const qreal width = path.boundingRect().width();
  const qreal middle = kScreenArea.left + kScreenArea.width / 2.0;
  return path.translated(middle - path.boundingRect().left() - width / 2, kBaseline);
}


// A see-through picture as large as the face, which `draw` paints in face units.
template <class Draw>
QImage overTheFace(qreal devicePixelRatio, Draw draw) {
  const auto& base = elementInfo(ElementId::Im_Base);
  QImage image(qRound(base.width * devicePixelRatio), qRound(base.height * devicePixelRatio),
               QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(devicePixelRatio, devicePixelRatio);
  draw(painter);
  return image;
}

}  // namespace

QImage pausedLook(qreal devicePixelRatio) {
  return overTheFace(devicePixelRatio, [](QPainter& painter) {
    painter.fillRect(QRectF(kScreenArea.left, kScreenArea.top, kScreenArea.width, kScreenArea.height), kGlassShade);
    printWords(painter, kWord);
  });
}

void printWords(QPainter& painter, const QString& words) {
  const QPainterPath path = wordPath(words);
  painter.setPen(Qt::NoPen);
  // A blurred shadow, as two offset copies at half strength.
  for (const qreal spread : {-0.25, 0.25})
    painter.fillPath(path.translated(spread, kShadowDrop + spread), kPrintShadow);
  painter.fillPath(path, kPrintColour);
}

QImage printedOnCase(const QString& words, qreal devicePixelRatio) {
  return overTheFace(devicePixelRatio, [&words](QPainter& painter) { printWords(painter, words); });
}

}  // namespace wuffel
