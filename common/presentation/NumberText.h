#pragma once
// The number text form of scale values, monitors and sketches: plain decimals without
// trailing zeros or a leading zero, small values by their first two significant digits.

#include <string>

namespace presentation {

// decimals is 2 for scale values; the tool string sketch uses 1.
std::string numberText(double value, int decimals = 2);

}  // namespace presentation
