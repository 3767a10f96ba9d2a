// SEVO: two points of a pressure bath give the gauge's scale and offset.
#include <cmath>

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
  return cal::changeParameter(p.at(kPressureScale), scale, accepted, 6) +
         cal::changeParameter(p.at(kPressureOffset), offset, accepted);
}

}  // namespace tools
