// BRIX: the collar locator's quiet baseline, the tool still, away from any casing collar.
#include <cmath>
#include <cstdio>

#include "toolslib/families/Brix.h"
#include "toolslib/wire/BrixWire.h"

namespace tools {

std::vector<const char*> Brix::calibrationNames() const { return {"Read Stored Calibration", "CCL Baseline"}; }

const cal::ReferencePlan* Brix::referencePlan() const {
  namespace w = wire::brix;
  static const cal::ReferencePlan plan{
      {{"Place the tool still on the rack, away from steel, and press OK."}},
      {w::kCcl1, w::kCcl2, w::kCcl3, w::kCcl4}, {"CCL1", "CCL2", "CCL3", "CCL4"}, "CNTS"};
  return &plan;
}

std::string Brix::acceptReference(const cal::ReferenceResult& r, bool) {
  // A check: the coil's quiet level has to sit at the middle of the counts.
  constexpr double kNominal = 127, kLimit = 6;
  double mean = 0;
  for (double m : r.mean.at(0)) mean += m / static_cast<double>(r.mean.at(0).size());
  char s[160];
  std::snprintf(s, sizeof s, "CCL baseline %.2f counts (nominal %.0f): %s\n", mean, kNominal,
                std::fabs(mean - kNominal) <= kLimit ? "within limits" : "OUT OF LIMITS");
  return s;
}

}  // namespace tools
