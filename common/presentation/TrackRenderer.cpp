#include "common/presentation/TrackRenderer.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/presentation/NumberText.h"

namespace presentation {

namespace {

int truncated(double d) {
  if (!(d == d)) return 0;
  return static_cast<int>(std::clamp(d, -1.0e7, 1.0e7));
}

// Scale values are single-precision: 0.2f is a hair above 0.2, which must not cost a
// whole pixel when the exact position is an integer.
int toPixels(double d) { return truncated(d + (d >= 0 ? 1e-6 : -1e-6)); }

bool multipleOf(int value, int interval) { return interval > 0 && value % interval == 0; }

}  // namespace

void TrackRenderer::restart(CFormat& format) {
  firstRow_ = true;
  for (auto& t : format.tracks) t.lastDepth = kNoDepth;
}

int TrackRenderer::integerDepth(float depth) const {
  const double d = rules_.rounding == DepthRounding::Ceiling ? std::ceil(depth) : std::floor(depth);
  return truncated(d);
}

int curveOffset(const CColumn& track, CCurve& curve, float value) {
  const double lo = std::min(curve.leftValue, curve.rightValue);
  const double hi = std::max(curve.leftValue, curve.rightValue);
  const double w = track.width;
  const double v = value;
  if (track.mode == TrackMode::Logarithmic) {
    // A scale that starts at or below zero has no logarithm; its floor is the smallest
    // float, so such values end at the left border.
    const double floorValue = 1.0e-38;
    const double l = std::max(lo, floorValue), r = std::max(hi, floorValue);
    const double c = std::clamp(v, l, r);
    const double decades = std::max(track.decades, 1);
    const double d = track.leftToRight ? (std::log10(c) - std::log10(l)) / decades * w
                                       : (std::log10(r) - std::log10(c)) / decades * w;
    return toPixels(std::clamp(d, 0.0, w));
  }
  const double range = hi - lo;
  if (!(range > 0)) return 0;  // equal scale values: the left border
  // The wrap count moves the least that brings the value inside [lo + k r, hi + k r].
  double k = curve.wrap;
  if (v > hi + k * range) k = std::ceil((v - hi) / range);
  else if (v < lo + k * range) k = std::floor((v - lo) / range);
  k = std::clamp(k, -1.0e6, 1.0e6);
  curve.wrap = static_cast<int>(k);
  return toPixels((v - k * range - lo) / range * w);
}

void TrackRenderer::drawRow(platform::Canvas& canvas, CFormat& format, std::span<const float> record, int rowY,
                            int prevY) {
  if (record.empty()) return;
  const int depth = integerDepth(record[0]);
  std::size_t entry = 1;
  for (auto& track : format.tracks) {
    gridRow(canvas, track, depth, rowY, prevY);
    for (auto& curve : track.curves) {
      if (!curve.enabled) continue;
      const float value = entry < record.size() ? record[entry] : kMissingValue;
      ++entry;
      curvePoint(canvas, track, curve, value, rowY, prevY);
    }
  }
  firstRow_ = false;
}

bool TrackRenderer::firstRowGetsGrid(float depth) {
  if (!std::isfinite(depth)) return false;
  const double d = depth;
  const double whole = std::floor(d);
  if (whole < -1.0e7 || whole > 1.0e7) return false;
  return static_cast<long long>(whole) % 50 == 0 && d - whole < 0.1;
}

void TrackRenderer::drawFirstPaperRow(platform::Canvas& canvas, CFormat& format, std::span<const float> record,
                                      int rowY) {
  if (record.empty()) return;
  const int depth = integerDepth(record[0]);
  const bool grid = firstRowGetsGrid(record[0]);
  firstRow_ = !grid;
  for (auto& track : format.tracks) {
    if (grid) gridRow(canvas, track, depth, rowY, rowY);
    else track.lastDepth = depth;
  }
  firstRow_ = true;
  std::size_t entry = 1;
  for (auto& track : format.tracks)
    for (auto& curve : track.curves) {
      if (!curve.enabled) continue;
      const float value = entry < record.size() ? record[entry] : kMissingValue;
      ++entry;
      curvePoint(canvas, track, curve, value, rowY, rowY);
    }
  firstRow_ = false;
}

void TrackRenderer::gridRow(platform::Canvas& c, CColumn& t, int depth, int rowY, int prevY) {
  const int x = t.left, w = t.width;
  c.setPen(rules_.thick);
  vertical(c, x, rowY, prevY);
  switch (t.mode) {
    case TrackMode::Linear: {
      const int d = std::max(t.divisions, 1);
      const int middle = d % 2 == 0 ? d / 2 : -1;
      c.setPen(rules_.thin);
      for (int i = 1; i < d; ++i) {
        if (i == middle) continue;
        vertical(c, x + (w / d) * i, rowY, prevY);
      }
      if (middle > 0) {
        c.setPen(t.midThick ? rules_.medium : rules_.thin);
        vertical(c, x + (w / d) * middle, rowY, prevY);
      }
      depthLine(c, t, depth, rowY);
      break;
    }
    case TrackMode::Logarithmic:
      c.setPen(rules_.thin);
      for (int i = 0; i < t.decades; ++i)
        for (int tick : t.logTicks) vertical(c, t.logOrigin + i * t.logDecadeStep + tick, rowY, prevY);
      depthLine(c, t, depth, rowY);
      break;
    case TrackMode::Depth:
      depthNumbers(c, t, depth, rowY);
      break;
  }
  c.setPen(rules_.thick);
  vertical(c, x + w, rowY, prevY);
}

void TrackRenderer::depthLine(platform::Canvas& c, CColumn& t, int depth, int rowY) {
  if (depth != t.lastDepth && !firstRow_) {
    const auto& iv = rules_.intervals;
    const platform::Pen* pen = multipleOf(depth, iv.thick)    ? &rules_.thick
                               : multipleOf(depth, iv.medium) ? &rules_.medium
                               : multipleOf(depth, iv.thin)   ? &rules_.thin
                                                              : nullptr;
    if (pen) {
      c.setPen(*pen);
      c.line({t.left, rowY}, {t.left + t.width, rowY});
    }
  }
  t.lastDepth = depth;
}

void TrackRenderer::depthNumbers(platform::Canvas& c, CColumn& t, int depth, int rowY) {
  const auto& n = rules_.numbers;
  if (!multipleOf(depth, n.every)) {
    t.lastDepth = kNoDepth;
    return;
  }
  // A depth is numbered once, however many rows share it.
  if (depth == t.lastDepth) return;
  const bool large = multipleOf(depth, n.largeEvery);
  c.setFont(large ? n.large : n.small);
  c.setTextColour(n.colour);
  c.setBackground(false, 0xFFFFFF);
  c.text({t.left + n.dx, rowY + (large ? n.dyLarge : n.dySmall)}, std::to_string(depth), n.align);
  t.lastDepth = depth;
}

void TrackRenderer::curvePoint(platform::Canvas& c, const CColumn& t, CCurve& curve, float value, int rowY,
                               int prevY) {
  if (value == kMissingValue || std::isnan(value)) {
    curve.prevY = rowY;
    return;
  }
  c.setPen(curve.pen());
  const bool reversed = curve.reverse || curve.leftValue > curve.rightValue;
  const int wrapBefore = curve.wrap;
  const int d = curveOffset(t, curve, value);
  const int x = reversed ? t.left + t.width - d : t.left + d;
  if (!firstRow_) {
    platform::Point from{curve.prevX, prevY};
    if (t.mode != TrackMode::Logarithmic && curve.wrap != wrapBefore) {
      // Leave by the border the value crossed and come back in at the opposite one.
      const bool grew = curve.wrap > wrapBefore;
      const bool rightSide = grew != reversed;
      const int exitX = rightSide ? t.left + t.width : t.left;
      const int enterX = rightSide ? t.left : t.left + t.width;
      const platform::Point mid{exitX, rowY + (prevY - rowY) / 2};
      c.line(from, mid);
      from = {enterX, rowY};
    }
    c.line(from, {x, rowY});
  }
  curve.prevX = x;
  curve.prevY = rowY;
}

void TrackRenderer::drawHeading(platform::Canvas& c, const CColumn& track, const CCurve& curve, int edgeY) {
  const auto& s = rules_.heading;
  const int x = track.left, w = track.width, h = curve.labelHeight;
  const platform::Rect box{x, edgeY, x + w + 2, edgeY + h};
  if (s.fillBox) c.fillRect(box, s.boxFill);
  c.setPen(s.boxPen);
  c.setBrush(platform::Brush{});
  c.rectangle(box);
  c.setPen(curve.pen());
  c.line({x + s.sampleInsetLeft, edgeY + h / 2}, {x + w - s.sampleInsetRight, edgeY + h / 2});
  c.setFont(s.font);
  c.setTextColour(curve.colour);
  c.setBackground(false, 0xFFFFFF);
  auto at = [&](const TextAnchor& a) { return edgeY + a.halfHeights * (h / 2) + a.offset; };
  c.text({x + w / 2, at(s.description)}, curve.description + " (" + curve.name + ")", s.description.align);
  c.text({x + w / 2, at(s.units)}, curve.units, s.units.align);
  const unsigned vertical = s.values.align & ~static_cast<unsigned>(platform::AlignCenter);
  c.text({x + s.valueInsetLeft, at(s.values)}, numberText(curve.shownLeft()), platform::AlignLeft | vertical);
  c.text({x + w - s.valueInsetRight, at(s.values)}, numberText(curve.shownRight()), platform::AlignRight | vertical);
}

}  // namespace presentation
