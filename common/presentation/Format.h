#pragma once
// One log page: its tracks, its depth scale and its unit system.

#include <cstdint>
#include <string>
#include <vector>

#include "common/presentation/Column.h"

namespace presentation {

constexpr std::size_t kFormatNameMax = 79;

struct CFormat {
  std::string name;
  bool english = true;
  int scale = 200;   // depth scale denominator, 1/scale
  std::vector<CColumn> tracks;
  int curveCount = 0;

  int enabledCurveCount() const;
  // Entries of one value record: the depth and every enabled curve.
  int valuesPerRecord() const { return 1 + enabledCurveCount(); }
};

// Heading boxes: every curve's label position from the label heights, restarting at the
// top for each track without overlap and continuing below the tracks before it otherwise.
void stackLabels(CFormat& format);
// The same with the running total carried in and out, as a file read stacks across formats.
int stackLabels(CFormat& format, int running);

// Values that would break the drawing (no divisions, no decades, negative sizes) are
// brought into the ranges the editors allow.
void sanitize(CColumn& track);
void sanitize(CCurve& curve);

}  // namespace presentation
