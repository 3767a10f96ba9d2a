#pragma once
// A Canvas that draws nothing, for harnesses that run the drawing code on hostile input.

#include "platform/Canvas.h"

class NullCanvas final : public platform::Canvas {
 public:
  void setPen(const platform::Pen&) override {}
  void setBrush(const platform::Brush&) override {}
  void setFont(const platform::Font&) override {}
  void setTextColour(platform::Rgb) override {}
  void setBackground(bool, platform::Rgb) override {}
  void setMapping(const platform::Mapping&) override {}
  void setClip(const platform::Rect&) override {}
  void clearClip() override {}
  void line(platform::Point, platform::Point) override { ++calls; }
  void polyline(const std::vector<platform::Point>&) override { ++calls; }
  void rectangle(const platform::Rect&) override { ++calls; }
  void fillRect(const platform::Rect&, platform::Rgb) override { ++calls; }
  void ellipse(const platform::Rect&) override { ++calls; }
  void arc(const platform::Rect&, platform::Point, platform::Point) override { ++calls; }
  void text(platform::Point, std::string_view, unsigned) override { ++calls; }
  platform::Size textExtent(std::string_view t) override { return {static_cast<int>(t.size()) * 6, 12}; }
  bool drawImage(const platform::Rect&, const std::string&) override { return false; }
  void scroll(const platform::Rect&, int) override { ++calls; }
  platform::Rect bounds() const override { return {0, 0, 785, 400}; }
  long calls = 0;
};
