#include "common/presentation/LogWindowLayout.h"

#include <algorithm>
#include <climits>

namespace presentation {

LogWindowLayout LogWindowLayout::make(const platform::Rect& client, const CFormat& format, int step) {
  LogWindowLayout l;
  l.client = client;
  l.step = step == 0 ? -1 : step;
  int minLeft = format.tracks.empty() ? client.left : INT_MAX;
  int widths = 0;
  for (const auto& t : format.tracks) {
    minLeft = std::min(minLeft, t.left);
    widths += t.width;
  }
  const int hx0 = minLeft, hx1 = minLeft + widths + 2;
  // A window narrower than the header box gets a header box as wide as itself.
  const int headerRight = client.left + std::min(kHeaderWidth, client.right - client.left);
  if (l.up()) {
    l.header = {client.left, client.bottom - kHeaderHeight, headerRight, client.bottom};
    l.headings = {hx0, l.header.top - kHeadingHeight, hx1, l.header.top};
    l.plot = {client.left, client.top, client.right, std::max(client.top, l.headings.top)};
    l.rowY = client.top + kRowInset;
  } else {
    l.header = {client.left, client.top, headerRight, client.top + kHeaderHeight};
    l.headings = {hx0, l.header.bottom, hx1, l.header.bottom + kHeadingHeight};
    l.plot = {client.left, std::min(client.bottom, l.headings.bottom), client.right, client.bottom};
    l.rowY = client.bottom - kRowInset;
  }
  return l;
}

int LogWindowLayout::rowsThatFit() const {
  const int s = step > 0 ? step : -step;
  const int room = up() ? plot.bottom - 1 - rowY : rowY - plot.top;
  return room < 0 ? 0 : room / s + 1;
}

int LogWindowLayout::headingTop(const CCurve& c, int scrollOffset) const {
  return up() ? headings.top - scrollOffset + c.labelPosition
              : headings.bottom + scrollOffset - c.labelPosition - c.labelHeight;
}

int LogWindowLayout::headingScrollLimit(const CFormat& format) {
  int limit = 0;
  for (const auto& t : format.tracks) {
    int extent = 0;
    for (const auto& c : t.curves)
      if (c.enabled) extent = c.labelPosition + c.labelHeight;
    limit = std::max(limit, extent);
  }
  return limit;
}

platform::Size LogWindowLayout::allowedSize(platform::Size wanted) {
  return {std::clamp(wanted.width, kMinWidth, kWidth), std::max(wanted.height, kMinHeight)};
}

}  // namespace presentation
