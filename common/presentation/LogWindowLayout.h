#pragma once
// The rectangles of KVR's log window and where its rows and heading boxes go.

#include "common/presentation/Format.h"
#include "platform/Geometry.h"

namespace presentation {

struct LogWindowLayout {
  static constexpr int kWidth = 785, kHeight = 400, kMinWidth = 480, kMinHeight = 100;
  static constexpr int kHeaderWidth = 750, kHeaderHeight = 60, kHeadingHeight = 80, kRowInset = 12;

  platform::Rect client, header, headings, plot;
  int rowY = 0;   // the newest row
  int step = -2;  // signed: positive when logging up (new rows at the top)

  bool up() const { return step > 0; }
  // Down logs: header at the top, headings below it, rows at the bottom moving up.
  // Up logs: header at the bottom, headings above it, rows at the top moving down.
  static LogWindowLayout make(const platform::Rect& client, const CFormat& format, int step);
  // The y of the row j rows older than the newest.
  int rowAt(int rowsBack) const { return rowY + rowsBack * step; }
  // Rows that fit between the newest row and the far edge of the plot.
  int rowsThatFit() const;
  // Top of a curve's heading box for a heading scroll offset.
  int headingTop(const CCurve& curve, int scrollOffset) const;
  // The heading scroll offset runs from 0 to this.
  static int headingScrollLimit(const CFormat& format);
  // A window size as it is allowed: at most 785 wide, at least 100 high.
  static platform::Size allowedSize(platform::Size wanted);
};

}  // namespace presentation
