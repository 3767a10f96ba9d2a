// HAVO: the probe's frequency in water and in oil.
#include "toolslib/families/Havo.h"
#include "toolslib/wire/HavoWire.h"

namespace tools {

std::vector<const char*> Havo::calibrationNames() const { return {"Read Stored Calibration", "Water And Oil Points"}; }

const cal::ReferencePlan* Havo::referencePlan() const {
  static const cal::ReferencePlan plan{{{"Put the probe in the water tank and press OK."},
                                        {"Put the probe in the oil tank, then Continue."}},
                                       {wire::havo::kFrequency}, {"HFREQ"}, "KHZ"};
  return &plan;
}

std::string Havo::acceptReference(const cal::ReferenceResult& r, bool accepted) {
  auto& p = getParameterList();
  return cal::changeParameter(p.at(kWaterFrequency), r.mean.at(0).at(0), accepted, 3) +
         cal::changeParameter(p.at(kOilFrequency), r.mean.at(1).at(0), accepted, 3);
}

}  // namespace tools
