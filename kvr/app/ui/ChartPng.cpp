#include "kvr/app/ui/ChartPng.h"

#include <memory>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartPicture.h"
#include "platform/qt/QtCanvas.h"

namespace kvr::ui {

bool saveChartPng(const std::filesystem::path& cdf, const std::filesystem::path& png,
                  presentation::HeaderTexts header, int modeWord) {
  auto file = presentation::openByteFile(cdf, presentation::OpenMode::ReadOnly);
  if (!file) return false;
  presentation::ChartDataReader reader(*file);
  if (reader.open() != 0) return false;
  const auto defaults = presentation::chartPictureHeader(reader.header(), header.logFile);
  if (header.formatFile.empty()) header.formatFile = defaults.formatFile;
  if (header.scale.empty()) header.scale = defaults.scale;

  const auto plan = presentation::planChartPicture(reader, modeWord);
  QImage image(plan.size.width, plan.size.height, QImage::Format_RGB32);
  if (image.isNull()) return false;
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::qt::QtCanvas canvas(painter, {0, 0, plan.size.width, plan.size.height}, &image);
    presentation::drawChartPicture(canvas, reader, plan, std::move(header));
  }
  return image.save(QString::fromStdString(png.string()), "PNG");
}

void saveChartPngsBeside(const std::vector<std::filesystem::path>& cdfs, const presentation::HeaderTexts& header,
                         int modeWord, const std::function<void(const std::filesystem::path& png)>& saved,
                         const std::function<void(const std::filesystem::path& cdf)>& failed) {
  std::unique_ptr<QGuiApplication> app;
  if (!QCoreApplication::instance()) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "varexa";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }
  for (const auto& cdf : cdfs) {
    const auto png = chartPngPath(cdf);
    if (saveChartPng(cdf, png, header, modeWord)) {
      if (saved) saved(png);
    } else if (failed) {
      failed(cdf);
    }
  }
}

}  // namespace kvr::ui
