#pragma once
// The Canvas port over a QPainter, for the views of this subsystem. A shared adapter in
// platform/qt replaces it once that exists.

#include <QPainter>

#include "platform/Canvas.h"

namespace kvr::ui {

class PainterCanvas final : public platform::Canvas {
 public:
  PainterCanvas(QPainter& painter, platform::Rect bounds) : p_(painter), bounds_(bounds) {}

  void setPen(const platform::Pen& pen) override;
  void setBrush(const platform::Brush& brush) override;
  void setFont(const platform::Font& font) override;
  void setTextColour(platform::Rgb colour) override { text_ = colour; }
  void setBackground(bool opaque, platform::Rgb colour) override;
  void setMapping(const platform::Mapping&) override {}
  void setClip(const platform::Rect& r) override { p_.setClipRect(QRect(r.left, r.top, r.width(), r.height())); }
  void clearClip() override { p_.setClipping(false); }
  void line(platform::Point from, platform::Point to) override { p_.drawLine(from.x, from.y, to.x, to.y); }
  void polyline(const std::vector<platform::Point>& points) override;
  void rectangle(const platform::Rect& r) override;
  void fillRect(const platform::Rect& r, platform::Rgb colour) override;
  void ellipse(const platform::Rect& r) override { p_.drawEllipse(QRect(r.left, r.top, r.width(), r.height())); }
  void arc(const platform::Rect& bounds, platform::Point start, platform::Point end) override;
  void text(platform::Point at, std::string_view text, unsigned align) override;
  platform::Size textExtent(std::string_view text) override;
  bool drawImage(const platform::Rect& dest, const std::string& path) override;
  void scroll(const platform::Rect&, int) override {}
  platform::Rect bounds() const override { return bounds_; }

 private:
  QPainter& p_;
  platform::Rect bounds_;
  platform::Rgb text_ = 0;
};

}  // namespace kvr::ui
