#pragma once
#include "toolslib/FamilyBase.h"
#include "toolslib/calibration/SctTable.h"

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
  static constexpr std::size_t kTableColumns = 4;
  // Set when a sensor correction table is loaded (calibration 2).
  void setCorrectionTableActive(bool active) { tableActive_ = active && !table_.rows.empty(); }
  // TARN_B_RecomputeRaw: the calibrated values again from the row's raw voltages.
  bool recomputeRaw(std::span<float> block) override;

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  // 2: load a sensor correction table, 3: save it (TarnBCal.cpp).
  int executeOtherCal(unsigned calNumber, unsigned step, unsigned* status, char* text) override;
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;

 private:
  bool tableActive_ = false;
  // Gyro offsets X, Y and gains X, Y by gyro temperature, used while the table is active.
  cal::SctTable table_;
};

}  // namespace tools
