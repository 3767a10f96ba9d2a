#pragma once
// Attitude from one set of gyro rates and accelerations in tool axes (z along the tool,
// downhole; x and y across it). The accelerometers read the direction of gravity; the
// gyros read the earth's rotation, whose horizontal part points north.

#include <cmath>

namespace tools::gyro {

constexpr double kPi = 3.1415926535898;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kEarthRateDegPerHour = 15.041;

struct Vec {
  double x = 0, y = 0, z = 0;
};
inline Vec cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline double norm(const Vec& a) { return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z); }

inline double wrap360(double deg) {
  if (deg >= 0 && deg < 360.0) return deg;  // the usual case, without a division
  deg = std::fmod(deg, 360.0);
  return deg < 0 ? deg + 360.0 : deg;
}
inline double wrap180(double deg) {
  deg = wrap360(deg);
  return deg > 180.0 ? deg - 360.0 : deg;
}

// Inclination from vertical, degrees.
// The angles go into float channels, so the single-precision functions are precise enough
// (and several times faster on every frame).
inline double atan2f(double y, double x) { return std::atan2(static_cast<float>(y), static_cast<float>(x)); }

inline double inclination(const Vec& g) { return atan2f(std::sqrt(g.x * g.x + g.y * g.y), g.z) * kRadToDeg; }
// High-side toolface: the angle of the tool's x axis from the high side, 0..360.
inline double highSideToolface(const Vec& g) { return wrap360(atan2f(g.y, -g.x) * kRadToDeg); }

struct Heading {
  double azimuth = 0;   // of the tool axis, from true north, 0..360
  double toolface = 0;  // of the x axis, from true north, 0..360
};

// Gyrocompassing: east = down x earth rate, north = east x down.
inline Heading northSeek(const Vec& rate, const Vec& g) {
  const double gn = norm(g);
  if (gn == 0) return {};
  const Vec down{g.x / gn, g.y / gn, g.z / gn};
  Vec east = cross(down, rate);
  const double en = norm(east);
  if (en == 0) return {};
  east = {east.x / en, east.y / en, east.z / en};
  const Vec north = cross(east, down);
  return {wrap360(atan2f(east.z, north.z) * kRadToDeg), wrap360(atan2f(east.x, north.x) * kRadToDeg)};
}

}  // namespace tools::gyro
