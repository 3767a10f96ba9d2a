#pragma once
#include "toolslib/FamilyBase.h"

namespace tools {

// FYRD three-arm caliper: CAL1..CAL3 are the arm radii. Its calibration list exists but
// it has no calibration procedure.
class Fyrd final : public FamilyBase {
 public:
  explicit Fyrd(Globals& globals);
  enum Param : std::size_t { kArmOffset, kArmScale, kArms, kParamCount };

 protected:
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
};

}  // namespace tools
