// DUNE: the spinner with no flow past it; its stall threshold goes above what it shows.
#include <algorithm>

#include "toolslib/families/Dune.h"
#include "toolslib/wire/DuneWire.h"

namespace tools {

std::vector<const char*> Dune::calibrationNames() const { return {"Read Stored Calibration", "Spinner Zero"}; }

const cal::ReferencePlan* Dune::referencePlan() const {
  static const cal::ReferencePlan plan{{{"Hold the tool still in still fluid (no flow) and press OK."}},
                                       {wire::dune::kSpin}, {"SPIN"}, "RPS"};
  return &plan;
}

std::string Dune::acceptReference(const cal::ReferenceResult& r, bool accepted) {
  const double next = std::max(0.05, r.mean.at(0).at(0) + 4 * r.noise.at(0).at(0));
  return cal::changeParameter(getParameterList().at(kThreshold), next, accepted);
}

}  // namespace tools
