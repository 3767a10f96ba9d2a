#pragma once
// The parameters that make the one track drawing serve both the KVR log window (screen
// pixels, y down) and Pagemill's paper and viewer (page units, paper y up).

#include "common/presentation/Format.h"
#include "platform/Canvas.h"

namespace presentation {

struct DepthIntervals {
  int thin = 2, medium = 10, thick = 50;  // whole depth units
  friend bool operator==(const DepthIntervals&, const DepthIntervals&) = default;
};

enum class DepthRounding { Floor, Ceiling };

// A text position relative to a heading box: y = edge + halfHeights x (height / 2) + offset.
struct TextAnchor {
  int halfHeights = 0;
  int offset = 0;
  unsigned align = platform::AlignLeft | platform::AlignTop;
};

struct DepthNumberRules {
  int every = 25;        // integer depths printed: multiples of this
  int largeEvery = 25;   // of those, in the large font: multiples of this; the rest small
  platform::Rgb colour = 0;
  platform::Font large, small;
  int dx = 3;            // from the track's left edge
  int dyLarge = -8, dySmall = -8;  // from the row y
  unsigned align = platform::AlignLeft | platform::AlignTop;
};

struct HeadingStyle {
  platform::Pen boxPen;
  bool fillBox = false;
  platform::Rgb boxFill = 0xFFFFFF;
  platform::Font font;
  int sampleInsetLeft = 2, sampleInsetRight = 1;
  int valueInsetLeft = 2, valueInsetRight = 0;
  TextAnchor description{0, 0, platform::AlignCenter | platform::AlignTop};
  TextAnchor units{1, 0, platform::AlignCenter | platform::AlignTop};
  TextAnchor values{1, 0, platform::AlignTop};
};

struct RenderRules {
  platform::Pen thin{platform::PenStyle::Solid, 1, 0};
  platform::Pen medium{platform::PenStyle::Solid, 2, 0};
  platform::Pen thick{platform::PenStyle::Solid, 3, 0};
  DepthIntervals intervals;
  DepthRounding rounding = DepthRounding::Floor;
  DepthNumberRules numbers;
  HeadingStyle heading;
};

// --- KVR's log window ---------------------------------------------------------------

DepthIntervals screenIntervals(int scale, bool english);
// Signed row height in pixels: positive when logging up.
int screenStep(int scale, bool english, int modeWord, bool loggingUp);
RenderRules screenRules(const CFormat& format, bool loggingUp);

// --- Pagemill -----------------------------------------------------------------------

// The log width K in page units (0.001 inch English, 0.01 mm Metric) for KVR's 750 pixels.
int paperLogWidth(bool englishPageMode);
// Row height in page units for one value record, by the format's unit flag.
int paperRowHeight(int scale, bool englishFormat);
DepthIntervals paperIntervals(int scale, bool englishFormat);
// Track widths and left positions, label heights and thicknesses from KVR pixels to page
// units (x K / 750, truncated); label positions and log ticks follow.
void toPageUnits(CFormat& format, int logWidth);
// viewer: Pagemill's on-screen viewer, y down; otherwise paper, y up.
RenderRules paperRules(const CFormat& format, bool englishPageMode, bool recordedUp, bool viewer);

}  // namespace presentation
