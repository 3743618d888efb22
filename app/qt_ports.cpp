#include "app/qt_ports.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

#include "game/handheld.h"

namespace wuffel {

QtTimerScheduler::QtTimerScheduler(std::function<void(int)> fire) {
  for (std::size_t i = 0; i < timers_.size(); ++i) {
    timers_[i] = std::make_unique<QTimer>();
    timers_[i]->setTimerType(Qt::PreciseTimer);
    QObject::connect(timers_[i].get(), &QTimer::timeout, [fire, i] { fire(static_cast<int>(i)); });
  }
}

void QtTimerScheduler::start(int timerIndex, int intervalMs) { timers_.at(timerIndex)->start(intervalMs); }

void QtTimerScheduler::stop(int timerIndex) { timers_.at(timerIndex)->stop(); }

void QtWindows::show(WindowId id) { window(id)->show(); }

void QtWindows::hide(WindowId id) { window(id)->hide(); }

void QtWindows::bringToFront(WindowId id) {
  window(id)->raise();
  window(id)->activateWindow();
}

bool QtWindows::isShown(WindowId id) const { return window(id)->isVisible(); }

WindowPosition QtWindows::position(WindowId id) const {
  const QPoint p = window(id)->pos();
  return {p.x(), p.y()};
}

void QtWindows::moveTo(WindowId id, WindowPosition pos) { window(id)->move(pos.left, pos.top); }

int QtWindows::screenWidth() const { return QGuiApplication::primaryScreen()->geometry().width(); }

int QtWindows::screenHeight() const { return QGuiApplication::primaryScreen()->geometry().height(); }

int QtWindows::windowWidth(WindowId id) const { return window(id)->frameGeometry().width(); }

int QtWindows::windowHeight(WindowId id) const { return window(id)->frameGeometry().height(); }

void QtErrorBox::showError(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(kApplicationTitle.data(), kApplicationTitle.size()),
                  QString::fromStdString(message), QMessageBox::Ok);
  box.exec();
}

void QtShell::open(const std::string& target) {
  const QString text = QString::fromStdString(target);
  const QUrl url = text.contains(':') ? QUrl(text) : QUrl::fromLocalFile(text);
  QDesktopServices::openUrl(url);
}

int SystemTimeOfDay::utcMillisecondsSinceMidnight() const {
  return QDateTime::currentDateTimeUtc().time().msecsSinceStartOfDay();
}

}  // namespace wuffel
