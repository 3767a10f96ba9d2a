#include "common/presentation/RenderRules.h"

#include <cstdint>

namespace presentation {

using platform::AlignBottom;
using platform::AlignCenter;
using platform::AlignLeft;
using platform::AlignTop;

DepthIntervals screenIntervals(int scale, bool english) {
  switch (scale) {
    case 40: return {1, 5, 10};
    case 100: return {1, 5, 25};
    case 200: return english ? DepthIntervals{2, 10, 50} : DepthIntervals{1, 5, 25};
    case 500: return english ? DepthIntervals{5, 50, 100} : DepthIntervals{5, 25, 50};
    case 1000: return {10, 50, 100};
    default: return {};
  }
}

int screenStep(int scale, bool english, int modeWord, bool loggingUp) {
  int base = 1;
  switch (scale) {
    case 40: base = english ? 8 : 10; break;
    case 100: base = english ? 4 : 5; break;
    case 200: base = 2; break;
    default: base = 1; break;
  }
  const int factor = modeWord == 1 ? 4 : modeWord == 2 ? 3 : (modeWord == 5 || modeWord == 6) ? 2 : 1;
  const int step = base * factor;
  return loggingUp ? step : -step;
}

RenderRules screenRules(const CFormat& format, bool loggingUp) {
  RenderRules r;
  r.intervals = screenIntervals(format.scale, format.english);
  r.rounding = loggingUp ? DepthRounding::Ceiling : DepthRounding::Floor;
  r.numbers.every = 25;
  r.numbers.largeEvery = 25;
  r.numbers.colour = platform::rgb(100, 0, 200);
  r.numbers.large = platform::Font{"", platform::FontFamily::Swiss, 14, 0, 400};
  r.numbers.small = r.numbers.large;
  r.numbers.dx = 3;
  r.numbers.dyLarge = r.numbers.dySmall = -8;
  r.numbers.align = AlignLeft | AlignTop;
  r.heading.boxPen = r.thin;
  r.heading.font = platform::Font{"", platform::FontFamily::Swiss, 13, 0, 400};
  return r;
}

int paperLogWidth(bool englishPageMode) { return englishPageMode ? 8150 : 20700; }

int paperRowHeight(int scale, bool englishFormat) {
  if (scale <= 0) scale = 200;
  return englishFormat ? 12000 / scale / 4 : 100000 / scale / 10;
}

DepthIntervals paperIntervals(int scale, bool englishFormat) {
  switch (scale) {
    case 40:
    case 100: return englishFormat ? DepthIntervals{1, 5, 25} : DepthIntervals{1, 5, 10};
    case 200: return englishFormat ? DepthIntervals{2, 10, 50} : DepthIntervals{1, 5, 25};
    case 500: return {5, 10, 50};
    case 1000: return {10, 50, 100};
    default: return {};
  }
}

void toPageUnits(CFormat& format, int logWidth) {
  auto conv = [logWidth](int v) { return static_cast<int>(static_cast<std::int64_t>(v) * logWidth / 750); };
  for (auto& t : format.tracks) {
    t.width = conv(t.width);
    t.left = conv(t.left);
    for (auto& c : t.curves) {
      c.labelHeight = conv(c.labelHeight);
      c.thickness = conv(c.thickness);
    }
    if (t.mode == TrackMode::Logarithmic) computeLogTicks(t);
  }
  stackLabels(format);
}

RenderRules paperRules(const CFormat& format, bool englishPageMode, bool recordedUp, bool viewer) {
  const int k = paperLogWidth(englishPageMode);
  const bool e = format.english;
  RenderRules r;
  r.thin = {platform::PenStyle::Solid, 1, 0};
  r.medium = {platform::PenStyle::Solid, e ? 16 : 40, 0};
  r.thick = {platform::PenStyle::Solid, e ? 24 : 60, 0};
  r.intervals = paperIntervals(format.scale, e);
  r.rounding = DepthRounding::Floor;

  const int h = k / 55;
  const platform::Font large{"", platform::FontFamily::Swiss, h, h * 40 / 100, 400};
  const platform::Font small{"", platform::FontFamily::Swiss, h * 13 / 20, h * 40 / 100 * 13 / 20, 400};
  const int u = k / 1630;
  auto& n = r.numbers;
  n.every = 5;
  n.largeEvery = 25;
  n.colour = 0;
  n.large = large;
  n.small = small;
  n.dx = 6 * u;
  n.align = AlignLeft | AlignBottom;
  if (viewer) {
    n.dyLarge = (recordedUp ? 18 : 14) * u;
    n.dySmall = (recordedUp ? 6 : 5) * u;
  } else {
    n.dyLarge = -(recordedUp ? 13 : 10) * u;
    n.dySmall = -(recordedUp ? 4 : 3) * u;
  }

  const int v = k / 407;
  auto& hs = r.heading;
  hs.boxPen = r.medium;
  hs.fillBox = true;
  hs.boxFill = 0xFFFFFF;
  hs.font = large;
  hs.sampleInsetLeft = hs.sampleInsetRight = 30;
  hs.valueInsetLeft = hs.valueInsetRight = v;
  if (viewer) {
    hs.description = {0, v, AlignCenter | AlignTop};
    hs.units = {1, v, AlignCenter | AlignTop};
    hs.values = {1, v, AlignTop};
  } else {
    hs.description = {1, v, AlignCenter | AlignBottom};
    hs.units = {0, v, AlignCenter | AlignBottom};
    hs.values = {0, v, AlignBottom};
  }
  return r;
}

}  // namespace presentation
