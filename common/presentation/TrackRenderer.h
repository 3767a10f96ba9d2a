#pragma once
// Draws the rows of a log onto a Canvas: each track's grid, depth lines and depth
// numbers and one segment of each enabled curve, and the curve heading boxes. The same
// code draws KVR's window and Pagemill's paper; RenderRules carry the differences.
//
// Rows are placed by the caller: rowY is the new row, prevY the row before it (their
// difference is the signed step). Vertical lines run from prevY to rowY.

#include <span>

#include "common/presentation/Format.h"
#include "common/presentation/RenderRules.h"
#include "platform/Canvas.h"

namespace presentation {

class TrackRenderer {
 public:
  explicit TrackRenderer(RenderRules rules) : rules_(std::move(rules)) {}
  const RenderRules& rules() const { return rules_; }

  // Before the first row after any (re)start: that row only sets the curve positions.
  void restart(CFormat& format);
  bool firstRow() const { return firstRow_; }

  // record: one value record, entry 0 the depth, then the enabled curves in order.
  void drawRow(platform::Canvas& canvas, CFormat& format, std::span<const float> record, int rowY, int prevY);
  int integerDepth(float depth) const;

  // Pagemill's first printed row: it only positions the curves, unless the depth lies
  // within 0.1 above a multiple of 50; then that row's grid (depth lines and numbers
  // included) is drawn too. Either way the tracks remember the row's integer depth, so
  // a depth line or number is never drawn at a later row of the same depth.
  void drawFirstPaperRow(platform::Canvas& canvas, CFormat& format, std::span<const float> record, int rowY);
  static bool firstRowGetsGrid(float depth);

  // One curve's heading box with its reference edge at edgeY (top on screen, lower edge on paper).
  void drawHeading(platform::Canvas& canvas, const CColumn& track, const CCurve& curve, int edgeY);

 private:
  void gridRow(platform::Canvas& c, CColumn& t, int depth, int rowY, int prevY);
  void depthLine(platform::Canvas& c, CColumn& t, int depth, int rowY);
  void depthNumbers(platform::Canvas& c, CColumn& t, int depth, int rowY);
  void curvePoint(platform::Canvas& c, const CColumn& t, CCurve& curve, float value, int rowY, int prevY);
  void vertical(platform::Canvas& c, int x, int rowY, int prevY) {
    if (rowY != prevY) c.line({x, prevY}, {x, rowY});
  }

  RenderRules rules_;
  bool firstRow_ = true;
};

// Where a curve value lands across its track, in whole units from the track's left edge
// (before the mirror of reversed curves); updates the curve's wrap count on linear and
// depth tracks.
int curveOffset(const CColumn& track, CCurve& curve, float value);

}  // namespace presentation
