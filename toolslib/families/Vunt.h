#pragma once
#include "toolslib/FamilyBase.h"

namespace tools {

// VUNT memory gauge. Its channels show the live readings and the gauge status; the task
// panel works from the VUNT globals, which every frame updates. The payload bytes of
// downloaded pages, calibration and job tables are assembled by the gauge download work.
class Vunt final : public FamilyBase {
 public:
  explicit Vunt(Globals& globals);
  enum Param : std::size_t { kGaugeSerial, kPressureRange, kBatteryWarning, kParamCount };

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  const cal::ReferencePlan* referencePlan() const override;
  std::string acceptReference(const cal::ReferenceResult& result, bool accepted) override;
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
