// TForm1: the borderless window that shows the face of the handheld.
#pragma once

#include <QWidget>

#include "app/face_pictures.h"
#include "face/face.h"
#include "platform/input.h"

namespace wuffel {

class Handheld;

class TForm1 : public QWidget, public FaceObserver {
 public:
  TForm1(const FacePictures& pictures);
  void attach(Handheld* handheld);

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

 private:
  void updatePointer(const QPoint& at);

  const FacePictures& pictures_;
  Handheld* handheld_ = nullptr;
};

// The virtual-key code the game knows a key by; kOtherKey for the rest.
VirtualKey virtualKeyOf(int qtKey);

}  // namespace wuffel
