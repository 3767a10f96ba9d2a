#pragma once
// KVR's log windows: one per format from the start of each log, kept open after it until
// the next log starts. They are top-level windows owned here, not by Qt parents, tiled in
// the area the program gives them (beside its main window); a closed one is only hidden
// and can be shown again while the log runs.

#include <QRect>

#include <functional>
#include <memory>
#include <vector>

#include "kvr/logging/ChartViews.h"
#include "kvr/logging/ui/LogWindow.h"

namespace kvr::ui {

class LogWindows final : public ChartViews {
 public:
  // Where the windows go, asked each time they are tiled; told when the windows change.
  void setArea(std::function<QRect()> area) { area_ = std::move(area); }
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void logStarted() override;
  void formatStarted(const ChartViewStart& start, presentation::CFormat& format,
                     const presentation::ChartDataWriter& writer) override;
  void frameAdded(std::size_t index, std::span<const float> record, bool writeFailed) override;
  void logEnded() override {}

  // One above the other in the area, as wide as a log window may be; when they do not fit
  // at a useful height they cascade down the area instead.
  void tile();
  void showWindow(std::size_t index);

  const std::vector<std::unique_ptr<LogWindow>>& windows() const { return windows_; }

 private:
  std::vector<std::unique_ptr<LogWindow>> windows_;
  std::function<QRect()> area_;
  std::function<void()> changed_;
};

}  // namespace kvr::ui
