// The one QApplication of a test program: made on first use and left alive
// to the end, since one destroyed among the statics crashes at exit. Its
// offscreen screen is 1920 x 1080, so that the handheld can be shown at its
// larger sizes.
#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace wuffel::testing {

inline QApplication& application() {
  static QApplication* app = [] {
    static QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (file.open(QIODevice::WriteOnly))
      file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1920, "height": 1080,
                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toUtf8());
    static int argc = 1;
    static char name[] = "wuffel-test";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

// A test fixture's first base, so that the application is there before its widgets.
struct WithQtApplication {
  WithQtApplication() { application(); }
};

}  // namespace wuffel::testing
