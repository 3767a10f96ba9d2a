#pragma once
#include "toolslib/DepthOffsetFamily.h"

namespace tools {

// QUIL gamma ray. GR in API units from the count rate above background, QCPS the count rate.
class Quil final : public DepthOffsetFamily {
 public:
  explicit Quil(Globals& globals);
  enum Param : std::size_t { kApiPerCps, kBackground, kHighVoltage, kMeasurePoint, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeSensors(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
