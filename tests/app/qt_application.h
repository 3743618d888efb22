// The one QApplication of a test program: made on first use and left alive
// to the end, since one destroyed among the statics crashes at exit.
#pragma once

#include <QApplication>

namespace wuffel::testing {

inline QApplication& application() {
  static int argc = 1;
  static char name[] = "wuffel-test";
  static char* argv[] = {name, nullptr};
  static auto* app = new QApplication(argc, argv);
  return *app;
}

}  // namespace wuffel::testing
