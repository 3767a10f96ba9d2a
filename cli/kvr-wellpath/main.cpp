// kvr-wellpath STATIONS.txt [-o PATH.txt] [--png PLOT.png --plot KIND]: the well path of a
// survey station file by minimum curvature, as the cross plot generator computes, saves
// and draws it. Messages go to standard error as "TITLE: text".

#include <cstdio>
#include <iostream>
#include <map>
#include <string>

#include "kvr/utilities/BatchPrompter.h"
#include "kvr/utilities/CCrossPlot.h"
#include "kvr/utilities/PathFile.h"

#ifdef VAREXA_WELLPATH_PNG
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "platform/RuntimeDir.h"
#include "platform/qt/QtCanvas.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: kvr-wellpath STATIONS.txt [-o PATH.txt]"
#ifdef VAREXA_WELLPATH_PNG
    " [--png PLOT.png --plot nd-ed|nd-tvd|ed-tvd|closure-tvd]"
#endif
    "\n"
    "STATIONS.txt holds one station per line: measured depth, inclination and azimuth in\n"
    "degrees, separated by blanks. Blank lines and lines starting with # are skipped; any\n"
    "other line that is not three numbers stops the run with a message naming it.\n"
    "  -o PATH.txt  the path table (tab-separated, CR LF); without it, standard output\n"
#ifdef VAREXA_WELLPATH_PNG
    "  --png FILE   draws the plot with automatic ranges into a PNG picture\n"
    "  --plot KIND  the plot kind for --png (default nd-ed)\n"
#endif
    "Exit status: 0 done (also when the table stopped at 10000 rows), 1 refused or failed,\n"
    "2 bad arguments.\n";

using kvr::utilities::PlotKind;

#ifdef VAREXA_WELLPATH_PNG
bool writePng(const kvr::utilities::CCrossPlotViewWnd& view, const std::string& file) {
  int argc = 1;
  char name[] = "kvr-wellpath";
  char* argv[] = {name, nullptr};
  platform::ensureRuntimeDir();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QImage image(1630, 1200, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::Rect client{0, 0, image.width(), image.height()};
    platform::qt::QtCanvas canvas(painter, client, &image);
    view.draw(canvas, client);
  }
  return image.save(QString::fromStdString(file), "PNG");
}
#endif

}  // namespace

int main(int argc, char** argv) {
  std::string stations, out, png;
  PlotKind kind = PlotKind::NdEd;
  const std::map<std::string, PlotKind> kinds{{"nd-ed", PlotKind::NdEd},
                                              {"nd-tvd", PlotKind::NdTvd},
                                              {"ed-tvd", PlotKind::EdTvd},
                                              {"closure-tvd", PlotKind::ClosureTvd}};
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (a == "-o" && i + 1 < argc) {
      out = argv[++i];
#ifdef VAREXA_WELLPATH_PNG
    } else if (a == "--png" && i + 1 < argc) {
      png = argv[++i];
    } else if (a == "--plot" && i + 1 < argc && kinds.count(argv[i + 1])) {
      kind = kinds.at(argv[++i]);
#endif
    } else if (!a.empty() && a[0] != '-' && stations.empty()) {
      stations = a;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  if (stations.empty()) {
    std::cerr << kUsage;
    return 2;
  }

  kvr::utilities::BatchPrompter prompter(std::cerr);
  kvr::utilities::CCrossPlotViewWnd view;
  kvr::utilities::CCrossPlot plot(prompter, view);
  if (!plot.load(stations, false)) return 1;
  if (out.empty()) {
    std::cout << kvr::utilities::formatPathFile(plot.table()) << std::flush;
  } else if (!plot.save(out)) {
    return 1;
  }
  (void)kind;
#ifdef VAREXA_WELLPATH_PNG
  if (!png.empty()) {
    plot.setPlotKind(kind);
    plot.plotNow();
    if (!writePng(view, png)) {
      std::cerr << "ERROR: the picture " << png << " could not be written\n";
      return 1;
    }
  }
#endif
  return 0;
}
