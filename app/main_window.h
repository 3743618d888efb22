// TForm1: the borderless window that shows the face of the handheld.
#pragma once

#include <QTimer>
#include <QWidget>

#include "app/crystal_fade.h"
#include "app/face_pictures.h"
#include "app/panel_look.h"
#include "face/face.h"
#include "platform/input.h"

namespace wuffel {

class Handheld;

class TForm1 : public QWidget, public FaceObserver {
 public:
  TForm1(const FacePictures& pictures);
  void attach(Handheld* handheld);

  // How the panel looks from now on; it applies at once.
  void setPanelLook(const PanelLook& look);
  const PanelLook& panelLook() const { return look_; }

  void visibilityChanged(ElementId id, bool visible) override;
  void pictureChanged(ElementId id, std::optional<ElementId> source) override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void updatePointer(const QPoint& at);
  void changed(ElementId id);
  void nextFadeFrame();

  const FacePictures& pictures_;
  Handheld* handheld_ = nullptr;
  PanelLook look_;
  // Soft edges where a compositor blends the window with the desktop.
  CaseEdges edges_ = CaseEdges::Cut;
  CrystalFade fade_;
  // Redraws what fades at the display's pace, and stops when nothing does.
  QTimer fadeFrames_;
  CrystalFade::Clock::time_point lastFadeFrame_{};
};

// The virtual-key code the game knows a key by; kOtherKey for the rest.
VirtualKey virtualKeyOf(int qtKey);

}  // namespace wuffel
