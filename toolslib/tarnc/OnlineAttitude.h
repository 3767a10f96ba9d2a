#pragma once
// The TARN-C real-time attitude between stations: once the task panel has handed over the
// attitude of a finished station (the IMU matrix `m_MC_NEP`), the gyros are integrated from
// it frame by frame (Navikor's AplicarMuestra: calibration, drift, earth rate), so that the
// azimuth and toolface follow a tool that moves or turns, where a gyrocompass cannot. The
// online drift correction keeps the integration honest: every correction interval the tilt
// is pulled back to gravity's, and on the axes fed back the gyro drift estimate moves by the
// rate that tilt error implies, divided by the filter divisor.

#include <cstdint>

#include "navikor/Navikor.h"

namespace tools::tarnc {

// The six drift-correction switches of the filter options, as the TOOLS globals hold them.
struct DriftCorrection {
  bool enabled = false;
  double intervalS = 60;
  bool feedback[3] = {false, false, false};
  int divisor = 3;
};

class OnlineAttitude {
 public:
  // Starts integrating from an IMU attitude matrix. A matrix that is no rotation (the zero
  // matrix before any station) leaves the attitude as it was and returns false.
  bool seed(const MATXYZ& imu);
  bool integrating() const { return integrating_; }
  void stop() { integrating_ = false; }

  // One frame: the raw sample (mV, degC) over dt seconds, and the smoothed calibrated
  // acceleration (IMU frame, g) the tilt is checked against; gravity 0 skips the check.
  void step(CNavikor& navikor, const AGPAR& raw, const CARTXYZ& acceleration, double dtS, const DriftCorrection& c);

  // The integrated attitude of the IMU (radians).
  POS_PARAM attitude() const { return Matrix2Param(m_); }
  const MATXYZ& matrix() const { return m_; }
  // The drift estimate taken from every rate (gyro sensor frame, deg/h).
  const CARTXYZ& drift() const { return drift_; }
  // Seconds since the last correction (or the counter's reset at a survey start).
  double sinceCorrection() const { return sinceCorrection_; }
  int corrections() const { return corrections_; }
  void resetCorrectionCounter() { sinceCorrection_ = 0; }

 private:
  void correctTilt(CNavikor& navikor, const CARTXYZ& acceleration, const DriftCorrection& c);

  MATXYZ m_;
  CARTXYZ drift_{0, 0, 0};
  bool integrating_ = false;
  double sinceCorrection_ = 0;
  double lastRate_ = 0;  // deg/h, the last sample's rate magnitude
  int corrections_ = 0;
};

}  // namespace tools::tarnc
