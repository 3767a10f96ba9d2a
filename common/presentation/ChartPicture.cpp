#include "common/presentation/ChartPicture.h"

#include <algorithm>
#include <cstdlib>

#include "common/presentation/LogDisplay.h"
#include "common/presentation/LogWindowLayout.h"
#include "common/presentation/RenderRules.h"

namespace presentation {

namespace {
// Header box, heading area and the row inset at both ends of the plot.
constexpr int kFixedHeight =
    LogWindowLayout::kHeaderHeight + LogWindowLayout::kHeadingHeight + 2 * LogWindowLayout::kRowInset + 1;
}  // namespace

ChartPicturePlan planChartPicture(const ChartDataReader& reader, int modeWord, int maxHeight) {
  const auto& h = reader.header();
  ChartPicturePlan plan;
  plan.step = screenStep(h.format.scale, h.format.english, modeWord, h.loggingUp);
  const std::uint64_t rows = reader.frameCount();
  const std::uint64_t wanted = kFixedHeight + rows * static_cast<std::uint64_t>(std::abs(plan.step));
  const auto limit = static_cast<std::uint64_t>(std::max(maxHeight, LogWindowLayout::kHeight));
  plan.size = {LogWindowLayout::kWidth,
               static_cast<int>(std::clamp<std::uint64_t>(wanted, LogWindowLayout::kHeight, limit))};
  return plan;
}

HeaderTexts chartPictureHeader(const ChartHeader& header, const std::string& logFile) {
  HeaderTexts t;
  t.logFile = logFile;
  t.formatFile = header.format.name;
  t.scale = scaleText(header.format.scale);
  return t;
}

void drawChartPicture(platform::Canvas& canvas, const ChartDataReader& reader, const ChartPicturePlan& plan,
                      HeaderTexts header) {
  // The display draws into its own copy: rows change the curves' wrap counts.
  CFormat format = reader.header().format;
  const bool up = reader.header().loggingUp;
  const platform::Rect client{0, 0, plan.size.width, plan.size.height};
  LogDisplay display(format, reader, screenRules(format, up), client, plan.step, std::move(header));
  display.paint(canvas);
}

}  // namespace presentation
