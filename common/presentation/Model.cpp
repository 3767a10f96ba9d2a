#include <algorithm>
#include <cmath>

#include "common/presentation/Format.h"

namespace presentation {

platform::PenStyle penStyle(LineType type) {
  switch (type) {
    case LineType::Dash: return platform::PenStyle::Dash;
    case LineType::Dotted: return platform::PenStyle::Dot;
    case LineType::DashDot: return platform::PenStyle::DashDot;
    case LineType::DashDotDot: return platform::PenStyle::DashDotDot;
    case LineType::Solid: break;
  }
  return platform::PenStyle::Solid;
}

platform::Pen CCurve::pen() const { return platform::Pen{penStyle(lineType), thickness, colour}; }

bool CColumn::hasEnabledCurve() const {
  return std::any_of(curves.begin(), curves.end(), [](const CCurve& c) { return c.enabled; });
}

void computeLogTicks(CColumn& track) {
  // log10 of 2..9, 10, 20..90 as the grid has always used them.
  static constexpr double kLog[17] = {0.30103, 0.47712, 0.60206, 0.69897, 0.77815, 0.8451,
                                      0.90309, 0.95424, 1.0,     1.30103, 1.47712, 1.60206,
                                      1.69897, 1.77815, 1.8451,  1.90309, 1.95424};
  if (track.startDecade < 1 || track.startDecade > 9) track.startDecade = 1;
  const int decades = std::max(track.decades, 1);
  const double w = static_cast<double>(track.width) / decades * (track.leftToRight ? 1 : -1);
  auto tick = [&](int k) { return static_cast<int>(w * kLog[k]); };  // k = 0 is v = 2
  track.logOrigin = track.leftToRight ? track.left : track.left + track.width;
  track.logDecadeStep = (track.width / decades) * (track.leftToRight ? 1 : -1);
  const int s = track.startDecade;
  for (int j = 0; j < 9; ++j) {
    // s = 1: T(2)..T(10); s >= 2: the nine values after s, each less T(s).
    track.logTicks[static_cast<std::size_t>(j)] = s == 1 ? tick(j) : tick(s - 1 + j) - tick(s - 2);
  }
}

int CFormat::enabledCurveCount() const {
  int n = 0;
  for (const auto& t : tracks)
    for (const auto& c : t.curves) n += c.enabled ? 1 : 0;
  return n;
}

void stackLabels(CFormat& format) { stackLabels(format, 0); }

int stackLabels(CFormat& format, int running) {
  for (auto& track : format.tracks) {
    if (!track.overlap) running = 0;
    for (std::size_t i = 0; i < track.curves.size(); ++i) {
      auto& c = track.curves[i];
      c.labelPosition = i == 0 ? running : track.curves[i - 1].labelPosition + track.curves[i - 1].labelHeight;
      running += c.labelHeight;
    }
  }
  return running;
}

void sanitize(CColumn& track) {
  track.divisions = std::clamp(track.divisions, 1, 100);
  track.decades = std::clamp(track.decades, 1, 10);
  if (track.startDecade < 1 || track.startDecade > 9) track.startDecade = 1;
  track.width = std::clamp(track.width, 0, 100000);
  track.left = std::clamp(track.left, -100000, 100000);
}

void sanitize(CCurve& curve) {
  curve.labelHeight = std::clamp(curve.labelHeight, 0, 10000);
  curve.thickness = std::clamp(curve.thickness, 0, 1000);
  if (static_cast<std::uint32_t>(curve.lineType) > 4) curve.lineType = LineType::Solid;
  if (!std::isfinite(curve.leftValue)) curve.leftValue = -1.0f;
  if (!std::isfinite(curve.rightValue)) curve.rightValue = 1.0f;
  if (curve.name.size() > kCurveNameMax) curve.name.resize(kCurveNameMax);
  if (curve.description.size() > kDescriptionMax) curve.description.resize(kDescriptionMax);
}

}  // namespace presentation
