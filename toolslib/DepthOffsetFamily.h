#pragma once
// The families whose sensors are placed on depth (BRIX, DUNE, SEVO, QUIL, HAVO): each keeps
// its measure point above the tool's bottom as a parameter and delays its readings by log
// direction so that every row holds what the sensor saw at that row's depth.

#include "toolslib/DepthShifter.h"
#include "toolslib/FamilyBase.h"

namespace tools {

class DepthOffsetFamily : public FamilyBase {
 public:
  DepthOffsetFamily(Globals& globals, const wire::Layout& layout, wire::Decoder decoder,
                    std::span<const ChannelSpec> channels, std::uint32_t rowFloats, std::size_t measurePointParameter)
      : FamilyBase(globals, layout, decoder, channels, rowFloats), shifter_(rowFloats), measurePoint_(measurePointParameter) {}

  bool hasDepthOffset() const override { return true; }
  float setDepthOffset(float referenceMm, float distanceMm, float stepMm) override {
    const float point = parameterValue(measurePoint_);
    sensorMm_ = static_cast<double>(distanceMm) + point;
    shifter_.configure(sensorMm_, referenceMm, stepMm);
    return point;
  }
  void shiftSensorData() override { shifter_.push(current_.data(), DepthShifter::Mode::Down); }
  void shiftSensorDataLogUp() override { shifter_.push(current_.data(), DepthShifter::Mode::Up); }
  void shiftSensorDataLogDown() override { shifter_.push(current_.data(), DepthShifter::Mode::Down); }

  const DepthShifter& shifter() const { return shifter_; }
  double sensorOffsetMm() const { return sensorMm_; }

 protected:
  // The undelayed readings of this frame.
  virtual void decodeSensors(const std::uint8_t* bytes, const double* values, float* out,
                             const FrameContext& context) = 0;

  void decodeRow(const std::uint8_t* bytes, const double* values, float* out, const FrameContext& context) final {
    decodeSensors(bytes, values, current_.data(), context);
    shifter_.output(current_.data(), out);
  }
  void resetState() override {
    shifter_.reset();
    current_.fill(0.0f);
  }

 private:
  DepthShifter shifter_;
  std::size_t measurePoint_;
  std::array<float, kMaxRowFloats> current_{};
  double sensorMm_ = 0;
};

}  // namespace tools
