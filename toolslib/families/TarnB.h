#pragma once
#include <array>

#include "toolslib/FamilyBase.h"
#include "toolslib/calibration/SctTable.h"

namespace tools {

// TARN-B two-axis gyro. RATEX/RATEY are the calibrated gyro rates, ACCX..ACCZ the
// accelerations, the RAW channels the sensor voltages; DEVI and HSTF follow from the
// accelerations (HSTF in the range parameter 11 selects), GTF is the gyro toolface of a
// near-vertical tool. Parameter 10 is the well latitude.
//
// The tool's axes: z along the tool pointing up-hole, x and y across it (right-handed).
// ACC* are the components of gravity (down) in g, RATE* of the earth's rotation in deg/h, so
// DEVI = acos(-ACCZ) and HSTF = atan2(-ACCY, -ACCX). The gyro model, with G the gain in
// earth rates per mV and D the gravity-sensitive coefficients in earth rates per g:
//   RATEX = 15.041 * (Gx * (RAWRATEGX - Ox) - DXx * ACCX - DXy * ACCY), Y alike.
class TarnB final : public FamilyBase {
 public:
  explicit TarnB(Globals& globals);
  enum Param : std::size_t {
    kGyroOffsetX, kGyroOffsetY, kGyroGainX, kGyroGainY, kAccOffsetX, kAccOffsetY, kAccOffsetZ, kAccScale,
    kSampleRate, kLatitude, kToolfaceRange, kMotor, kParamCount
  };

  bool correctionTableActive() const override { return tableActive_; }
  void destroyCorrectionTable() override { tableActive_ = false; }
  // A table row: offset X, offset Y, gain X, gain Y (deg/h per mV), and optionally the
  // gravity coefficients DXx, DXy, DYx, DYy (earth rates per g; 0 when a table has 4 columns).
  static constexpr std::size_t kTableColumns = 4;
  static constexpr std::size_t kTableColumnsWithGravity = 8;
  // Set when a sensor correction table is loaded (calibration 2).
  void setCorrectionTableActive(bool active) { tableActive_ = active && !table_.rows.empty(); }
  // TARN_B_RecomputeRaw: the calibrated values again from the row's raw voltages.
  bool recomputeRaw(std::span<float> block) override;

  // The calibration the tool is decoded with at a gyro temperature: the loaded table, or the
  // parameters without one. GetCorrected_Gyro_Offset: [0] X, [2] Y offset in mV.
  std::array<float, 4> correctedGyroOffset(float temperature) const;
  // GetCorrected_Gyro_Gain: [0] X, [2] Y gain in earth rates per mV.
  std::array<float, 4> correctedGyroGain(float temperature) const;
  // GetCorrected_Gyro_Gravity_Coeficients: [0] DXx, [1] DXy, [4] DYx, [5] DYy.
  std::array<float, 8> correctedGyroGravityCoefficients(float temperature) const;

 protected:
  bool hasCalibrationProcedures() const override { return true; }
  // 2: load a sensor correction table, 3: save it (TarnBCal.cpp).
  int executeOtherCal(unsigned calNumber, unsigned step, unsigned* status, char* text) override;
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;

 private:
  // offset X, offset Y, gain X, gain Y (deg/h per mV), DXx, DXy, DYx, DYy at a temperature.
  std::array<double, kTableColumnsWithGravity> calibrationAt(double temperature) const;

  bool tableActive_ = false;
  // Gyro offsets X, Y and gains X, Y by gyro temperature, used while the table is active.
  cal::SctTable table_;
};

}  // namespace tools
