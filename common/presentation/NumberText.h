#pragma once
// The number text form of scale and monitor values: plain decimal, short, without a
// leading zero ("150", "-1", ".25", "-.5", ".050"). Used by the presentation file,
// the curve headings, the editors and the monitors.

#include <string>

namespace presentation {

std::string numberText(double value);
// The same form with another number of decimals (the tool string sketch uses 1).
std::string numberText(double value, int decimals);

}  // namespace presentation
