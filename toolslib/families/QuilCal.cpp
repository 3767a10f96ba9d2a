// QUIL: the detector's background without a source, then the field jig of known activity.
#include <cmath>

#include "toolslib/families/Quil.h"
#include "toolslib/wire/QuilWire.h"

namespace tools {

namespace {
constexpr double kJigApi = 150.0;
constexpr double kFramesPerSecond = 15.0;
}  // namespace

std::vector<const char*> Quil::calibrationNames() const { return {"Read Stored Calibration", "Two-Point Gamma"}; }

const cal::ReferencePlan* Quil::referencePlan() const {
  static const cal::ReferencePlan plan{{{"Keep every source away from the detector and press OK."},
                                        {"Fit the field jig (150 API) round the detector, then Continue."}},
                                       {wire::quil::kCounts}, {"COUNTS"}, "per frame", 90};
  return &plan;
}

std::string Quil::acceptReference(const cal::ReferenceResult& r, bool accepted) {
  const double background = r.mean.at(0).at(0) * kFramesPerSecond;
  const double jig = r.mean.at(1).at(0) * kFramesPerSecond;
  if (jig - background < 1.0) return "The jig reads no more than the background: nothing can be computed.\n";
  const double factor = kJigApi / (jig - background);
  auto& p = getParameterList();
  return cal::changeParameter(p.at(kBackground), background, accepted, 3) +
         cal::changeParameter(p.at(kApiPerCps), factor, accepted, 5);
}

}  // namespace tools
