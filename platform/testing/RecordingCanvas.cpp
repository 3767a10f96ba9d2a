#include "platform/testing/RecordingCanvas.h"

namespace platform::testing {

DrawCall RecordingCanvas::make(DrawCall::Kind kind) const {
  DrawCall c{};
  c.kind = kind;
  c.pen = pen_;
  c.brush = brush_;
  c.font = font_;
  c.textColour = textColour_;
  c.mapping = mapping_;
  return c;
}

void RecordingCanvas::setMapping(const Mapping& mapping) {
  mapping_ = mapping;
  calls_.push_back(make(DrawCall::SetMapping));
}

void RecordingCanvas::setClip(const Rect& logical) {
  auto c = make(DrawCall::SetClip);
  c.rect = logical;
  calls_.push_back(c);
}

void RecordingCanvas::clearClip() { calls_.push_back(make(DrawCall::ClearClip)); }

void RecordingCanvas::line(Point from, Point to) {
  auto c = make(DrawCall::Line);
  c.points = {from, to};
  calls_.push_back(c);
}

void RecordingCanvas::polyline(const std::vector<Point>& points) {
  auto c = make(DrawCall::Polyline);
  c.points = points;
  calls_.push_back(c);
}

void RecordingCanvas::rectangle(const Rect& r) {
  auto c = make(DrawCall::Rectangle);
  c.rect = r;
  calls_.push_back(c);
}

void RecordingCanvas::fillRect(const Rect& r, Rgb colour) {
  auto c = make(DrawCall::FillRect);
  c.rect = r;
  c.fill = colour;
  calls_.push_back(c);
}

void RecordingCanvas::ellipse(const Rect& bounds) {
  auto c = make(DrawCall::Ellipse);
  c.rect = bounds;
  calls_.push_back(c);
}

void RecordingCanvas::arc(const Rect& bounds, Point start, Point end) {
  auto c = make(DrawCall::Arc);
  c.rect = bounds;
  c.points = {start, end};
  calls_.push_back(c);
}

void RecordingCanvas::text(Point at, std::string_view text, unsigned align) {
  auto c = make(DrawCall::Text);
  c.points = {at};
  c.text = std::string(text);
  c.align = align;
  calls_.push_back(c);
}

Size RecordingCanvas::textExtent(std::string_view text) {
  int h = font_.height < 0 ? -font_.height : font_.height;
  int w = font_.width > 0 ? font_.width : h / 2;
  return Size{static_cast<int>(text.size()) * w, h};
}

Size RecordingCanvas::imageSize(const std::string&) { return imagesReadable_ ? imageSize_ : Size{}; }

bool RecordingCanvas::drawImagePart(const Rect& dest, const std::string& path, const Rect& source) {
  auto c = make(DrawCall::Image);
  c.rect = dest;
  c.text = path;
  c.points = {{source.left, source.top}, {source.right, source.bottom}};
  calls_.push_back(c);
  return imagesReadable_;
}

bool RecordingCanvas::drawImage(const Rect& dest, const std::string& path) {
  auto c = make(DrawCall::Image);
  c.rect = dest;
  c.text = path;
  calls_.push_back(c);
  return imagesReadable_;
}

void RecordingCanvas::scroll(const Rect& area, int dy) {
  auto c = make(DrawCall::Scroll);
  c.rect = area;
  c.dy = dy;
  calls_.push_back(c);
}

std::vector<DrawCall> RecordingCanvas::callsOf(DrawCall::Kind kind) const {
  std::vector<DrawCall> out;
  for (const auto& c : calls_) {
    if (c.kind == kind) out.push_back(c);
  }
  return out;
}

std::vector<std::string> RecordingCanvas::texts() const {
  std::vector<std::string> out;
  for (const auto& c : calls_) {
    if (c.kind == DrawCall::Text) out.push_back(c.text);
  }
  return out;
}

}  // namespace platform::testing
