#include "toolslib/tarnc/OnlineAttitude.h"

#include <cmath>

namespace tools::tarnc {

namespace {

constexpr double kDegPerRad = 57.295779513082320876;
// A tool turning faster than this (deg/h; the earth gives 15) drags its smoothed gravity
// behind the integrated attitude: the tilt check waits until the tool is still.
constexpr double kSettledRate = 100;

CARTXYZ cross(const CARTXYZ& a, const CARTXYZ& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

bool isRotation(const MATXYZ& m) {
  const MATXYZ p = MatxMat(MatTrasp(m), m);
  for (int i = 0; i < 9; ++i)
    if (!std::isfinite(m.m[i]) || std::fabs(p.m[i] - (i % 4 == 0 ? 1.0 : 0.0)) > 1e-6) return false;
  return MatDet(m) > 0;
}

}  // namespace

bool OnlineAttitude::seed(const MATXYZ& imu) {
  if (!isRotation(imu)) return false;
  m_ = imu;
  integrating_ = true;
  sinceCorrection_ = 0;
  return true;
}

void OnlineAttitude::step(CNavikor& navikor, const AGPAR& raw, const CARTXYZ& acceleration, double dtS,
                          const DriftCorrection& c) {
  if (!integrating_ || !(dtS > 0)) return;
  double magnitude = 0;
  m_ = navikor.AplicarMuestra(raw, drift_, dtS, m_, &magnitude);
  if (magnitude >= 0) lastRate_ = magnitude;
  sinceCorrection_ += dtS;
  const double interval = c.intervalS > 0 ? c.intervalS : 60;
  if (c.enabled && sinceCorrection_ >= interval && lastRate_ < kSettledRate) correctTilt(navikor, acceleration, c);
}

void OnlineAttitude::correctTilt(CNavikor& navikor, const CARTXYZ& acceleration, const DriftCorrection& c) {
  const double g = Vnorma(acceleration);
  if (!(g > 0.1)) return;  // no gravity to check against: a silent pack
  // At rest the accelerometers read the attitude's third row; the body rotation that turns
  // that prediction onto the measured direction is the tilt error, perpendicular to both.
  const CARTXYZ predicted(m_.m[6], m_.m[7], m_.m[8]);
  const CARTXYZ measured(acceleration.x / g, acceleration.y / g, acceleration.z / g);
  const CARTXYZ e = cross(predicted, measured);
  const CARTXYZ turn(-e.x * kDegPerRad, -e.y * kDegPerRad, -e.z * kDegPerRad);  // degrees
  m_ = MatxMat(m_, Rotation_To_Matrix(turn, 1));
  // A constant drift b turns the integration by b x T over the interval; the correction
  // undid -b x T, so b is the correction's rate with its sign changed.
  const double hours = sinceCorrection_ / 3600;
  const CARTXYZ rate = navikor.MECaGYRO(CARTXYZ(-turn.x / hours, -turn.y / hours, -turn.z / hours));
  const double gain = 1.0 / (c.divisor > 0 ? c.divisor : 1);
  if (c.feedback[0]) drift_.x += rate.x * gain;
  if (c.feedback[1]) drift_.y += rate.y * gain;
  if (c.feedback[2]) drift_.z += rate.z * gain;
  sinceCorrection_ = 0;
  ++corrections_;
}

}  // namespace tools::tarnc
