// TForm1: the borderless window that shows the face of the handheld.
#pragma once

#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <optional>

#include "app/crystal_fade.h"
#include "app/face_pictures.h"
#include "app/face_view.h"
#include "app/panel_look.h"
#include "face/face.h"
#include "frontend/button_touches.h"
#include "frontend/sound_cues.h"
#include "platform/input.h"

class QKeyEvent;
class QTouchEvent;

namespace wuffel {

class Handheld;
struct FaceLook;

class TForm1 : public QWidget, public FaceObserver {
 public:
  TForm1(const FacePictures& pictures);
  void attach(Handheld* handheld);

  // How the panel looks from now on; it applies at once.
  void setPanelLook(const PanelLook& look);

  void visibilityChanged(ElementId id, bool visible) override;
  void pictureChanged(ElementId id, std::optional<ElementId> source) override;

  // The window's size: a zoom step in percent on top of the desktop's
  // scale, as far as the screen holds it; full screen shows the handheld as
  // large as it fits, centred on black.
  void setZoom(int percent);
  void toggleFullScreen();
  // Where the face lies on the screen, in the desktop's pixels.
  QRect faceOnScreen() const;
  // Where the face lies in the window, and the handheld it shows.
  const FaceView& faceView() const { return view_; }
  Handheld* handheld() const { return handheld_; }
  void setPaused(bool paused);
  // The speaker grille's glow for the sound playing now.
  void setSoundCue(SoundCue cue);
  // Words printed on the case below the screen's frame; none when empty.
  void setCaseCaption(const QString& caption);
  // Shows another face than the handheld's (a replay's), or the
  // handheld's own again with none.
  void showFace(const Face* face);
  // The window's own keys: full screen and the zoom.
  static bool isWindowKey(const QKeyEvent& event);
  // A point of the window in face units.
  QPoint toFace(const QPointF& at) const { return view_.toFace(at); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  const Face& face() const;
  FaceLook currentLook() const;  // main_window_case.cpp
  void updatePointer(const QPoint& at);
  void changed(ElementId id);
  void nextFadeFrame();
  void placeFace();
  int fittingZoom(int asked) const;
  bool takeWindowKey(const QKeyEvent& event);
  void zoomBy(int direction);
  void zoomTo(int percent);
  bool touch(QTouchEvent* event);

  const FacePictures& pictures_;
  Handheld* handheld_ = nullptr;
  const Face* shownFace_ = nullptr;
  PanelLook look_;
  // Soft edges where a compositor blends the window with the desktop.
  CaseEdges edges_ = CaseEdges::Cut;
  CrystalFade fade_;
  // Redraws what fades at the display's pace, and stops when nothing does.
  QTimer fadeFrames_;
  CrystalFade::Clock::time_point lastFadeFrame_{};
  const QRegion caseOutline_;  // in face units
  QRegion outlineInWindow_;
  FaceView view_;
  bool paused_ = false;
  SoundCue cue_ = SoundCue::None;
  QString caseCaption_;
  int zoom_ = 0;         // the setting; none before the first setZoom
  int shownZoom_ = 100;  // as far as the screen holds it
  int wheelSteps_ = 0;   // eighths of a degree towards the next zoom step
  // A drag of the face that the window does itself, where the game's own
  // drag (in face units) would lag behind a zoomed face.
  bool dragging_ = false;
  QPoint dragOffset_;
  std::optional<ButtonTouches> buttonTouches_;
};

}  // namespace wuffel
