#pragma once
// The number text form of scale and monitor values: plain decimal, short, without a
// leading zero ("150", "-1", ".25", "-.5", ".050"). Used by the presentation file,
// the curve headings, the editors, the monitors and (with one decimal) the tool string sketch.

#include <string>

namespace presentation {

// decimals is 2 for scale values; the tool string sketch uses 1.
std::string numberText(double value, int decimals = 2);

}  // namespace presentation
