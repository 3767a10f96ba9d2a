#pragma once
#include "toolslib/DepthOffsetFamily.h"

namespace tools {

// BRIX collar locator. Channels CCL1..CCL4 are the four coil samples of the frame in counts
// (quiet baseline 127), BTEMP the electronics temperature.
class Brix final : public DepthOffsetFamily {
 public:
  explicit Brix(Globals& globals);
  enum Param : std::size_t { kGain, kFilter, kPolarity, kMeasurePoint, kTempOffset, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeSensors(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
