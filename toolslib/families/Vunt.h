#pragma once
#include <array>
#include <cstdint>

#include "toolslib/FamilyBase.h"
#include "toolslib/vunt/GaugeRecords.h"

namespace tools {

// VUNT memory gauge. Its channels show the live readings and the gauge status; the task
// panel works from the VUNT globals, which every frame updates. The payload chunks of the
// calibration record, the job table, the recording program and the data page halves are
// assembled into their globals, whose loaded flags and transfer status say when a block
// is whole.
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
  void resetState() override;

 private:
  void takePayload(int mode, std::size_t index, const std::uint8_t* payload, std::size_t n, bool last);
  std::size_t blockReceived_ = 0;  // bytes of the calibration, program or job table so far
  // The job table as it arrives: a chunk may end in the middle of a word.
  std::array<std::uint8_t, vunt::kJobTableWords * 2> jobTableBytes_{};
};

// Rewinds the write position of the page half being received, before it is asked again.
void ResetDataIndex(Globals& globals);

}  // namespace tools
