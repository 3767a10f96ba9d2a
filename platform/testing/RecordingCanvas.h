#pragma once
// A Canvas that records every drawing call with the state it was drawn in, for tests
// that check what was drawn rather than pixels.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace platform::testing {

struct DrawCall {
  enum Kind { Line, Polyline, Rectangle, FillRect, Ellipse, Arc, Text, Image, Scroll, SetClip, ClearClip, SetMapping };
  Kind kind;
  std::vector<Point> points;  // Line: from, to; Polyline: all; Arc: start, end; Text: the point
  Rect rect;                  // Rectangle, FillRect, Ellipse, Arc bounds, Image dest, Scroll area, SetClip
  std::string text;           // Text: the text; Image: the path
  unsigned align = 0;
  int dy = 0;                 // Scroll
  Rgb fill = 0;               // FillRect colour
  Pen pen;
  Brush brush;
  Font font;
  Rgb textColour = 0;
  Mapping mapping;
};

class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(Rect bounds = {0, 0, 1000, 1000}) : bounds_(bounds) {}

  void setPen(const Pen& pen) override { pen_ = pen; }
  void setBrush(const Brush& brush) override { brush_ = brush; }
  void setFont(const Font& font) override { font_ = font; }
  void setTextColour(Rgb colour) override { textColour_ = colour; }
  void setBackground(bool opaque, Rgb colour) override { opaque_ = opaque; background_ = colour; }
  void setMapping(const Mapping& mapping) override;
  void setClip(const Rect& logical) override;
  void clearClip() override;

  void line(Point from, Point to) override;
  void polyline(const std::vector<Point>& points) override;
  void rectangle(const Rect& r) override;
  void fillRect(const Rect& r, Rgb colour) override;
  void ellipse(const Rect& bounds) override;
  void arc(const Rect& bounds, Point start, Point end) override;
  void text(Point at, std::string_view text, unsigned align) override;
  // Deterministic: each character is half the font height wide (or the font width), one height tall.
  Size textExtent(std::string_view text) override;
  bool drawImage(const Rect& dest, const std::string& path) override;
  // Every readable picture has the size given by setImageSize (100 x 50 unless set).
  Size imageSize(const std::string& path) override;
  // Recorded as an Image call; points holds the source's top-left and bottom-right.
  bool drawImagePart(const Rect& dest, const std::string& path, const Rect& source) override;
  void scroll(const Rect& area, int dy) override;
  Rect bounds() const override { return bounds_; }

  void setBounds(Rect r) { bounds_ = r; }
  // drawImage answers this for every path.
  void setImagesReadable(bool readable) { imagesReadable_ = readable; }
  void setImageSize(Size s) { imageSize_ = s; }

  const std::vector<DrawCall>& calls() const { return calls_; }
  std::vector<DrawCall> callsOf(DrawCall::Kind kind) const;
  std::vector<std::string> texts() const;
  void clear() { calls_.clear(); }
  const Pen& pen() const { return pen_; }
  const Font& font() const { return font_; }
  bool opaqueBackground() const { return opaque_; }
  Rgb backgroundColour() const { return background_; }

 private:
  DrawCall make(DrawCall::Kind kind) const;
  std::vector<DrawCall> calls_;
  Rect bounds_;
  Pen pen_;
  Brush brush_;
  Font font_;
  Rgb textColour_ = 0;
  bool opaque_ = false;
  Rgb background_ = 0xFFFFFF;
  Mapping mapping_;
  bool imagesReadable_ = true;
  Size imageSize_{100, 50};
};

}  // namespace platform::testing
