#include "app/panel_preview.h"

#include <QPainter>
#include <QPaintEvent>

#include "app/face_renderer.h"
#include "face/segment_tables.h"
#include "game/timers.h"

namespace wuffel {

namespace {

constexpr int kLane = 2;
constexpr int kFrameMs = 16;
// Small enough to sit beside the dialog's controls, large enough to show the
// faint unlit figures.
constexpr qreal kScale = 0.75;

// Everything the preview lights, besides the ball: the player, and the
// opponent's body with the racket of the lane.
constexpr std::array kLitFigures{kSegmentTables.pose(kLane, Pose::Body), kSegmentTables.opponentParts[0],
                                 kSegmentTables.racket(kLane)};

}  // namespace

// The glass: every segment and digit, and a margin of the screen around them.
QRect PanelPreview::area() {
  static const QRect glass = [] {
    QRect r;
    for (const auto& e : kElements)
      if (e.seeThrough()) r |= drawnArea(e.id);
    return r.adjusted(-4, -4, 4, 4);
  }();
  return glass;
}

FaceView PanelPreview::view() { return {kScale, -QPointF(area().topLeft()) * kScale}; }

PanelPreview::PanelPreview(const FacePictures& pictures, QWidget* parent) : QWidget(parent), pictures_(pictures) {
  setObjectName(QStringLiteral("panel-preview"));
  setFixedSize(view().toWindow(area()).size());
  for (const auto& e : kElements)
    if (e.seeThrough()) face_.hide(e.id);
  for (ElementId id : kLitFigures) face_.show(id);
  setBall(ballCell_, true);
  fade_.settle(face_);
  steps_.setInterval(kStartingTickMs);
  connect(&steps_, &QTimer::timeout, this, [this] { moveBall(); });
  frames_.setInterval(kFrameMs);
  connect(&frames_, &QTimer::timeout, this, [this] {
    update();
    // The cell the ball left clears more slowly than the new one darkens.
    const auto now = CrystalFade::Clock::now();
    bool fading = false;
    for (int cell = 0; cell < kRallyCells; ++cell)
      fading = fading || fade_.restsAt(kSegmentTables.rallyCell(kLane, cell)) > now;
    if (!fading) frames_.stop();
  });
}

void PanelPreview::setLook(const PanelLook& look) {
  const PanelLook next = look.clamped();
  if (next == look_) return;
  if (next.fade && !look_.fade) fade_.settle(face_);
  look_ = next;
  startOrStop();
  update();
}

void PanelPreview::setBall(int cell, bool lit) {
  const ElementId id = kSegmentTables.rallyCell(kLane, cell);
  face_.setVisible(id, lit);
  if (look_.fade) fade_.follow(face_, id, CrystalFade::Clock::now());
}

void PanelPreview::moveBall() {
  setBall(ballCell_, false);
  ballCell_ = (ballCell_ + 1) % kRallyCells;
  setBall(ballCell_, true);
  frames_.start();
  update();
}

void PanelPreview::startOrStop() {
  if (look_.fade && isVisible()) {
    if (!steps_.isActive()) steps_.start();
  } else {
    steps_.stop();
    frames_.stop();
  }
}

void PanelPreview::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  startOrStop();
}

void PanelPreview::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  startOrStop();
}

void PanelPreview::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const FaceLook look{view(), look_, CaseEdges::Cut, look_.fade ? &fade_ : nullptr, CrystalFade::Clock::now()};
  paintFace(painter, face_, pictures_, area(), look);
}

}  // namespace wuffel
