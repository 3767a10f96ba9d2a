#pragma once
// A drawing surface with pens, brushes, fonts, clipping and a logical mapping:
// a window, an offscreen picture or a printer page.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

namespace platform {

using Rgb = std::uint32_t;  // red + 256 x green + 65536 x blue

constexpr Rgb rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr unsigned redOf(Rgb c) { return c & 0xFF; }
constexpr unsigned greenOf(Rgb c) { return (c >> 8) & 0xFF; }
constexpr unsigned blueOf(Rgb c) { return (c >> 16) & 0xFF; }

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, None };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 0;  // 0: one device pixel
  Rgb colour = 0;
  friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Hollow, Horizontal, Vertical, ForwardDiagonal, BackwardDiagonal, Cross, DiagonalCross };

struct Brush {
  BrushStyle style = BrushStyle::Hollow;
  Rgb colour = 0;
  friend bool operator==(const Brush&, const Brush&) = default;
};

enum class FontFamily { DontCare, Swiss, Roman, Modern, Script, Decorative };

struct Font {
  std::string face;  // empty: chosen by family
  FontFamily family = FontFamily::DontCare;
  int height = 12;      // logical units; the character cell height
  int width = 0;        // 0: the face's own width for that height
  int weight = 400;     // 100..900
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int escapement = 0;   // text angle in tenths of a degree, counter-clockwise
  friend bool operator==(const Font&, const Font&) = default;
};

// Where the reference point of text() sits on the text.
enum TextAlign : unsigned {
  AlignLeft = 0,
  AlignRight = 2,
  AlignCenter = 6,
  AlignTop = 0,
  AlignBottom = 8,
  AlignBaseline = 24,
};

// Logical-to-device mapping: device = (logical - windowOrigin) * viewportExtent / windowExtent + viewportOrigin.
// A negative extent flips that axis (y up, as on paper in tenths of a millimetre).
struct Mapping {
  Point windowOrigin{0, 0};
  Size windowExtent{1, 1};
  Point viewportOrigin{0, 0};
  Size viewportExtent{1, 1};
  friend bool operator==(const Mapping&, const Mapping&) = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setPen(const Pen& pen) = 0;
  virtual void setBrush(const Brush& brush) = 0;
  virtual void setFont(const Font& font) = 0;
  virtual void setTextColour(Rgb colour) = 0;
  // Opaque text backgrounds paint the text cell with the background colour.
  virtual void setBackground(bool opaque, Rgb colour) = 0;
  virtual void setMapping(const Mapping& mapping) = 0;
  virtual void setClip(const Rect& logical) = 0;
  virtual void clearClip() = 0;

  virtual void line(Point from, Point to) = 0;
  virtual void polyline(const std::vector<Point>& points) = 0;
  // Outline with the pen, filled with the brush.
  virtual void rectangle(const Rect& r) = 0;
  virtual void fillRect(const Rect& r, Rgb colour) = 0;
  virtual void ellipse(const Rect& bounds) = 0;
  // Counter-clockwise arc of the ellipse in bounds, from the ray through start to the ray through end.
  virtual void arc(const Rect& bounds, Point start, Point end) = 0;
  virtual void text(Point at, std::string_view text, unsigned align = AlignLeft | AlignTop) = 0;
  // Extent of text in the current font, in logical units.
  virtual Size textExtent(std::string_view text) = 0;
  // Stretches a picture file into dest; false when the file cannot be read as a picture.
  virtual bool drawImage(const Rect& dest, const std::string& path) = 0;
  // The picture's size in its own pixels; {0, 0} when the file cannot be read as a picture.
  virtual Size imageSize(const std::string& path) { (void)path; return {}; }
  // Stretches the part source (picture pixels, y down from its top row) into dest; false
  // when the file cannot be read as a picture.
  virtual bool drawImagePart(const Rect& dest, const std::string& path, const Rect& source) {
    (void)dest; (void)path; (void)source;
    return false;
  }
  // Moves the pixels inside area by dy logical units (positive: down); the uncovered strip is left as it was.
  virtual void scroll(const Rect& area, int dy) = 0;
  // The drawable area in logical units under the current mapping.
  virtual Rect bounds() const = 0;
};

}  // namespace platform
