// HAVO: the probe's frequency in water and in oil.
#include <cstdio>

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
  const double water = r.mean.at(0).at(0), oil = r.mean.at(1).at(0);
  char s[200];
  std::snprintf(s, sizeof s, "HWATER %.3f -> %.3f KHZ\nHOIL %.3f -> %.3f KHZ\n",
                static_cast<double>(p.at(kWaterFrequency).value), water, static_cast<double>(p.at(kOilFrequency).value),
                oil);
  if (accepted) {
    p.at(kWaterFrequency).value = static_cast<float>(water);
    p.at(kOilFrequency).value = static_cast<float>(oil);
  }
  return s;
}

}  // namespace tools
