#pragma once
// One QApplication for a test program (offscreen platform, set by CTest).

#include <QApplication>

namespace platform::qt::testing {

inline QApplication& qtTestApp() {
  static int argc = 1;
  static char name[] = "varexa-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

}  // namespace platform::qt::testing
