#include "common/presentation/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace presentation {

std::string numberText(double value, int decimals) {
  if (value == 0) return "0";
  char buf[64];
  if (!std::isfinite(value)) {
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
  }
  if (value > 1000000) {
    std::snprintf(buf, sizeof buf, "%g", value);
    return buf;
  }
  if (decimals < 1) decimals = 1;
  if (decimals > 6) decimals = 6;
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  const bool negative = value < 0;
  if (std::fabs(rounded) < 0.1) {
    // A point, the zeros after it and the first two significant digits, zeros kept.
    std::snprintf(buf, sizeof buf, "%.1e", std::fabs(value));  // "d.de-XX"
    const int exponent = std::atoi(buf + 4);
    std::string out = negative ? "-." : ".";
    for (int i = 0; i < -exponent - 1; ++i) out += '0';
    out += buf[0];
    out += buf[2];
    return out;
  }
  std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return s;
}

}  // namespace presentation
