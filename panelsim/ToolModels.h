#pragma once
// One model per tool family: plausible readings for the moment of a frame, encoded with
// that family's wire codec, and the downhole messages the tool received.

#include <cstdint>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "panelsim/Winch.h"

namespace panelsim {

// The hole the gyro tools sit in and the earth around them.
struct Well {
  double latitudeDeg = 30;
  double inclinationDeg = 0;
  double azimuthDeg = 0;   // from true north, clockwise
  double toolfaceDeg = 0;
  double fluidVelocityFtPerMin = 60;  // upward flow past the spinner
};

// Errors of a simulated gyro: a bias on each axis (deg/h) that grows by its drift (deg/h per
// hour of time since power-on).
struct GyroErrors {
  double biasDegPerHour[3] = {0, 0, 0};
  double driftDegPerHourPerHour[3] = {0, 0, 0};
  double at(int axis, double timeS) const {
    return biasDegPerHour[axis] + driftDegPerHourPerHour[axis] * timeS / 3600.0;
  }
};

// The TARN-B tool's true sensor model (see toolslib/families/TarnB.h): what its pick-offs
// read for the earth's rotation and gravity in its axes (z up-hole). A calibration loaded
// into KVR that differs from it is a calibration error the roll test finds.
struct TarnBTruth {
  double offsetMv[2] = {0, 0};                 // X, Y
  double gainDegPerHourPerMv[2] = {30, 30};    // X, Y
  double gravity[4] = {0, 0, 0, 0};            // DXx, DXy, DYx, DYy in earth rates per g
  double accScaleMvPerG = 1000;
  double gyroNoiseMv = 0.02;                   // per frame
  double accNoiseMv = 0.3;
};

struct Environment {
  double timeS = 0;
  std::uint32_t frame = 0;  // frames sent since the stream began
  WinchReading winch;
  Well well;
  double tvdFt = 0;         // true vertical depth
  double temperatureC = 0;  // formation temperature at the tool
  double pressurePsi = 0;   // hydrostatic pressure at the tool
  GyroErrors tarnGyro;      // the TARN tool's gyros
  GyroErrors tarnbGyro;     // the TARN-B tool's gyros (X and Y)
  TarnBTruth tarnb;
};

// Deterministic noise so that a seeded run repeats byte for byte.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : rng_(seed) {}
  double uniform() { return std::uniform_real_distribution<double>(-1.0, 1.0)(rng_); }
  double gauss(double sigma) { return std::normal_distribution<double>(0.0, sigma)(rng_); }
  std::uint32_t poisson(double mean) { return std::poisson_distribution<std::uint32_t>(mean)(rng_); }
  double unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_); }

 private:
  std::mt19937 rng_;
};

class ToolModel {
 public:
  virtual ~ToolModel() = default;
  virtual std::uint8_t code() const = 0;
  std::uint32_t dataBytes() const;
  // How the panel splits the data bytes into blocks; block i has address code + i.
  std::span<const std::uint8_t> blockLengths() const;
  // Fills dataBytes() bytes for one frame.
  virtual void produce(const Environment& env, Noise& noise, std::uint8_t* bytes) = 0;
  // A downhole message addressed to one of this tool's block addresses; the calibration
  // commands (read the stored calibration, a reference state, stop) change what it sends.
  virtual void onMessage(const std::vector<std::uint8_t>& message);
  const std::vector<std::vector<std::uint8_t>>& received() const { return received_; }

  // The calibration record the tool keeps, as it sends it on the read command.
  virtual std::string storedCalibration() const;
  // The reference state of the calibration stand (-1: none; else the point, 0 or 1).
  int referencePoint() const { return referencePoint_; }
  // The tool never answers the read of its stored calibration.
  void setCalibrationSilent(bool silent) { silent_ = silent; }

 protected:
  // Writes the next frame of a calibration transfer instead of readings; false when none is due.
  bool transferFrame(std::uint8_t* bytes);
  // The environment of the stand: the tool still, vertical, X axis to north, no flow.
  static Environment standEnvironment(const Environment& env);

 private:
  std::vector<std::vector<std::uint8_t>> received_;
  std::vector<std::vector<std::uint8_t>> transfer_;
  std::size_t transferNext_ = 0;
  int referencePoint_ = -1;
  bool silent_ = false;
};

// The model of a family; nullptr for a code without a family.
std::unique_ptr<ToolModel> makeToolModel(std::uint8_t code);

// Earth rotation (deg/h) and gravity (g) in the axes of a tool at the well's attitude,
// turned by an extra rotation about the tool axis (an indexer), x, y, z.
struct SensorTruth {
  double rate[3];
  double gravity[3];
};
SensorTruth sensorTruth(const Well& well, double indexerDeg = 0);

inline constexpr double kEarthRateDegPerHour = 15.041;

}  // namespace panelsim
