#include "kvr/logging/ui/LogWindows.h"

namespace kvr::ui {

void LogWindows::formatStarted(const ChartViewStart& start, presentation::CFormat& format,
                               const presentation::ChartDataWriter& writer) {
  auto w = std::make_unique<LogWindow>(start, format, writer);
  w->show();
  windows_.push_back(std::move(w));
}

void LogWindows::frameAdded(std::size_t index, std::span<const float> record, bool writeFailed) {
  if (index < windows_.size()) windows_[index]->frameAdded(record, writeFailed);
}

}  // namespace kvr::ui
