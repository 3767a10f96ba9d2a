// kvr-chart-png: draws a chart data file as the log window shows it and saves a PNG.
#include <QGuiApplication>

#include <cstdlib>
#include <iostream>
#include <string>

#include "kvr/logging/ui/ChartPng.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4 || std::string(argv[1]) == "--help") {
    std::cerr << "usage: kvr-chart-png FILE.cdf [OUT.png] [MODE-WORD]\n"
                 "Draws every row of a chart data file with the log window's drawing and saves it as\n"
                 "a PNG (default: beside the file). MODE-WORD is the system mode word of the log\n"
                 "(its depth resolution sets the row height; default 9, high resolution).\n";
    return argc == 2 ? 0 : 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  const std::filesystem::path cdf = argv[1];
  const std::filesystem::path png = argc >= 3 ? std::filesystem::path(argv[2]) : kvr::ui::chartPngPath(cdf);
  const int modeWord = argc == 4 ? std::atoi(argv[3]) : 9;
  presentation::HeaderTexts header;
  header.logFile = cdf.filename().string();
  if (!kvr::ui::saveChartPng(cdf, png, header, modeWord)) {
    std::cerr << "kvr-chart-png: " << cdf.string() << " could not be drawn to " << png.string() << '\n';
    return 1;
  }
  std::cout << "file: " << png.string() << '\n';
  return 0;
}
