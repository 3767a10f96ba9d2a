#pragma once
#include "toolslib/FamilyBase.h"

namespace tools {

// PLOV cable-head tension sub: DHTENS is the tension at the head, corrected by the offset
// and scale parameters. PLOV has no calibrations.
class Plov final : public FamilyBase {
 public:
  explicit Plov(Globals& globals);
  enum Param : std::size_t { kOffset, kScale, kParamCount };

 protected:
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
};

}  // namespace tools
