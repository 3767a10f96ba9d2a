#pragma once
#include "toolslib/FamilyBase.h"

namespace tools {

// TARN-C north-seeking gyro. Calibrated rates and accelerations, the six raw voltages, five
// sensor temperatures (always degC: the station processing works in them), the online
// attitude (DEVI, HAZI, HSTF, TFACE) from smoothed sensors, and the tool's control word,
// indexer count and tool time. Every frame also updates the TARN-C globals: control word,
// indexer count, last acknowledge and the special data (indexer table, IMU bytes).
class TarnC final : public FamilyBase {
 public:
  explicit TarnC(Globals& globals);
  enum Param : std::size_t {
    kLatitude, kToolfaceRange, kToolfaceOffset, kSmoothing, kMotorFrequency, kGyroFilter, kSampleRate, kParamCount
  };

  bool correctionTableActive() const override { return tableActive_; }
  void destroyCorrectionTable() override { tableActive_ = false; }
  void setCorrectionTableActive(bool active) { tableActive_ = active; }

  static constexpr double kGyroGain = 30.0;       // deg/h per mV before calibration
  static constexpr double kAccScale = 1000.0;     // mV per g before calibration

 protected:
  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) override;
  std::vector<records::ToolParameterS> defaultParameters() const override;
  std::vector<const char*> calibrationNames() const override;
  void resetState() override;

 private:
  void takeSpecialData(std::uint16_t ctrl, std::uint16_t word);

  bool tableActive_ = false;
  bool haveSmoothed_ = false;
  double rate_[3]{}, acc_[3]{};
};

}  // namespace tools
