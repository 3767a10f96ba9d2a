#pragma once

// The constants every Navikor computation uses (the literal pi, not a library constant), and
// the angle helpers that go with them.

#include <algorithm>
#include <cmath>

namespace navikor {

constexpr double kPi = 3.1415926535898;
constexpr double kHalfPi = 1.5707963267949;
constexpr double kThreeHalfPi = 4.7123889803847;
constexpr double kTwoPi = 6.2831853071796;
constexpr double kRadToDegExact = 57.295779513082195;
constexpr double kEarthRate = 15.041;            // degrees per hour
constexpr double kEarthRateSquared = 226.231681;

inline double toRad(double deg) { return deg * kPi / 180; }
inline double toDeg(double rad) { return rad * 180 / kPi; }

// Arc cosine of a cosine computed from unit vectors: rounding can carry it just past +-1,
// where std::acos gives NaN.
inline double clampedAcos(double c) { return std::acos(std::clamp(c, -1.0, 1.0)); }

} // namespace navikor
