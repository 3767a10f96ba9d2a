#pragma once
// The simulated TARN-C tool: a sensor block on an indexer in a well, read through the exact
// inverse of the calibration model with the block's sensor correction table, then bias,
// white noise, vibration and temperature drift; and the tool's answers to every command
// code, shown through its frames (status, indexer count, acknowledges, special data).
// Every state it shows lasts at least eight frames (half a second).

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "panelsim/Faults.h"
#include "panelsim/ToolModels.h"
#include "navikor/Records.h"
#include "toolslib/tarnc/SensorCalibration.h"
#include "toolslib/wire/TarnCWire.h"

class CNavikor;

namespace panelsim {


struct TarnCSettings {
  std::optional<tools::tarnc::SensorCalibration> calibration;  // none: raw readings are physical values
  double gyroBias[3] = {0.04, -0.03, 0.02};  // deg/h, constant
  double gyroNoise = 0.05;                   // deg/h, white, per frame
  double acelNoise = 2e-5;                   // g, white, per frame
  double vibrationGyro = 40, vibrationAcel = 0.02;  // while vibrating
  double temperatureRise = 15;               // degC above the formation
  double temperatureDriftPerHour = 0;        // degC per hour
  double gyroDriftPerDegC = 0;               // deg/h per degC away from the start: what no table removes
  double toolfaceRateDegPerS = 0;            // the tool turning in the hole
  double countsPerSecond = 300;              // indexer speed
  int accuracy = 2;                          // counts either side of the target a move may end
  std::uint16_t table[4] = {12, 268, 524, 780};  // counts of 0, 90, 180, 270 degrees
  TarnCFaults faults;
};

class TarnCTool final : public ToolModel {
 public:
  explicit TarnCTool(TarnCSettings settings = {});
  ~TarnCTool() override;

  std::uint8_t code() const override { return 227; }
  void produce(const Environment& env, Noise& noise, std::uint8_t* bytes) override;
  void onMessage(const std::vector<std::uint8_t>& message) override;

  // The physical indexer angle of a count, from the tool's own table.
  double angleOfCount(double count) const;
  double count() const { return count_; }
  const TarnCSettings& settings() const { return settings_; }
  TarnCSettings& settings() { return settings_; }
  // What the tool was last told through 97, 83, 9E-A1, 9C and A2-A5.
  struct Received {
    std::uint8_t turnParams[4] = {150, 10, 20, 2};
    int dtgStep = 0;
    bool turnOn = false;
    std::uint8_t freqTable[16] = {10, 40, 40, 45, 70, 50, 100, 55, 130, 60, 150, 65, 170, 70, 190, 75};
    std::uint8_t frequency = 40;
    bool tableEnabled = true;
    std::uint16_t thresholdX = 200, thresholdY = 200;
    std::uint8_t window = 10;
  };
  const Received& told() const { return state_; }

 private:
  void command(const std::uint8_t* p, std::size_t n);
  void startMove(double target);
  void acknowledge(std::uint8_t ack);
  void startTransfer(std::uint8_t status, std::vector<std::uint16_t> items);
  std::uint8_t restingStatus() const;
  void fillSensors(const Environment& env, Noise& noise, double temperature, tools::wire::tarnc::Frame& f);

  TarnCSettings settings_;
  std::unique_ptr<CNavikor> navikor_;  // the calibration model the raw readings invert
  Received state_;
  double count_ = 12;
  double target_ = 12;
  bool moving_ = false;
  int moveFrames_ = 0;        // frames of status 6 shown for the running move
  double startTemperature_ = -1000;
  std::uint8_t transferStatus_ = 0;
  int transferFrames_ = 0;
  std::deque<std::uint16_t> items_;
  std::deque<std::uint8_t> acks_;
  std::uint8_t cycle_ = 0;
  unsigned moveCount_ = 0;
  MATXYZ previous_;
  double previousTimeS_ = 0;
  bool havePrevious_ = false;
};

}  // namespace panelsim
