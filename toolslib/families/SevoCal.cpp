// SEVO: two points of a pressure bath give the gauge's scale and offset.
#include <cmath>
#include <cstdio>

#include "toolslib/families/Sevo.h"
#include "toolslib/wire/SevoWire.h"

namespace tools {

namespace {
constexpr double kLowPsi = 14.696, kHighPsi = 5000.0;
}

std::vector<const char*> Sevo::calibrationNames() const { return {"Read Stored Calibration", "Two-Point Pressure"}; }

const cal::ReferencePlan* Sevo::referencePlan() const {
  static const cal::ReferencePlan plan{{{"Open the gauge to the air (14.696 PSI) and press OK."},
                                        {"Put the gauge in the pressure bath at 5000 PSI, then Continue."}},
                                       {wire::sevo::kPressure}, {"PRES"}, "PSI"};
  return &plan;
}

std::string Sevo::acceptReference(const cal::ReferenceResult& r, bool accepted) {
  const double low = r.mean.at(0).at(0), high = r.mean.at(1).at(0);
  if (std::fabs(high - low) < 1.0) return "The two points read the same pressure: nothing can be computed.\n";
  const double scale = (kHighPsi - kLowPsi) / (high - low);
  const double offset = kLowPsi - scale * low;
  auto& p = getParameterList();
  char s[200];
  std::snprintf(s, sizeof s, "PSCALE %.6f -> %.6f\nPOFF %.4f -> %.4f PSI\n", static_cast<double>(p.at(kPressureScale).value),
                scale, static_cast<double>(p.at(kPressureOffset).value), offset);
  if (accepted) {
    p.at(kPressureScale).value = static_cast<float>(scale);
    p.at(kPressureOffset).value = static_cast<float>(offset);
  }
  return s;
}

}  // namespace tools
