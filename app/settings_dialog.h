// The Settings dialog: each change applies at once and is stored at once,
// and "Restore defaults" brings back the original behaviour. A setting the
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

class Handheld;

class SettingsDialog : public QDialog {
 public:
  explicit SettingsDialog(Handheld& handheld, QWidget* parent = nullptr);

  // Shows the settings as they stand: M and the zoom keys change them too.
  void refresh();
  // A setting was changed, and stored or not.
  void settingChanged(bool saved);

 private:
  void change(Setting setting, int value);

  Handheld& handheld_;
  QButtonGroup* keys_;
  QCheckBox* pauseOnFocusLoss_;
  QSlider* volume_;
  QLabel* volumeText_;
  QCheckBox* muted_;
  QComboBox* zoom_;
  QCheckBox* rememberPosition_;
  QLabel* notSaved_;
};

}  // namespace wuffel
