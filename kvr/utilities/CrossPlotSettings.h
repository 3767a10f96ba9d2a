#pragma once
// What the cross plot draws: the plot kind, the three value ranges, the grid spacings and
// the direction of the vertical scale.

#include "kvr/utilities/WellPath.h"

namespace kvr::utilities {

enum class PlotKind { NdEd, NdTvd, EdTvd, ClosureTvd };

struct AxisRange {
  double start = 0;
  double final = 0;
  friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

struct PlotSettings {
  PlotKind kind = PlotKind::NdEd;
  AxisRange east;   // also the closure range
  AxisRange north;
  AxisRange depth;
  double horizontalGrid = 10;
  double verticalGrid = 100;
  bool invertVertical = false;
  friend bool operator==(const PlotSettings&, const PlotSettings&) = default;
};

// Each range from the smallest to the largest value of the table, both including 0.
void setAutomaticRanges(PlotSettings& settings, const PathTable& rows);

// The ranges and values a plot kind puts on its two axes.
struct PlotAxes {
  AxisRange x;
  AxisRange y;
  const char* xTitle;
  const char* yTitle;
};
PlotAxes axesOf(const PlotSettings& settings);
// The (x, y) value pair of a row for a plot kind.
void plotValues(PlotKind kind, const PathRow& row, double& x, double& y);

}  // namespace kvr::utilities
