#pragma once
#include "toolslib/FamilyBase.h"

namespace tools {

// TARN-B two-axis gyro. RATEX/RATEY are the calibrated gyro rates, ACCX..ACCZ the
// accelerations, the RAW channels the sensor voltages; DEVI and HSTF follow from the
// accelerations (HSTF in the range parameter 11 selects), GTF is the gyro toolface of a
// near-vertical tool. Parameter 10 is the well latitude.
class TarnB final : public FamilyBase {
 public:
  explicit TarnB(Globals& globals);
  enum Param : std::size_t {
    kGyroOffsetX, kGyroOffsetY, kGyroGainX, kGyroGainY, kAccOffsetX, kAccOffsetY, kAccOffsetZ, kAccScale,
    kSampleRate, kLatitude, kToolfaceRange, kMotor, kParamCount
  };

  bool correctionTableActive() const override { return tableActive_; }
  void destroyCorrectionTable() override { tableActive_ = false; }
  // Set when a sensor correction table is loaded (the calibration work).
  void setCorrectionTableActive(bool active) { tableActive_ = active; }
  // TARN_B_RecomputeRaw: the calibrated values again from the row's raw voltages.
  bool recomputeRaw(std::span<float> block) override;

 protected:
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;

 private:
  bool tableActive_ = false;
};

}  // namespace tools
