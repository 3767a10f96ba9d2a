#include "platform/qt/QtCanvas.h"

#include <cstring>

#include "platform/qt/TextBytes.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImageReader>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace platform::qt {

QColor toQColor(Rgb c) { return QColor(redOf(c), greenOf(c), blueOf(c)); }

namespace {
Qt::PenStyle qtPenStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::None: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(BrushStyle s) {
  switch (s) {
    case BrushStyle::Solid: return Qt::SolidPattern;
    case BrushStyle::Hollow: return Qt::NoBrush;
    case BrushStyle::Horizontal: return Qt::HorPattern;
    case BrushStyle::Vertical: return Qt::VerPattern;
    case BrushStyle::ForwardDiagonal: return Qt::FDiagPattern;
    case BrushStyle::BackwardDiagonal: return Qt::BDiagPattern;
    case BrushStyle::Cross: return Qt::CrossPattern;
    case BrushStyle::DiagonalCross: return Qt::DiagCrossPattern;
  }
  return Qt::NoBrush;
}

// A family asks fontconfig for its generic face; "script" and "decorative" faces are often
// not installed, and then the serif face stands in rather than the plain sans one.
QString genericFamily(FontFamily f) {
  switch (f) {
    case FontFamily::Swiss: return "sans-serif";
    case FontFamily::Roman: return "serif";
    case FontFamily::Modern: return "monospace";
    case FontFamily::Script: return "cursive";
    case FontFamily::Decorative: return "fantasy";
    case FontFamily::DontCare: break;
  }
  return {};
}

QString resolvedFamily(const QString& generic) {
  QFont f;
  f.setFamilies({generic});
  return QFontInfo(f).family();
}

QStringList familiesOf(FontFamily family) {
  const QString generic = genericFamily(family);
  if (generic.isEmpty()) return {};
  if (family == FontFamily::Script || family == FontFamily::Decorative) {
    static const QString sans = resolvedFamily("sans-serif");
    if (resolvedFamily(generic) == sans) return {"serif"};
  }
  return {generic};
}

QFont::StyleHint hintOf(FontFamily f) {
  switch (f) {
    case FontFamily::Swiss: return QFont::SansSerif;
    case FontFamily::Roman: return QFont::Serif;
    case FontFamily::Modern: return QFont::TypeWriter;
    case FontFamily::Script: return QFont::Cursive;
    case FontFamily::Decorative: return QFont::Decorative;
    case FontFamily::DontCare: return QFont::AnyStyle;
  }
  return QFont::AnyStyle;
}
}  // namespace

QtCanvas::QtCanvas(QPainter& painter, Rect deviceBounds, QImage* image)
    : painter_(painter), device_(deviceBounds), image_(image) {
  mapping_.windowExtent = {1, 1};
  mapping_.viewportExtent = {1, 1};
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBrush(Qt::NoBrush);
  applyTransform();
}

double QtCanvas::scaleX() const {
  return mapping_.windowExtent.width == 0 ? 1.0
                                          : static_cast<double>(mapping_.viewportExtent.width) / mapping_.windowExtent.width;
}
double QtCanvas::scaleY() const {
  return mapping_.windowExtent.height == 0
             ? 1.0
             : static_cast<double>(mapping_.viewportExtent.height) / mapping_.windowExtent.height;
}

void QtCanvas::applyTransform() {
  QTransform t;
  t.translate(mapping_.viewportOrigin.x, mapping_.viewportOrigin.y);
  t.scale(scaleX(), scaleY());
  t.translate(-mapping_.windowOrigin.x, -mapping_.windowOrigin.y);
  painter_.setTransform(t);
}

QPointF QtCanvas::toDevice(Point p) const {
  return {(p.x - mapping_.windowOrigin.x) * scaleX() + mapping_.viewportOrigin.x,
          (p.y - mapping_.windowOrigin.y) * scaleY() + mapping_.viewportOrigin.y};
}

QRectF QtCanvas::toDevice(const Rect& r) const {
  return QRectF(toDevice(Point{r.left, r.top}), toDevice(Point{r.right, r.bottom})).normalized();
}

void QtCanvas::setPen(const Pen& pen) {
  QPen p(toQColor(pen.colour));
  p.setStyle(qtPenStyle(pen.style));
  if (pen.width <= 1) {
    p.setCosmetic(true);
    p.setWidth(1);
  } else {
    p.setWidthF(pen.width);
  }
  painter_.setPen(p);
}

void QtCanvas::setBrush(const Brush& brush) {
  painter_.setBrush(QBrush(toQColor(brush.colour), qtBrushStyle(brush.style)));
}

void QtCanvas::setFont(const Font& font) { font_ = font; }

void QtCanvas::setBackground(bool opaque, Rgb colour) {
  opaque_ = opaque;
  background_ = colour;
}

void QtCanvas::setMapping(const Mapping& mapping) {
  mapping_ = mapping;
  applyTransform();
}

void QtCanvas::setClip(const Rect& logical) { painter_.setClipRect(QRectF(logical.left, logical.top, logical.width(), logical.height())); }

void QtCanvas::clearClip() { painter_.setClipping(false); }

void QtCanvas::line(Point from, Point to) { painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y)); }

void QtCanvas::polyline(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  QPolygonF poly;
  for (const auto& p : points) poly << QPointF(p.x, p.y);
  painter_.drawPolyline(poly);
}

void QtCanvas::rectangle(const Rect& r) { painter_.drawRect(QRectF(r.left, r.top, r.width(), r.height())); }

void QtCanvas::fillRect(const Rect& r, Rgb colour) {
  painter_.fillRect(QRectF(r.left, r.top, r.width(), r.height()), toQColor(colour));
}

void QtCanvas::ellipse(const Rect& b) { painter_.drawEllipse(QRectF(b.left, b.top, b.width(), b.height())); }

void QtCanvas::arc(const Rect& b, Point start, Point end) {
  // Angles of the rays from the centre, counter-clockwise on screen (y grows down).
  double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
  double a0 = std::atan2(-(start.y - cy), start.x - cx) * 180.0 / M_PI;
  double a1 = std::atan2(-(end.y - cy), end.x - cx) * 180.0 / M_PI;
  double span = a1 - a0;
  if (span <= 0) span += 360.0;
  painter_.drawArc(QRectF(b.left, b.top, b.width(), b.height()), static_cast<int>(std::lround(a0 * 16)),
                   static_cast<int>(std::lround(span * 16)));
}

QFont QtCanvas::deviceFont() const {
  QFont f;
  if (!font_.face.empty()) f.setFamilies({QString::fromStdString(font_.face)});
  else if (const QStringList families = familiesOf(font_.family); !families.isEmpty()) f.setFamilies(families);
  f.setStyleHint(hintOf(font_.family));
  f.setFixedPitch(font_.family == FontFamily::Modern);
  int px = static_cast<int>(std::lround(std::abs(font_.height * scaleY())));
  f.setPixelSize(px < 1 ? 1 : px);
  f.setWeight(static_cast<QFont::Weight>(font_.weight < 100 ? 400 : (font_.weight > 900 ? 900 : font_.weight)));
  f.setItalic(font_.italic);
  f.setUnderline(font_.underline);
  f.setStrikeOut(font_.strikeOut);
  return f;
}

// A font's width is its average character width; the face is drawn wider or narrower by
// this factor to give it.
double QtCanvas::widthFactor(const QFont& f) const {
  if (font_.width <= 0) return 1.0;
  const double average = QFontMetricsF(f).averageCharWidth();
  if (average <= 0) return 1.0;
  return std::clamp(std::abs(font_.width * scaleX()) / average, 0.05, 20.0);
}

void QtCanvas::text(Point at, std::string_view text, unsigned align) {
  QString s = textFromBytes(text);
  QFont f = deviceFont();
  QFontMetricsF fm(f);
  const double w = fm.horizontalAdvance(s);
  double x = 0, y = 0;
  if ((align & AlignCenter) == AlignCenter) {
    x = -w / 2;
  } else if (align & AlignRight) {
    x = -w;
  }
  if ((align & AlignBaseline) == AlignBaseline) {
    y = 0;
  } else if (align & AlignBottom) {
    y = -fm.descent();
  } else {
    y = fm.ascent();
  }
  painter_.save();
  painter_.resetTransform();
  painter_.translate(toDevice(at));
  // Escapement turns counter-clockwise; on a y-down device that is a negative rotation.
  if (font_.escapement != 0) painter_.rotate(-font_.escapement / 10.0);
  painter_.scale(widthFactor(f), 1.0);
  if (opaque_) painter_.fillRect(QRectF(x, y - fm.ascent(), w, fm.height()), toQColor(background_));
  painter_.setFont(f);
  painter_.setPen(toQColor(textColour_));
  painter_.drawText(QPointF(x, y), s);
  painter_.restore();
}

Size QtCanvas::textExtent(std::string_view text) {
  const QFont f = deviceFont();
  QFontMetricsF fm(f);
  QString s = textFromBytes(text);
  double sx = std::abs(scaleX()), sy = std::abs(scaleY());
  return Size{static_cast<int>(std::lround(fm.horizontalAdvance(s) * widthFactor(f) / (sx == 0 ? 1 : sx))),
              static_cast<int>(std::lround(fm.height() / (sy == 0 ? 1 : sy)))};
}

bool QtCanvas::drawImage(const Rect& dest, const std::string& path) {
  QImage img(QString::fromStdString(path));
  if (img.isNull()) return false;
  painter_.save();
  painter_.resetTransform();
  painter_.drawImage(toDevice(dest), img);
  painter_.restore();
  return true;
}

Size QtCanvas::imageSize(const std::string& path) {
  QImageReader reader(QString::fromStdString(path));
  const QSize s = reader.size();
  if (s.isValid()) return Size{s.width(), s.height()};
  QImage img = reader.read();
  return img.isNull() ? Size{} : Size{img.width(), img.height()};
}

bool QtCanvas::drawImagePart(const Rect& dest, const std::string& path, const Rect& source) {
  QImage img(QString::fromStdString(path));
  if (img.isNull()) return false;
  painter_.save();
  painter_.resetTransform();
  painter_.drawImage(toDevice(dest), img, QRectF(source.left, source.top, source.width(), source.height()));
  painter_.restore();
  return true;
}

void QtCanvas::scroll(const Rect& area, int dy) {
  if (!image_ || dy == 0) return;
  QRect d = toDevice(area).toAlignedRect().intersected(image_->rect());
  int ddy = static_cast<int>(std::lround(dy * scaleY()));
  if (d.isEmpty() || std::abs(ddy) >= d.height()) return;
  const int bytesPerPixel = image_->depth() / 8;
  if (!image_->isDetached() || bytesPerPixel <= 0 || image_->depth() % 8 != 0) {
    // A shared picture would be copied by the first write below and the painter left on the
    // old pixels: go through the painter.
    QImage copy = image_->copy(d);
    painter_.save();
    painter_.resetTransform();
    painter_.setClipRect(d);
    painter_.drawImage(d.topLeft() + QPoint(0, ddy), copy);
    painter_.restore();
    return;
  }
  // The raster engine draws at once, so the pixels can be moved in place, line by line, in
  // the order that never reads a line already overwritten (no copy of the area).
  const std::size_t bytes = static_cast<std::size_t>(d.width()) * static_cast<std::size_t>(bytesPerPixel);
  const int offset = d.left() * bytesPerPixel;
  auto move = [&](int y) {
    std::memmove(image_->scanLine(y + ddy) + offset, image_->constScanLine(y) + offset, bytes);
  };
  if (ddy > 0) {
    for (int y = d.bottom() - ddy; y >= d.top(); --y) move(y);
  } else {
    for (int y = d.top() - ddy; y <= d.bottom(); ++y) move(y);
  }
}

Rect QtCanvas::bounds() const {
  // The device rectangle back in logical units.
  double sx = scaleX(), sy = scaleY();
  auto back = [&](double x, double y) {
    return Point{static_cast<int>(std::lround((x - mapping_.viewportOrigin.x) / sx + mapping_.windowOrigin.x)),
                 static_cast<int>(std::lround((y - mapping_.viewportOrigin.y) / sy + mapping_.windowOrigin.y))};
  };
  Point a = back(device_.left, device_.top), b = back(device_.right, device_.bottom);
  return Rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace platform::qt
