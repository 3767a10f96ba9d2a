// Pagemill: the page layout and printing program. With --print or --print-cdf it prints
// without a window (see pagemill/app/HeadlessPrint.h).

#include <QApplication>
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

#include "pagemill/app/HeadlessPrint.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/ui/PagemillWindow.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (pagemill::wantsHeadless(args)) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(pagemill::keys::kApplication);
    return pagemill::runHeadless(args, std::cerr);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(pagemill::keys::kApplication);
  QApplication::setOrganizationName("KVR - Varexa");
  return pagemill::ui::runPagemill(args);
}
