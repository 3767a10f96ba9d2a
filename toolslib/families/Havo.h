#pragma once
#include "toolslib/DepthOffsetFamily.h"

namespace tools {

// HAVO capacitance holdup on bow springs. HOLDUP is the water fraction in per cent,
// interpolated between the probe frequencies in oil and in water; HCAL the spring caliper.
class Havo final : public DepthOffsetFamily {
 public:
  explicit Havo(Globals& globals);
  enum Param : std::size_t { kWaterFrequency, kOilFrequency, kCaliperOffset, kMeasurePoint, kSampleRate, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeSensors(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
