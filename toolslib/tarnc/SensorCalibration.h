#pragma once
// The calibration of a TARN-C sensor block as Navikor's calibration model reads it: the
// temperature tables of offsets, gains and gyro gravity terms, the two alignment matrices,
// and the block's identity. One text format (".sct", see docs/TARNC.md) serves the
// correction-table file, the header of the raw inertial stream and the simulated tool.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navikor/Navikor.h"

namespace tools::tarnc {

struct SensorCalibration {
  std::string serial;
  std::string date;
  double type = 2.0;    // 2.0: the DTG runs at 800 Hz + step x 0.3125
  int dtgStep = 0;      // the DTG motor step the block was calibrated with
  int turnOn = 0;       // 1: calibrated with TURN-ON
  double imuTilt = 0;   // degrees: the block's tilt in the housing
  double imuDirection = 0;
  MATXYZ acelToMec = MatrizUnitaria();
  MATXYZ gyroToMec = MatrizUnitaria();
  std::vector<CARTyTEMP> acelOffset, acelGain, gyroOffset, gyroGain;
  std::vector<GravParam> gyroGravity;
};

inline constexpr std::size_t kMaxTableRows = 64;
inline constexpr std::string_view kSctFirstLine = "KVR SENSOR CORRECTION TABLE";
inline constexpr int kSctVersion = 1;

struct SctResult {
  std::optional<SensorCalibration> calibration;
  std::string error;  // why the text was refused; empty on success
};

// Accepts LF, CR LF and CR; refuses anything that is not a complete, sorted table.
SctResult parseSct(std::string_view text);
// Written with CR LF and round-trip precision.
std::string formatSct(const SensorCalibration& calibration);

// Points the object at the calibration's tables (which must outlive its use), sets the
// alignment matrices, and derives what the station and real-time attitude read from them.
void pointNavikorAt(CNavikor& navikor, SensorCalibration& calibration);
// The same with no tables: raw readings pass unchanged, the matrices are the identity.
void pointNavikorAtNothing(CNavikor& navikor);

}  // namespace tools::tarnc
