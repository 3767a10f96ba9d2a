#pragma once
#include "toolslib/DepthOffsetFamily.h"

namespace tools {

// DUNE spinner. SPINNER is the impeller speed in revolutions per second, negative when it
// turns backwards; PRATE the flow rate it gives above the stall threshold.
class Dune final : public DepthOffsetFamily {
 public:
  explicit Dune(Globals& globals);
  enum Param : std::size_t { kThreshold, kFlowConstant, kDirection, kMeasurePoint, kFilter, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeSensors(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
