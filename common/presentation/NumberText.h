#pragma once
// The number text form of scale and monitor values: plain decimal, short, without a
// leading zero ("150", "-1", ".25", "-.5", ".050"). Used by the presentation file,
// the curve headings, the editors and the monitors.

#include <string>

namespace presentation {

// decimals: 2 for scale values; the tool string sketch writes its lengths with 1.
std::string numberText(double value, int decimals = 2);

}  // namespace presentation
