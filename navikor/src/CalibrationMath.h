#pragma once

// The calibration formulas on already looked-up coefficients, shared by the one-shot members
// and the continuous-mode loop (which looks coefficients up only when temperatures change).

#include "navikor/Records.h"

namespace navikor {

inline CARTXYZ applyAcelCal(const Acel_ACAL& c, const CARTXYZ& raw)
{
    return CARTXYZ((raw.x - c.offset.x) * c.gain.x, (raw.y - c.offset.y) * c.gain.y, (raw.z - c.offset.z) * c.gain.z);
}

// g is the acceleration in the gyro sensor frame. The z gravity coefficients take no part.
inline CARTXYZ applyGyroCal(const Gyro_CAL& c, const CARTXYZ& raw, const CARTXYZ& g)
{
    const double* gx = c.gravity.Gx;
    const double* gy = c.gravity.Gy;
    return CARTXYZ((raw.x - c.offset.x) * c.gain.x - gx[0] * g.x - gx[1] * g.y - gx[2] * g.z - gx[3] * g.x * g.z,
                   (raw.y - c.offset.y) * c.gain.y - gy[0] * g.x - gy[1] * g.y - gy[2] * g.z - gy[3] * g.y * g.z,
                   (raw.z - c.offset.z) * c.gain.z);
}

} // namespace navikor
