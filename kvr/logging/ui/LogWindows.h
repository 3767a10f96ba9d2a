#pragma once
// KVR's log windows: one per format from the start of each log, kept open after it until
// the next log starts. They are top-level windows owned here, not by Qt parents.

#include <memory>
#include <vector>

#include "kvr/logging/ChartViews.h"
#include "kvr/logging/ui/LogWindow.h"

namespace kvr::ui {

class LogWindows final : public ChartViews {
 public:
  void logStarted() override { windows_.clear(); }
  void formatStarted(const ChartViewStart& start, presentation::CFormat& format,
                     const presentation::ChartDataWriter& writer) override;
  void frameAdded(std::size_t index, std::span<const float> record, bool writeFailed) override;
  void logEnded() override {}

  const std::vector<std::unique_ptr<LogWindow>>& windows() const { return windows_; }

 private:
  std::vector<std::unique_ptr<LogWindow>> windows_;
};

}  // namespace kvr::ui
