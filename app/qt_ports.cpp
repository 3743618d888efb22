#include "app/qt_ports.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <utility>

#include "app/qt_text.h"
#include "frontend/addresses.h"

namespace wuffel {

QWidget* QtWindows::window(WindowId id) const {
  const auto i = static_cast<std::size_t>(id);
  if (!windows_[i] && makers_[i]) {
    made_[i] = makers_[i]();
    windows_[i] = made_[i].get();
  }
  return windows_[i];
}

bool QtWindows::isOffScreen(WindowId id) const {
  const QWidget* w = window(id);
  return !QGuiApplication::primaryScreen()->geometry().intersects(QRect(w->pos(), w->size()));
}

void QtWindows::show(WindowId id) {
  if (isOffScreen(id)) {
    shownOffScreen_[static_cast<int>(id)] = true;
    return;
  }
  window(id)->show();
}

// Hiding the active window hands activation to another shown window of the
// program, so the keys keep reaching it.
void QtWindows::hide(WindowId id) {
  shownOffScreen_[static_cast<int>(id)] = false;
  QWidget* hidden = window(id);
  const bool wasActive = hidden->isActiveWindow();
  hidden->hide();
  if (!wasActive) return;
  for (QWidget* other : windows_)
    if (other && other != hidden && other->isVisible()) {
      other->activateWindow();
      return;
    }
}

void QtWindows::bringToFront(WindowId id) {
  window(id)->raise();
  window(id)->activateWindow();
}

WindowPosition QtWindows::position(WindowId id) const {
  const QPoint p = window(id)->pos();
  return {p.x(), p.y()};
}

void QtWindows::moveTo(WindowId id, WindowPosition pos) {
  window(id)->move(pos.left, pos.top);
  bool& pending = shownOffScreen_[static_cast<int>(id)];
  if (pending && !isOffScreen(id)) {
    pending = false;
    window(id)->show();
    window(id)->activateWindow();
  }
}

int QtWindows::screenWidth() const { return QGuiApplication::primaryScreen()->geometry().width(); }

int QtWindows::screenHeight() const { return QGuiApplication::primaryScreen()->geometry().height(); }

int QtWindows::windowWidth(WindowId id) const { return window(id)->frameGeometry().width(); }

int QtWindows::windowHeight(WindowId id) const { return window(id)->frameGeometry().height(); }

void QtWindows::popupMenu(int x, int y) {
  if (menuPopup_) menuPopup_->popup(window(WindowId::Form1)->mapToGlobal(QPoint(x, y)));
}

namespace {

// Window managers draw a caption in bold, beside a window-menu icon and up
// to three buttons, and cut it short where the window is narrower; a message
// box leaves room only for the caption in the plain font and 50 pixels.
int captionRoom(const QString& caption) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
  font.setBold(true);
  const QFontMetrics metrics(font);
  const int buttonWidth = metrics.height() + 8;
  return metrics.horizontalAdvance(caption) + 4 * buttonWidth + 2 * metrics.height();
}

// The box fixes its own size from its layout when shown, so the room goes
// into the layout, as a row of its own.
void leaveRoomForTheCaption(QMessageBox& box) {
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(captionRoom(box.windowTitle()), 0, QSizePolicy::Fixed, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

std::unique_ptr<QMessageBox> QtErrorBox::makeBox(const std::string& message) {
  const QString title = qtText(kApplicationTitle);
  auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, title, QString::fromStdString(message),
                                           QMessageBox::Ok);
  leaveRoomForTheCaption(*box);
  return box;
}

void QtErrorBox::showError(const std::string& message) { makeBox(message)->exec(); }

std::unique_ptr<QMessageBox> QtQuestionBox::makeBox(const std::string& question) const {
  auto box = std::make_unique<QMessageBox>(QMessageBox::Question, qtText(kApplicationTitle),
                                           QString::fromStdString(question), QMessageBox::Yes | QMessageBox::No,
                                           owner_);
  box->setDefaultButton(QMessageBox::Yes);
  box->setEscapeButton(QMessageBox::No);
  leaveRoomForTheCaption(*box);
  return box;
}

void QtQuestionBox::ask(const std::string& question, std::function<void(bool)> answered) {
  answered(makeBox(question)->exec() == QMessageBox::Yes);
}

void QtShell::open(const std::string& target) { QDesktopServices::openUrl(urlOf(target)); }

QUrl QtShell::urlOf(const std::string& target) {
  if (isAddress(target)) return QUrl(QString::fromStdString(target));
  return QUrl::fromLocalFile(
      QDir::cleanPath(QDir::current().absoluteFilePath(QString::fromStdString(relativePathOf(target)))));
}

void QtBeep::beep() { QApplication::beep(); }

void QtMessageLoop::quit() { QCoreApplication::quit(); }

}  // namespace wuffel
