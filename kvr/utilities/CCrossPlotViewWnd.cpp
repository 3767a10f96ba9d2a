#include "kvr/utilities/CCrossPlotViewWnd.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kvr::utilities {

using platform::Point;
using platform::Rect;
using platform::rgb;

namespace {

constexpr Rect kPlot = CCrossPlotViewWnd::kPlotRect;
constexpr platform::Rgb kBlack = rgb(0, 0, 0);

// Where values land on the page along both axes.
struct Scale {
  double x0 = 0, y0 = 0;  // the origin, value 0 on both axes
  double sx = 1, sy = 1;  // units per value
  int yDir = 1;           // +1: values grow upward

  double px(double v) const { return x0 + v * sx; }
  double py(double v) const { return y0 + yDir * v * sy; }
};

double spanOf(const AxisRange& r) {
  double span = r.final - r.start;
  return span > 0 ? span : 1;  // an empty range still gets a scale
}

int toUnits(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (v > 1e9) return 1000000000;
  return static_cast<int>(std::lround(v));
}

Scale scaleOf(const PlotAxes& axes, bool invert) {
  Scale s;
  s.sx = kPlot.width() / spanOf(axes.x);
  s.sy = kPlot.height() / spanOf(axes.y);
  // The origin is where value 0 falls, also for ranges that do not start below zero.
  s.x0 = toUnits(kPlot.left - axes.x.start * s.sx);
  if (invert) {
    s.y0 = toUnits(kPlot.bottom + axes.y.start * s.sy);
    s.yDir = -1;
  } else {
    s.y0 = toUnits(kPlot.top - axes.y.start * s.sy);
  }
  return s;
}

// Positions are whole units, so the test is made on the rounded point: a value at the very
// end of a range stays on the border instead of falling off it by a rounding error.
bool inside(double x, double y) {
  if (!(std::fabs(x) < 1e9 && std::fabs(y) < 1e9)) return false;  // also NaN
  int px = toUnits(x), py = toUnits(y);
  return px >= kPlot.left && px <= kPlot.right && py >= kPlot.top && py <= kPlot.bottom;
}

std::string label(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

void drawTitles(platform::Canvas& canvas, const PlotAxes& axes) {
  platform::Font font;
  font.family = platform::FontFamily::Swiss;
  font.height = 200;
  font.width = 60;
  font.weight = 700;
  canvas.setFont(font);
  canvas.text(Point{4075, 5960}, axes.xTitle, platform::AlignCenter | platform::AlignTop);
  font.escapement = 900;
  canvas.setFont(font);
  canvas.text(Point{8110, 3000}, axes.yTitle, platform::AlignCenter | platform::AlignBottom);
}

// The grid lines at origin + k x step (step signed, in units) that lie on [low, high]:
// the side where values grow first, starting with the origin itself.
template <typename Draw>
void gridLines(double origin, double step, int low, int high, Draw draw) {
  if (!(std::fabs(step) >= 1)) return;  // no spacing, or lines closer than one unit
  double a = (low - origin) / step, b = (high - origin) / step;
  double kLow = std::ceil(std::min(a, b)), kHigh = std::floor(std::max(a, b));
  for (double k = std::max(0.0, kLow); k <= kHigh; ++k) draw(k, toUnits(origin + k * step));
  for (double k = std::min(-1.0, kHigh); k >= kLow; --k) draw(k, toUnits(origin + k * step));
}

void drawGrid(platform::Canvas& canvas, const PlotSettings& settings, const Scale& s) {
  platform::Font font;
  font.family = platform::FontFamily::Roman;
  font.height = 200;
  font.weight = 400;
  canvas.setFont(font);
  canvas.setPen(platform::Pen{platform::PenStyle::Dot, 1, rgb(100, 100, 100)});
  const unsigned align = platform::AlignRight | platform::AlignBaseline;

  gridLines(s.x0, settings.horizontalGrid * s.sx, kPlot.left, kPlot.right, [&](double k, int x) {
    canvas.line(Point{x, kPlot.top}, Point{x, kPlot.bottom});
    canvas.text(Point{x, 280}, label(k * settings.horizontalGrid), align);
  });
  gridLines(s.y0, s.yDir * settings.verticalGrid * s.sy, kPlot.top, kPlot.bottom, [&](double k, int y) {
    canvas.line(Point{kPlot.left, y}, Point{kPlot.right, y});
    canvas.text(Point{580, y}, label(k * settings.verticalGrid), align);
  });
}

void drawAxes(platform::Canvas& canvas, const Scale& s) {
  canvas.setPen(platform::Pen{platform::PenStyle::Solid, 20, rgb(0, 0, 255)});
  int x0 = toUnits(s.x0), y0 = toUnits(s.y0);
  if (x0 >= kPlot.left && x0 <= kPlot.right) canvas.line(Point{x0, kPlot.top}, Point{x0, kPlot.bottom});
  if (y0 >= kPlot.top && y0 <= kPlot.bottom) canvas.line(Point{kPlot.left, y0}, Point{kPlot.right, y0});
}

}  // namespace

platform::Rgb pathColour(std::size_t position) {
  static constexpr std::array<platform::Rgb, 9> kColours{
      rgb(255, 0, 0),     rgb(0, 255, 0),    rgb(0, 0, 255),    rgb(255, 100, 100), rgb(100, 255, 100),
      rgb(100, 100, 255), rgb(200, 100, 50), rgb(50, 200, 100), rgb(100, 50, 200)};
  return kColours[position % kColours.size()];
}

void CCrossPlotViewWnd::draw(platform::Canvas& canvas, const Rect& client) const {
  platform::Mapping m;
  m.windowOrigin = {0, 0};
  m.windowExtent = {kPageWidth, kPageHeight};
  m.viewportOrigin = {client.left, client.bottom};
  m.viewportExtent = {client.width(), -client.height()};
  canvas.setMapping(m);
  canvas.setBackground(false, rgb(255, 255, 255));
  canvas.setTextColour(kBlack);
  canvas.setBrush(platform::Brush{platform::BrushStyle::Hollow, 0});

  canvas.setPen(platform::Pen{platform::PenStyle::Solid, 0, kBlack});
  canvas.rectangle(Rect{0, 0, kPageWidth, kPageHeight});
  canvas.setPen(platform::Pen{platform::PenStyle::Solid, 30, kBlack});
  canvas.rectangle(kPlot);
  if (!plotted_) return;

  PlotAxes axes = axesOf(settings_);
  Scale s = scaleOf(axes, settings_.invertVertical);
  drawTitles(canvas, axes);
  drawGrid(canvas, settings_, s);
  drawAxes(canvas, s);

  canvas.setClip(kPlot);
  for (std::size_t i = 0; i < paths_.size(); ++i) {
    std::vector<Point> points{Point{toUnits(s.x0), toUnits(s.y0)}};
    for (const auto& row : *paths_[i]) {
      double x = 0, y = 0;
      plotValues(settings_.kind, row, x, y);
      double px = s.px(x), py = s.py(y);
      if (!inside(px, py)) break;
      points.push_back(Point{toUnits(px), toUnits(py)});
    }
    canvas.setPen(platform::Pen{platform::PenStyle::Solid, 30, pathColour(i)});
    canvas.polyline(points);
  }
  canvas.clearClip();
}

}  // namespace kvr::utilities
