#pragma once
// What the tests of the whole program share: its settings and data inside a test's folder,
// and running its event loop in real time until something holds.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>

#include "platform/qt/testing/QtTestApp.h"

namespace kvr::ui::testing {

// Settings and data stay inside home; no splash. Qt takes the settings folder from the
// environment once per process, so it is also set on QSettings for every test that follows.
inline void useTestHome(const QTemporaryDir& home) {
  setenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit().constData(), 1);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.filePath("config"));
  setenv("VAREXA_DATA_ROOT", home.filePath("data").toLocal8Bit().constData(), 1);
  setenv("VAREXA_NO_SPLASH", "1", 1);
  platform::qt::testing::qtTestApp();
}

// Lets the program run in real time until done() holds, at most the given milliseconds.
inline bool runUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

}  // namespace kvr::ui::testing
