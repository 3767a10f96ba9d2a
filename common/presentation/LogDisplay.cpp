#include "common/presentation/LogDisplay.h"

#include <algorithm>

namespace presentation {

namespace {
constexpr platform::Rgb kBackground = 0xFFFFFF;

bool intersects(const platform::Rect& a, const platform::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
}  // namespace

LogDisplay::LogDisplay(CFormat& format, const FrameSource& frames, RenderRules rules, const platform::Rect& client,
                       int step, HeaderTexts header)
    : format_(format),
      frames_(frames),
      renderer_(std::move(rules)),
      layout_(LogWindowLayout::make(client, format, step)),
      lookBack_(layout_.up(), layout_.rowsThatFit()),
      header_(std::move(header)) {
  renderer_.restart(format_);
}

void LogDisplay::resize(platform::Canvas& canvas, const platform::Rect& client) {
  layout_ = LogWindowLayout::make(client, format_, layout_.step);
  lookBack_.setRows(layout_.rowsThatFit());
  paint(canvas);
}

void LogDisplay::paint(platform::Canvas& canvas) {
  canvas.fillRect(layout_.client, kBackground);
  drawHeaderBox(canvas, layout_.header, header_);
  drawHeadings(canvas);
  drawPlot(canvas);
}

void LogDisplay::drawPlot(platform::Canvas& canvas) {
  canvas.fillRect(layout_.plot, kBackground);
  drawFrames(canvas, lookBack_.shown(frames_.frameCount()));
}

void LogDisplay::drawFrames(platform::Canvas& canvas, FrameSpan span) {
  if (span.count == 0) return;
  buffer_.clear();
  const std::size_t got = frames_.readFrames(span.first, static_cast<std::size_t>(span.count), buffer_);
  const auto n = static_cast<std::size_t>(frames_.valuesPerFrame());
  const std::uint64_t last = lookBack_.shown(frames_.frameCount()).first + lookBack_.shown(frames_.frameCount()).count - 1;
  canvas.setClip(layout_.plot);
  renderer_.restart(format_);
  for (std::size_t i = 0; i < got; ++i) {
    const std::uint64_t f = span.first + i;
    const int y = layout_.rowAt(static_cast<int>(static_cast<std::int64_t>(last) - static_cast<std::int64_t>(f)));
    renderer_.drawRow(canvas, format_, std::span<const float>(buffer_.data() + i * n, n), y, y + layout_.step);
  }
  canvas.clearClip();
  liveRowDrawn_ = lookBack_.following() && got == span.count && span.first + got == frames_.frameCount();
}

void LogDisplay::scrollPlot(platform::Canvas& canvas, int dy) {
  const auto& p = layout_.plot;
  canvas.scroll(p, dy);
  const platform::Rect strip = dy > 0 ? platform::Rect{p.left, p.top, p.right, std::min(p.bottom, p.top + dy)}
                                      : platform::Rect{p.left, std::max(p.top, p.bottom + dy), p.right, p.bottom};
  canvas.fillRect(strip, kBackground);
}

void LogDisplay::frameAdded(platform::Canvas& canvas, std::span<const float> record) {
  if (frozen_) {
    liveRowDrawn_ = false;
    return;
  }
  const std::uint64_t frames = frames_.frameCount();
  if (!liveRowDrawn_ || !lookBack_.following()) {
    // Coming back from looking back or from a freeze: the newest rows drawn whole.
    lookBack_.jumpToNewest(frames);
    drawPlot(canvas);
    return;
  }
  lookBack_.frameAdded(frames);
  scrollPlot(canvas, layout_.step);
  canvas.setClip(layout_.plot);
  renderer_.drawRow(canvas, format_, record, layout_.rowY, layout_.rowY + layout_.step);
  canvas.clearClip();
}

void LogDisplay::diskWriteFailed(platform::Canvas& canvas) { drawDiskWriteError(canvas, layout_.plot); }

void LogDisplay::scrollRows(platform::Canvas& canvas, int olderRows) {
  const auto s = lookBack_.scroll(olderRows, frames_.frameCount());
  if (s.moved == 0) return;
  if (std::abs(s.moved) >= lookBack_.rows()) {
    drawPlot(canvas);
    return;
  }
  scrollPlot(canvas, -s.moved * layout_.step);
  drawFrames(canvas, s.draw);
}

void LogDisplay::wheelOverHeadings(platform::Canvas& canvas, int notches) {
  const int limit = LogWindowLayout::headingScrollLimit(format_);
  headingOffset_ = std::clamp(headingOffset_ + lookBack_.headingWheelPixels(notches), 0, limit);
  drawHeadings(canvas);
}

void LogDisplay::drawHeadings(platform::Canvas& canvas) {
  const auto& area = layout_.headings;
  canvas.fillRect(area, kBackground);
  canvas.setClip(area);
  for (const auto& track : format_.tracks)
    for (const auto& curve : track.curves) {
      if (!curve.enabled) continue;
      const int top = layout_.headingTop(curve, headingOffset_);
      const platform::Rect box{track.left, top, track.left + track.width + 2, top + curve.labelHeight};
      if (intersects(box, area)) renderer_.drawHeading(canvas, track, curve, top);
    }
  canvas.clearClip();
}

void LogDisplay::thumbReleased(platform::Canvas& canvas, int position) {
  const std::uint64_t frames = frames_.frameCount();
  lookBack_.jumpTo(LookBack::thumbFrame(position, frames, frames_.valuesPerFrame(), layout_.up()), frames);
  drawPlot(canvas);
  drawHeadings(canvas);
  drawHeaderBox(canvas, layout_.header, header_);
}

void LogDisplay::thumbDragged(platform::Canvas& canvas, int position) {
  const std::uint64_t frames = frames_.frameCount();
  if (frames == 0) return;
  const std::uint64_t f =
      std::min(LookBack::thumbFrame(position, frames, frames_.valuesPerFrame(), layout_.up()), frames - 1);
  buffer_.clear();
  if (frames_.readFrames(f, 1, buffer_) != 1) return;
  drawThumbDepth(canvas, layout_.header, renderer_.integerDepth(buffer_[0]), format_.english);
}

}  // namespace presentation
