// kvr-chart-png: draws a chart data file as the log window shows it and saves a PNG.
#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "kvr/logging/ui/ChartPng.h"
#include "platform/RuntimeDir.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-chart-png FILE.cdf [OUT.png] [MODE-WORD]\n"
    "Draws every row of a chart data file with the log window's drawing and saves it as\n"
    "a PNG (default: beside the file). MODE-WORD is the system mode word of the log\n"
    "(its depth resolution sets the row height; default 9, high resolution).\n";

bool isWholeNumber(const std::string& s) {
  if (s.empty()) return false;
  for (std::size_t i = s[0] == '-' ? 1 : 0; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return s != "-";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0] == "--help") {
    std::cout << kUsage;
    return 0;
  }
  // The two paths must not look like options; the mode word is a whole number (it may be
  // negative). Anything else is refused before a file is touched.
  bool wrong = args.empty() || args.size() > 3;
  for (std::size_t i = 0; i < args.size() && i < 2; ++i) wrong = wrong || args[i].empty() || args[i][0] == '-';
  if (args.size() == 3) wrong = wrong || !isWholeNumber(args[2]);
  if (wrong) {
    std::cerr << kUsage;
    return 2;
  }
  platform::ensureRuntimeDir();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  const std::filesystem::path cdf = args[0];
  const std::filesystem::path png = args.size() >= 2 ? std::filesystem::path(args[1]) : kvr::ui::chartPngPath(cdf);
  const int modeWord = args.size() == 3 ? std::atoi(args[2].c_str()) : 9;
  presentation::HeaderTexts header;
  header.logFile = cdf.filename().string();
  if (!kvr::ui::saveChartPng(cdf, png, header, modeWord)) {
    std::cerr << "kvr-chart-png: " << cdf.string() << " could not be drawn to " << png.string() << '\n';
    return 1;
  }
  std::cout << "file: " << png.string() << '\n';
  return 0;
}
