#pragma once
#include "toolslib/DepthOffsetFamily.h"

namespace tools {

// SEVO quartz pressure and temperature. Besides the gauge readings it keeps the pressure
// gradient over a depth interval (from the depth the dispatch hands it) and the fluid
// density that gradient gives.
class Sevo final : public DepthOffsetFamily {
 public:
  explicit Sevo(Globals& globals);
  enum Param : std::size_t { kPressureOffset, kPressureScale, kTempOffset, kGradientInterval, kMeasurePoint, kSampleRate, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeSensors(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
  void resetState() override;

 private:
  bool haveAnchor_ = false;
  double anchorDepth_ = 0, anchorPsi_ = 0;
  double gradientPsi_ = 0;  // psi per depth unit
};

}  // namespace tools
