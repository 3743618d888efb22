// The Settings dialog's small picture of the panel: the glass with the
// player and the opponent in the middle lane and a ball crossing between
// them, drawn small with the look the dialog shows. With the crystal's fade on the ball
// moves, at the game's first pace, so that its trail shows; the preview
// wakes only while it is shown and fading.
#pragma once

#include <QTimer>
#include <QWidget>

#include "app/crystal_fade.h"
#include "app/face_view.h"
#include "app/panel_look.h"
#include "face/face.h"

namespace wuffel {

class FacePictures;

class PanelPreview : public QWidget {
 public:
  explicit PanelPreview(const FacePictures& pictures, QWidget* parent = nullptr);

  void setLook(const PanelLook& look);
  const PanelLook& look() const { return look_; }
  // The face pixels shown, and where and how large they are drawn.
  static QRect area();
  static FaceView view();
  // Whether anything runs: the ball's steps or the frames of a fade.
  bool isMoving() const { return steps_.isActive() || frames_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void startOrStop();
  void moveBall();
  void setBall(int cell, bool lit);

  const FacePictures& pictures_;
  Face face_;
  CrystalFade fade_;
  PanelLook look_;
  int ballCell_ = 0;
  QTimer steps_;   // the ball's pace
  QTimer frames_;  // redraws while a segment fades
};

}  // namespace wuffel
