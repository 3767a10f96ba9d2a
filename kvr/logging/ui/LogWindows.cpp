#include "kvr/logging/ui/LogWindows.h"

#include <algorithm>

#include "common/presentation/LogWindowLayout.h"

namespace kvr::ui {

namespace {
constexpr int kUsefulHeight = 240;
constexpr int kCascadeStep = 30;
}  // namespace

void LogWindows::logStarted() {
  windows_.clear();
  if (changed_) changed_();
}

void LogWindows::formatStarted(const ChartViewStart& start, presentation::CFormat& format,
                               const presentation::ChartDataWriter& writer) {
  windows_.push_back(std::make_unique<LogWindow>(start, format, writer));
  tile();
  windows_.back()->show();
  if (changed_) changed_();
}

void LogWindows::frameAdded(std::size_t index, std::span<const float> record, bool writeFailed) {
  if (index < windows_.size()) windows_[index]->frameAdded(record, writeFailed);
}

void LogWindows::tile() {
  if (windows_.empty() || !area_) return;
  const QRect area = area_();
  const int n = static_cast<int>(windows_.size());
  const int width = std::clamp(area.width(), presentation::LogWindowLayout::kMinWidth,
                               presentation::LogWindowLayout::kWidth);
  const int tiled = area.height() / n;
  // Cascaded, every title bar stays in view and the front window keeps a useful plot.
  const int cascaded = std::max(kUsefulHeight, area.height() - (n - 1) * kCascadeStep);
  for (int i = 0; i < n; ++i) {
    auto& w = *windows_[static_cast<std::size_t>(i)];
    // move() places the frame, resize() the inside: the frames line up in the area.
    const int frame = w.frameGeometry().height() - w.height();
    if (tiled >= kUsefulHeight) {
      w.resize(width, tiled - frame);
      w.move(area.left(), area.top() + i * tiled);
    } else {
      w.resize(width, cascaded - frame);
      w.move(area.left(), area.top() + i * kCascadeStep);
    }
  }
}

void LogWindows::showWindow(std::size_t index) {
  if (index >= windows_.size()) return;
  auto& w = *windows_[index];
  w.show();
  w.raise();
  w.activateWindow();
}

}  // namespace kvr::ui
