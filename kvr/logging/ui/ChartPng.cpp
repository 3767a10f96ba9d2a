#include "kvr/logging/ui/ChartPng.h"

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartPicture.h"
#include "platform/qt/OffscreenImage.h"

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
  platform::qt::OffscreenImage image(plan.size.width, plan.size.height);
  if (!image.valid()) return false;
  presentation::drawChartPicture(image.canvas(), reader, plan, std::move(header));
  return image.savePng(png);
}

void listChartPngsBeside(const std::vector<std::filesystem::path>& cdfs, const presentation::HeaderTexts& header,
                         int modeWord, std::ostream& out, std::ostream& err, std::string_view program) {
  platform::qt::ensureOffscreenGui();
  for (const auto& cdf : cdfs) {
    const auto png = chartPngPath(cdf);
    if (saveChartPng(cdf, png, header, modeWord)) {
      out << "file: " << png.string() << '\n';
    } else {
      err << program << ": no picture of " << cdf.string() << '\n';
    }
  }
}

}  // namespace kvr::ui
