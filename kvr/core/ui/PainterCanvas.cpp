#include "kvr/core/ui/PainterCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPolygon>
#include <cmath>

namespace kvr::ui {
namespace {
QColor colour(platform::Rgb c) { return QColor(platform::redOf(c), platform::greenOf(c), platform::blueOf(c)); }
QString qs(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

void PainterCanvas::setPen(const platform::Pen& pen) {
  Qt::PenStyle style = Qt::SolidLine;
  switch (pen.style) {
    case platform::PenStyle::Solid: style = Qt::SolidLine; break;
    case platform::PenStyle::Dash: style = Qt::DashLine; break;
    case platform::PenStyle::Dot: style = Qt::DotLine; break;
    case platform::PenStyle::DashDot: style = Qt::DashDotLine; break;
    case platform::PenStyle::DashDotDot: style = Qt::DashDotDotLine; break;
    case platform::PenStyle::None: style = Qt::NoPen; break;
  }
  p_.setPen(QPen(colour(pen.colour), pen.width, style));
}

void PainterCanvas::setBrush(const platform::Brush& brush) {
  if (brush.style == platform::BrushStyle::Hollow) p_.setBrush(Qt::NoBrush);
  else p_.setBrush(QBrush(colour(brush.colour)));
}

void PainterCanvas::setFont(const platform::Font& font) {
  QFont f(font.face.empty() ? QString("Sans Serif") : QString::fromStdString(font.face));
  f.setPixelSize(std::max(1, font.height));
  f.setWeight(font.weight >= 700 ? QFont::Bold : QFont::Normal);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  p_.setFont(f);
}

void PainterCanvas::setBackground(bool opaque, platform::Rgb c) {
  p_.setBackgroundMode(opaque ? Qt::OpaqueMode : Qt::TransparentMode);
  p_.setBackground(QBrush(colour(c)));
}

void PainterCanvas::polyline(const std::vector<platform::Point>& points) {
  QPolygon poly;
  for (const auto& pt : points) poly << QPoint(pt.x, pt.y);
  p_.drawPolyline(poly);
}

void PainterCanvas::rectangle(const platform::Rect& r) { p_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1)); }

void PainterCanvas::fillRect(const platform::Rect& r, platform::Rgb c) {
  p_.fillRect(QRect(r.left, r.top, r.width(), r.height()), colour(c));
}

void PainterCanvas::arc(const platform::Rect& b, platform::Point start, platform::Point end) {
  const double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
  // Qt counts angles counter-clockwise with y up, in sixteenths of a degree.
  const double a0 = std::atan2(-(start.y - cy), start.x - cx) * 180.0 / M_PI;
  const double a1 = std::atan2(-(end.y - cy), end.x - cx) * 180.0 / M_PI;
  double span = a1 - a0;
  if (span <= 0) span += 360.0;
  p_.drawArc(QRect(b.left, b.top, b.width(), b.height()), static_cast<int>(a0 * 16), static_cast<int>(span * 16));
}

void PainterCanvas::text(platform::Point at, std::string_view text, unsigned) {
  p_.save();
  p_.setPen(colour(text_));
  const QFontMetrics m(p_.font());
  p_.drawText(at.x, at.y + m.ascent(), qs(text));
  p_.restore();
}

platform::Size PainterCanvas::textExtent(std::string_view text) {
  const QFontMetrics m(p_.font());
  return {m.horizontalAdvance(qs(text)), m.height()};
}

bool PainterCanvas::drawImage(const platform::Rect& dest, const std::string& path) {
  QImage image(QString::fromStdString(path));
  if (image.isNull()) return false;
  p_.drawImage(QRect(dest.left, dest.top, dest.width(), dest.height()), image);
  return true;
}

}  // namespace kvr::ui
