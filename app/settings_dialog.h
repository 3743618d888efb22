// The Settings dialog: each change applies at once and is stored at once,
// and "Restore defaults" brings back the original behaviour and look. A setting the
// store refused holds for this run; the dialog says so, once.
#pragma once

#include <QDialog>

#include "store/player_settings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;

namespace wuffel {

class FacePictures;
class Handheld;
class PanelPreview;

class SettingsDialog : public QDialog {
 public:
  SettingsDialog(Handheld& handheld, const FacePictures& pictures, QWidget* parent = nullptr);

  // Shows the settings as they stand: M and the zoom keys change them too.
  void refresh();
  // A setting was changed, and stored or not.
  void settingChanged(bool saved);
  // Says that a setting was not stored, and why.
  void showNotSaved(const QString& text);

 private:
  void change(Setting setting, int value);
  // The preview follows a slider while it is dragged; the setting changes when it is let go.
  void previewWhileDragged(Setting setting, int value);

  Handheld& handheld_;
  QButtonGroup* keys_;
  QCheckBox* pauseOnFocusLoss_;
  QComboBox* speed_;
  QCheckBox* assist_;
  QCheckBox* soundCues_;
  QSlider* volume_;
  QLabel* volumeText_;
  QCheckBox* muted_;
  QComboBox* zoom_;
  QCheckBox* rememberPosition_;
  QSlider* ghosts_;
  QLabel* ghostsText_;
  QSlider* contrast_;
  QLabel* contrastText_;
  QCheckBox* fade_;
  PanelPreview* preview_;
  QLabel* notSaved_;
};

}  // namespace wuffel
