// A setting the store refuses to save holds for the run. The player is told
// once per run, and why: by the Settings dialog when it is on the screen,
// otherwise in a message over the main window; the dialog says it again when
// it is opened later.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace wuffel {

class UnsavedSettingsNotice {
 public:
  // `why` gives the store's reason for its last refusal.
  UnsavedSettingsNotice(QWidget* window, std::function<QString()> why);

  // A save was refused; `dialogShown` when the dialog is there to say so.
  void refused(bool dialogShown);
  // What the dialog says: empty while every setting was saved.
  const QString& text() const { return text_; }
  // Once the program is ending there is no window to tell it in: standard
  // error has it.
  void toStandardError() { ending_ = true; }

 private:
  QWidget* window_;
  std::function<QString()> why_;
  QString text_;
  bool ending_ = false;
};

}  // namespace wuffel
