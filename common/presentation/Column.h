#pragma once
// One track of a format: its grid and its curves, and the run-time state of its rows.

#include <array>
#include <cstdint>
#include <vector>

#include "common/presentation/Curve.h"

namespace presentation {

enum class TrackMode : std::uint8_t { Linear = 1, Logarithmic = 2, Depth = 3 };

constexpr int kNoDepth = -50000;

struct CColumn {
  std::uint32_t index = 0;
  TrackMode mode = TrackMode::Linear;
  int divisions = 10;
  bool midThick = true;
  int decades = 4;
  int startDecade = 1;
  bool leftToRight = true;
  int width = 400;
  int left = 0;
  bool overlap = false;
  std::vector<CCurve> curves;

  // Log tick table (logarithmic tracks), from computeLogTicks().
  std::array<int, 9> logTicks{};
  int logOrigin = 0;
  int logDecadeStep = 0;

  // Run-time state.
  int lastDepth = kNoDepth;

  bool hasEnabledCurve() const;
};

// Fills the log tick table, origin and decade step from width, decades, starting decade
// and direction. A starting decade outside 1..9 becomes 1.
void computeLogTicks(CColumn& track);

}  // namespace presentation
