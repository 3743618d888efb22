// The one application object of a test program, on a screen of 1920 x 1080
// so that the handheld can be shown at its larger sizes.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace wuffel::testing {

inline QApplication& qtApplication() {
  static QApplication* app = [] {
    static QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    file.open(QIODevice::WriteOnly);
    file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1920, "height": 1080,
                  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    static int argc = 1;
    static char name[] = "settings_qt_test";
    static char* argv[] = {name, nullptr};
    // Left alive to the end: a QApplication destroyed among the statics crashes at exit.
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A test fixture's first base, so that the application is there before its widgets.
struct WithQtApplication {
  WithQtApplication() { qtApplication(); }
};

}  // namespace wuffel::testing
