#include "app/grille_glow.h"

#include <QRadialGradient>

#include <cmath>

namespace wuffel {

namespace {
// The glow reaches a little past the holes, as light from behind them would.
constexpr double kGlowReach = 1.2;
}  // namespace

QRect grilleArea() {
  const double r = kGrille.radius * kGlowReach;
  return QRectF(kGrille.centreX - r, kGrille.centreY - r, 2 * r, 2 * r).toAlignedRect().adjusted(-1, -1, 1, 1);
}

void paintGrilleGlow(QPainter& painter, SoundCue cue, const FaceView& view) {
  const CueTint tint = cueTint(cue);
  if (tint.strength <= 0) return;
  const QPointF centre = view.origin + QPointF(kGrille.centreX, kGrille.centreY) * view.scale;
  const qreal radius = kGrille.radius * kGlowReach * view.scale;
  QRadialGradient light(centre, radius);
  auto at = [&](qreal share) {
    return QColor(tint.red, tint.green, tint.blue, static_cast<int>(std::lround(255 * tint.strength * share)));
  };
  light.setColorAt(0, at(0.95));
  light.setColorAt(0.55, at(0.7));
  light.setColorAt(0.8, at(0.3));
  light.setColorAt(1, at(0));
  painter.save();
  // Lightens the holes and the plastic between them, as a lamp behind would.
  painter.setCompositionMode(QPainter::CompositionMode_Screen);
  painter.setOpacity(1);
  painter.setPen(Qt::NoPen);
  painter.setBrush(light);
  painter.drawEllipse(centre, radius, radius);
  painter.restore();
}

}  // namespace wuffel
