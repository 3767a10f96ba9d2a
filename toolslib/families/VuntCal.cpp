// VUNT: the memory gauge against a reference pressure; a check for the report.
#include <cmath>
#include <cstdio>

#include "toolslib/families/Vunt.h"
#include "toolslib/wire/VuntWire.h"

namespace tools {

namespace {
constexpr double kReferencePsi = 3000.0;
constexpr double kLimitPsi = 1.5;
}  // namespace

std::vector<const char*> Vunt::calibrationNames() const { return {"Read Gauge Calibration", "Reference Pressure"}; }

const cal::ReferencePlan* Vunt::referencePlan() const {
  static const cal::ReferencePlan plan{{{"Put the gauge in the dead-weight tester at 3000 PSI and press OK."}},
                                       {wire::vunt::kPressure}, {"PRES"}, "PSI"};
  return &plan;
}

std::string Vunt::acceptReference(const cal::ReferenceResult& r, bool) {
  const double error = r.mean.at(0).at(0) - kReferencePsi;
  char s[160];
  std::snprintf(s, sizeof s, "Reference %.3f PSI, gauge error %+.3f PSI: %s\n", kReferencePsi, error,
                std::fabs(error) <= kLimitPsi ? "within limits" : "OUT OF LIMITS");
  return s;
}

}  // namespace tools
