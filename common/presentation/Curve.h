#pragma once
// One curve of a track: the channel it draws, its scale and its pen, and the run-time
// state the drawing keeps from row to row.

#include <cstdint>
#include <string>

#include "platform/Canvas.h"

namespace presentation {

enum class LineType : std::uint32_t { Solid = 0, Dash = 1, Dotted = 2, DashDot = 3, DashDotDot = 4 };

constexpr std::size_t kCurveNameMax = 11;
constexpr std::size_t kDescriptionMax = 79;
// A missing reading in the value stream; not drawn.
constexpr float kMissingValue = -100000000.0f;

struct CCurve {
  std::string name;                  // channel mnemonic
  std::uint32_t channelIndex = 0;    // from the file; rebound at the start of a log
  std::string description = "NoChannel";
  float leftValue = -1.0f;
  float rightValue = 1.0f;
  int labelHeight = 40;
  int labelPosition = 0;             // derived by label stacking
  LineType lineType = LineType::Solid;
  int thickness = 1;
  platform::Rgb colour = 0;          // red + 256 x green + 65536 x blue
  std::uint32_t trackIndex = 0;

  // Run-time state.
  bool enabled = true;
  bool reverse = false;
  int wrap = 0;
  std::string units;                 // "[units]" or empty
  int prevX = 0;
  int prevY = 0;

  platform::Pen pen() const;
  // The values shown at the left and right borders of the heading: for a reversed
  // (normalised) curve the higher value is at the left.
  float shownLeft() const { return reverse ? rightValue : leftValue; }
  float shownRight() const { return reverse ? leftValue : rightValue; }
};

platform::PenStyle penStyle(LineType type);

}  // namespace presentation
