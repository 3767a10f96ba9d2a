#pragma once
// The Canvas port on a QPainter: a widget's backing picture, an offscreen QImage or a printer page.
// Lines and shapes go through the logical mapping; text and pictures are placed at their mapped
// device point and drawn upright in device pixels, so a flipped paper mapping never mirrors them.

#include <QImage>
#include <QPainter>

#include "platform/Canvas.h"

namespace platform::qt {

class QtCanvas final : public Canvas {
 public:
  // image, when given, is the painter's device; it lets scroll() move pixels.
  QtCanvas(QPainter& painter, Rect deviceBounds, QImage* image = nullptr);

  void setPen(const Pen& pen) override;
  void setBrush(const Brush& brush) override;
  void setFont(const Font& font) override;
  void setTextColour(Rgb colour) override { textColour_ = colour; }
  void setBackground(bool opaque, Rgb colour) override;
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
  Size textExtent(std::string_view text) override;
  bool drawImage(const Rect& dest, const std::string& path) override;
  Size imageSize(const std::string& path) override;
  bool drawImagePart(const Rect& dest, const std::string& path, const Rect& source) override;
  void scroll(const Rect& area, int dy) override;
  Rect bounds() const override;

 private:
  QPointF toDevice(Point p) const;
  QRectF toDevice(const Rect& r) const;
  double scaleX() const;
  double scaleY() const;
  QFont deviceFont() const;
  double widthFactor(const QFont& f) const;
  void applyTransform();

  QPainter& painter_;
  Rect device_;
  QImage* image_;
  Mapping mapping_;
  Font font_;
  Rgb textColour_ = 0;
  bool opaque_ = false;
  Rgb background_ = 0xFFFFFF;
};

QColor toQColor(Rgb c);

}  // namespace platform::qt
