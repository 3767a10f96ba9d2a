// Pagemill: the page layout and printing program. With --print or --print-cdf it prints
// without a window (see pagemill/app/HeadlessPrint.h); --help prints the usage.

#include <QApplication>
#include <QGuiApplication>

#include <iostream>
#include <string>
#include <vector>

#include "pagemill/app/HeadlessPrint.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/ui/PagemillWindow.h"
#include "platform/RuntimeDir.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (pagemill::wantsHelp(args)) {
    std::cout << pagemill::usage();
    return 0;
  }
  platform::ensureRuntimeDir();
  if (pagemill::wantsHeadless(args)) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(pagemill::keys::kApplication);
    return pagemill::runHeadless(args, std::cerr);
  }
  QApplication app(argc, argv);  // takes Qt's own options (-platform, ...) off the arguments
  QApplication::setApplicationName(pagemill::keys::kApplication);
  QApplication::setOrganizationName("KVR - Varexa");
  std::vector<std::string> rest;
  const QStringList qtArgs = QApplication::arguments();
  for (qsizetype i = 1; i < qtArgs.size(); ++i) rest.push_back(qtArgs[i].toStdString());
  bool ok = false;
  const auto file = pagemill::windowArguments(rest, std::cerr, ok);
  if (!ok) return 2;
  return pagemill::ui::runPagemill(file ? std::vector<std::string>{*file} : std::vector<std::string>{});
}
