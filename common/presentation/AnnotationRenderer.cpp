#include "common/presentation/AnnotationRenderer.h"

#include <algorithm>
#include <cstdint>

namespace presentation {

namespace {

platform::Rect normalised(platform::Rect r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

int clampUnits(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -10000000, 10000000)); }

platform::FontFamily familyOf(std::uint8_t pitchAndFamily) {
  switch (pitchAndFamily & 0xF0) {
    case 0x10: return platform::FontFamily::Roman;
    case 0x20: return platform::FontFamily::Swiss;
    case 0x30: return platform::FontFamily::Modern;
    case 0x40: return platform::FontFamily::Script;
    case 0x50: return platform::FontFamily::Decorative;
    default: return platform::FontFamily::DontCare;
  }
}

// The frame and the points of the object on the canvas.
struct Placed {
  platform::Rect frame;  // normalised
  platform::Point first, second;  // frame corners (x1, y1) and (x2, y2) as stored
};

int canvasY(const ObjectPlacement& at, int logY) {
  return clampUnits(at.yUp ? static_cast<std::int64_t>(at.originY) - logY : static_cast<std::int64_t>(at.originY) + logY);
}

Placed place(const Annotation& a, const ObjectPlacement& at) {
  Placed p;
  p.first = {clampUnits(a.frame.left), canvasY(at, a.frame.top)};
  p.second = {clampUnits(a.frame.right), canvasY(at, a.frame.bottom)};
  p.frame = normalised({p.first.x, p.first.y, p.second.x, p.second.y});
  return p;
}

// A text centred on (cx, cy) whatever way y grows.
void centredText(platform::Canvas& c, const std::string& text, int cx, int cy, bool yUp) {
  const int h = c.textExtent(text).height;
  c.text({cx, yUp ? cy + h / 2 : cy - h / 2}, text, platform::AlignCenter | platform::AlignTop);
}

void roundedBox(platform::Canvas& c, const platform::Rect& r) {
  const int d = std::min(r.height(), r.width() / 2);
  if (d <= 0) {
    c.rectangle(r);
    return;
  }
  c.ellipse({r.left, r.top, r.left + d, r.bottom});
  c.ellipse({r.right - d, r.top, r.right, r.bottom});
  const platform::Rect middle{r.left + d / 2, r.top, r.right - d / 2, r.bottom};
  c.setPen(platform::Pen{platform::PenStyle::None, 0, 0});
  c.rectangle(middle);
}

}  // namespace

platform::Pen objectPen(const Annotation& a) {
  static constexpr platform::PenStyle kStyles[5] = {platform::PenStyle::Solid, platform::PenStyle::Dash,
                                                     platform::PenStyle::Dot, platform::PenStyle::DashDot,
                                                     platform::PenStyle::DashDotDot};
  const auto style = a.penStyle < 5 ? kStyles[a.penStyle] : platform::PenStyle::Solid;
  const std::int64_t width = static_cast<std::int64_t>(std::min<std::uint32_t>(a.penWidth, 1000)) *
                             std::min<std::uint32_t>(a.penWidthUnit, 1000);
  return {style, static_cast<int>(width), a.penColour & 0xFFFFFF};
}

platform::Brush objectBrush(const Annotation& a) {
  using B = platform::BrushStyle;
  static constexpr B kPatterns[7] = {B::Horizontal, B::Vertical, B::ForwardDiagonal, B::BackwardDiagonal,
                                     B::Cross, B::DiagonalCross, B::Solid};
  return {a.fillPattern < 7 ? kPatterns[a.fillPattern] : B::Solid, a.fillColour & 0xFFFFFF};
}

platform::Font objectFont(const Annotation& a, bool metric) {
  auto scale = [metric](std::int32_t v) {
    const std::int64_t s = metric ? static_cast<std::int64_t>(v) * 254 / 100 : v;
    return static_cast<int>(std::clamp<std::int64_t>(s, -100000, 100000));
  };
  platform::Font f;
  f.face = a.font.face;
  f.family = familyOf(a.font.pitchAndFamily);
  f.height = scale(a.font.height);
  if (f.height < 0) f.height = -f.height;
  f.width = std::max(scale(a.font.width), 0);
  f.weight = std::clamp(a.font.weight, 0, 1000);
  f.italic = a.font.italic != 0;
  f.underline = a.font.underline != 0;
  f.strikeOut = a.font.strikeOut != 0;
  f.escapement = std::clamp(a.font.escapement, -3600, 3600);
  return f;
}

platform::Rect objectExtent(const Annotation& a) { return normalised(a.frame); }

bool objectOverlaps(const Annotation& a, int logTop, int logBottom) {
  const auto r = objectExtent(a);
  return r.bottom >= logTop && r.top <= logBottom;
}

void drawObject(platform::Canvas& c, const Annotation& a, const ObjectPlacement& at) {
  const Placed p = place(a, at);
  const platform::Pen pen = objectPen(a);
  switch (static_cast<AnnotationType>(a.type)) {
    case AnnotationType::TextBox: {
      if (a.transparent) {
        c.setBackground(false, a.fillColour & 0xFFFFFF);
      } else {
        c.setPen(pen);
        c.setBrush({platform::BrushStyle::Solid, a.fillColour & 0xFFFFFF});
        c.rectangle(p.frame);
        c.setBackground(true, a.fillColour & 0xFFFFFF);
      }
      c.setFont(objectFont(a, at.metric));
      c.setTextColour(a.textColour & 0xFFFFFF);
      centredText(c, a.text, (p.frame.left + p.frame.right) / 2, (p.frame.top + p.frame.bottom) / 2, at.yUp);
      break;
    }
    case AnnotationType::Line:
      c.setPen(pen);
      c.line({clampUnits(a.lineStart.x), canvasY(at, a.lineStart.y)}, {clampUnits(a.lineEnd.x), canvasY(at, a.lineEnd.y)});
      break;
    case AnnotationType::Arrow: {
      // The head is at the frame's first corner, the text at the other end.
      c.setPen(pen);
      c.line(p.second, p.first);
      const int dx = p.second.x - p.first.x, dy = p.second.y - p.first.y;
      const platform::Point h1{p.first.x + dx / 2, p.first.y + dy / 4};
      const platform::Point h2{p.first.x + dx / 4, p.first.y + dy / 2};
      c.setBrush({platform::BrushStyle::Solid, a.penColour & 0xFFFFFF});
      c.polyline({p.first, h1, h2, p.first});
      c.setFont(objectFont(a, at.metric));
      c.setTextColour(a.textColour & 0xFFFFFF);
      c.setBackground(false, 0xFFFFFF);
      const unsigned side = dx >= 0 ? platform::AlignLeft : platform::AlignRight;
      const int th = c.textExtent(a.text).height;
      c.text({p.second.x, at.yUp ? p.second.y + th / 2 : p.second.y - th / 2}, a.text, side | platform::AlignTop);
      break;
    }
    case AnnotationType::Rectangle:
      c.setPen(pen);
      c.setBrush(objectBrush(a));
      c.rectangle(p.frame);
      break;
    case AnnotationType::Ellipse:
      c.setPen(pen);
      c.setBrush(objectBrush(a));
      c.ellipse(p.frame);
      break;
    case AnnotationType::RoundedBox: {
      c.setPen(pen);
      c.setBrush(objectBrush(a));
      roundedBox(c, p.frame);
      const int d = std::min(p.frame.height(), p.frame.width() / 2);
      if (d > 0) {
        c.setPen(pen);
        c.line({p.frame.left + d / 2, p.frame.top}, {p.frame.right - d / 2, p.frame.top});
        c.line({p.frame.left + d / 2, p.frame.bottom}, {p.frame.right - d / 2, p.frame.bottom});
      }
      break;
    }
    case AnnotationType::None:
    default:
      break;
  }
}

}  // namespace presentation
