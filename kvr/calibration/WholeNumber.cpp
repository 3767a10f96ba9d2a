#include "kvr/calibration/WholeNumber.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace kvr {

std::optional<double> wholeFiniteNumber(std::string_view text) {
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(v) || std::fabs(v) > 3.4e38) return std::nullopt;
  return v;
}

}  // namespace kvr
