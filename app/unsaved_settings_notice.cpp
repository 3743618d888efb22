#include "app/unsaved_settings_notice.h"

#include <QMessageBox>

#include <cstdio>

#include "app/qt_text.h"
#include "platform/windows.h"

namespace wuffel {

UnsavedSettingsNotice::UnsavedSettingsNotice(QWidget* window, std::function<QString()> why)
    : window_(window), why_(std::move(why)) {}

void UnsavedSettingsNotice::refused(bool dialogShown) {
  if (!text_.isEmpty()) return;
  text_ = QStringLiteral("A setting could not be saved: it holds until the program ends.");
  if (const QString why = why_(); !why.isEmpty()) text_ += u'\n' + why;
  if (ending_) {
    std::fprintf(stderr, "%s\n", qPrintable(text_));
  } else if (!dialogShown) {
    auto* box = new QMessageBox(QMessageBox::Warning, qtText(kApplicationTitle), text_, QMessageBox::Ok, window_);
    box->setObjectName(QStringLiteral("settings-not-saved"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
  }
}

}  // namespace wuffel
