#include "kvr/core/CTSViewer.h"

#include <cmath>
#include <cstdio>

#include "common/presentation/NumberText.h"
#include "common/records/ToolCodes.h"

namespace kvr {
namespace {
using platform::Point;
using platform::Rect;

constexpr platform::Rgb kTitleColour = platform::rgb(150, 0, 200);
constexpr platform::Rgb kTextColour = platform::rgb(200, 0, 0);
constexpr platform::Rgb kSerialColour = platform::rgb(0, 0, 0);
constexpr const char* kTitle = "TOOL STRING SKETCH";

int halfWidth(const records::ToolEntry& e) { return static_cast<int>(std::trunc(e.sketchWidth / 10.0f)); }

void box(platform::Canvas& c, int l, int t, int r, int b) { c.rectangle(Rect{l, t, r, b}); }
}  // namespace

platform::Font CTSViewer::windowFont() {
  platform::Font f;
  f.family = platform::FontFamily::Swiss;
  f.height = 14;
  return f;
}

void CTSViewer::draw(platform::Canvas& c, const records::ToolList& tools) {
  if (tools.empty()) return;
  const Rect client = c.bounds();
  const platform::Font font = windowFont();
  c.setFont(font);
  c.setBackground(false, platform::rgb(255, 255, 255));
  c.setPen(platform::Pen{});
  c.setBrush(platform::Brush{platform::BrushStyle::Hollow, 0});
  c.setTextColour(kTitleColour);
  c.text(Point{10, 10}, kTitle);
  c.rectangle(Rect{client.left, client.top + 50, client.right, client.bottom - 1});
  c.setBrush(platform::Brush{platform::BrushStyle::Solid, platform::rgb(255, 255, 255)});
  const int centre = (client.right - client.left) / 2;

  // Kind 4 hangs beside the string and kind 0 is not drawn: neither adds to its length.
  float length = 0;
  for (const auto& e : tools)
    if (e.kind() != 4 && e.kind() != 0) length += e.lengthCm;
  largest_ = static_cast<int>(std::trunc(length)) + 20 + 60 - client.bottom;
  if (scroll_ < 0) scroll_ = 0;
  if (length <= static_cast<float>(client.bottom - 60)) scroll_ = 0;
  else if (scroll_ > largest_) scroll_ = largest_;
  int y = 60 - scroll_;

  const int t = c.textExtent("A").width;
  c.setTextColour(kTextColour);
  const int h0 = halfWidth(tools.front());
  c.line(Point{centre + h0 + 5, y}, Point{centre + h0 + 15, y});
  c.text(Point{centre + h0 + 15, y - t}, presentation::numberText(length, 1));
  float remaining = length;

  for (const auto& e : tools) {
    if (e.kind() == 0) continue;
    const int h = halfWidth(e);
    const int left = centre - h, right = centre + h, top = y;
    const int bottom = y + static_cast<int>(std::trunc(e.lengthCm));
    y = bottom;
    c.setTextColour(kTextColour);
    c.line(Point{right + 5, bottom}, Point{right + 15, bottom});
    remaining -= e.lengthCm;
    c.text(Point{right + 15, bottom - t}, presentation::numberText(remaining, 1));
    c.text(Point{5, top - t}, e.name);
    if (e.serial() != 0) {
      char sn[32];
      std::snprintf(sn, sizeof sn, "SN %3.3u", e.serial());
      platform::Font small;
      small.family = font.family;
      small.height = 10;
      small.width = 5;
      small.weight = 400;
      c.setFont(small);
      c.setTextColour(kSerialColour);
      c.text(Point{5, top + t}, sn);
      c.setFont(font);
    }
    drawOutline(c, e, left, top, right, bottom, centre);
  }
}

void CTSViewer::drawOutline(platform::Canvas& c, const records::ToolEntry& e, int left, int top, int right,
                            int bottom, int centre) {
  const int w = right - left, k = bottom - top;
  switch (e.kind()) {
    case 1: {
      const std::uint8_t code = e.code();
      if (code == records::kTarnB && e.name == "TARNB-FSK") {
        const int a = 4 * k / 10, cc = k / 2, d = a / 16, ee = a + 2 * d, q = w / 4;
        box(c, left, top, right, top + a);
        c.polyline({{right - 1, top + a}, {right - 1 + q, top + a + d}, {right - 1 + q, top + ee}});
        c.polyline({{left, top + a}, {left - q, top + a + d}, {left - q, top + ee}});
        box(c, left - q, top + ee, right + q, top + ee + cc);
        c.line({right - 1 + q, top + ee + cc}, {right - 1, bottom});
        c.polyline({{left - q, top + ee + cc}, {left, bottom}, {right, bottom}});
      } else if (code == records::kTarnB) {
        const int a = 6 * k / 10, cc = 3 * k / 10, q = w / 8;
        box(c, left, top, right, top + a);
        box(c, left - q, top + a, right + q, top + a + cc);
        c.line({right - 1 + q, top + a + cc}, {right - 1, bottom});
        c.polyline({{left - q, top + a + cc}, {left, bottom}, {right, bottom}});
      } else if ((code == records::kDune && e.name == "DUNE-ROLA") || (code == records::kHavo && e.name == "HAVO")) {
        const int a = 4 * k / 10, cc = 2 * k / 10, q = w / 8;
        box(c, left, top, right, top + a);
        box(c, left + 2 * q, top + a, right - 2 * q, top + a + cc);
        box(c, left, top + a + cc, right, top + a + cc + k / 10);
        const Rect springs{left - 5 * q, top + a, right + 5 * q, bottom};
        c.arc(springs, {left + q / 4, top + a}, {left + q / 4, bottom});
        c.arc(springs, {right - q / 4, bottom}, {right - q / 4, top + a});
      } else if (code == records::kDune && e.name == "DUNE-PIKE") {
        const int a = 5 * k / 10, cc = 2 * k / 10, q = w / 8;
        box(c, left, top, right, top + a);
        box(c, left, top + a, right, bottom);
        box(c, left + 2 * q, top + a, right - 2 * q, top + a + cc);
        box(c, left + q, top + a + cc, right - q, top + a + cc + k / 10);
      } else if (code == records::kDune || code == records::kHavo) {
        // no outline
      } else {
        box(c, left, top, right, bottom);
      }
      break;
    }
    case 2:
      c.polyline({{centre, top}, {centre, top + 3}, {left, top + 6}});
      c.line({centre, top + 3}, {right, top + 6});
      box(c, left, top + 6, right, bottom);
      break;
    case 3: box(c, left, top, right, bottom); break;
    case 4: {
      const int m = left + w / 2;
      c.polyline({{m, top}, {m - 2 * w, top + k / 2}, {m, bottom}, {m + 2 * w, top + k / 2}, {m, top}});
      break;
    }
    case 5: c.polyline({{left, top}, {centre, bottom}, {right - 1, top}, {left, top}}); break;
    case 6: {
      box(c, left, top, right, top + k / 4);
      box(c, left + w / 4, top + k / 4, right - w / 4, top + 3 * k / 4);
      box(c, left, top + 3 * k / 4, right, bottom);
      const Rect springs{left - 3 * w, top + k / 4, right + 3 * w, top + 3 * k / 4};
      c.arc(springs, {left + w / 4, top + k / 4}, {left + w / 4, top + 3 * k / 4});
      c.arc(springs, {right - w / 4, top + 3 * k / 4}, {right - w / 4, top + k / 4});
      break;
    }
    case 7: {
      box(c, left, top, right, top + k / 6);
      box(c, left + w / 4, top + k / 6, right - w / 4, top + 5 * k / 6);
      box(c, left, top + 5 * k / 6, right, bottom);
      std::vector<Point> zig{{left, top + k / 6}};
      for (int i = 3; i <= 10; ++i) zig.push_back({(i % 2) ? right : left, top + i * k / 12});
      c.polyline(zig);
      break;
    }
    default: break;
  }
}

}  // namespace kvr
