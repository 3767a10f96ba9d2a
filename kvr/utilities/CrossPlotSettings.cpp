#include "kvr/utilities/CrossPlotSettings.h"

#include <algorithm>

namespace kvr::utilities {

namespace {
constexpr const char* kEastTitle = "East Departure   << W - E >>";
constexpr const char* kNorthTitle = "North Departure   << S - N >>";
constexpr const char* kNorthTitleNdEd = "North Departure   << N - S >>";
constexpr const char* kTvdTitle = "TVD Depth";
constexpr const char* kClosureTitle = "Closure";

AxisRange rangeOf(const PathTable& rows, float PathRow::*field) {
  AxisRange r;
  for (const auto& row : rows) {
    r.start = std::min(r.start, static_cast<double>(row.*field));
    r.final = std::max(r.final, static_cast<double>(row.*field));
  }
  return r;
}
}  // namespace

void setAutomaticRanges(PlotSettings& settings, const PathTable& rows) {
  settings.east = rangeOf(rows, &PathRow::ew);
  settings.north = rangeOf(rows, &PathRow::ns);
  settings.depth = rangeOf(rows, &PathRow::tvd);
  settings.horizontalGrid = 10;
  settings.verticalGrid = 100;
}

PlotAxes axesOf(const PlotSettings& s) {
  switch (s.kind) {
    case PlotKind::NdEd:
      return {s.east, s.north, kEastTitle, s.invertVertical ? kNorthTitle : kNorthTitleNdEd};
    case PlotKind::NdTvd:
      return {s.north, s.depth, kNorthTitle, kTvdTitle};
    case PlotKind::EdTvd:
      return {s.east, s.depth, kEastTitle, kTvdTitle};
    case PlotKind::ClosureTvd:
      return {s.east, s.depth, kClosureTitle, kTvdTitle};
  }
  return {s.east, s.north, kEastTitle, kNorthTitleNdEd};
}

void plotValues(PlotKind kind, const PathRow& row, double& x, double& y) {
  switch (kind) {
    case PlotKind::NdEd: x = row.ew; y = row.ns; return;
    case PlotKind::NdTvd: x = row.ns; y = row.tvd; return;
    case PlotKind::EdTvd: x = row.ew; y = row.tvd; return;
    case PlotKind::ClosureTvd: x = closure(row); y = row.tvd; return;
  }
  x = row.ew;
  y = row.ns;
}

}  // namespace kvr::utilities
