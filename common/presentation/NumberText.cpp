#include "common/presentation/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace presentation {

namespace {

// Values that round to less than a tenth keep two significant digits: ".050", ".094".
std::string smallValue(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1e", std::fabs(value));  // "9.4e-02"
  const std::string digits{buf[0], buf[2]};
  const int exponent = std::atoi(buf + 4);  // negative here
  std::string out = value < 0 ? "-." : ".";
  for (int i = 0; i < -exponent - 1; ++i) out += '0';
  return out + digits;
}

}  // namespace

std::string numberText(double value, int decimals) {
  if (value == 0) return "0";
  char buf[400];
  if (!std::isfinite(value) || value > 1000000.0) {
    std::snprintf(buf, sizeof buf, "%.6g", value);
    return buf;
  }
  decimals = decimals < 1 ? 1 : decimals > 6 ? 6 : decimals;
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(value * scale) / scale;
  if (std::fabs(rounded) < 0.1) return smallValue(value);
  std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  std::string s = buf;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  // No zero before the point: "0.25" -> ".25", "-0.5" -> "-.5".
  if (s.rfind("0.", 0) == 0) s.erase(0, 1);
  else if (s.rfind("-0.", 0) == 0) s.erase(1, 1);
  return s;
}

}  // namespace presentation
