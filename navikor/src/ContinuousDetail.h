#pragma once

// Helpers of the continuous mode shared by its source files.

#include "navikor/CNavikor.h"

#include <cstdint>
#include <cstring>

namespace navikor {

// The in-stop flag is the first byte of the sample's flag double.
inline bool inStop(const MUESTRA& s)
{
    unsigned char b = 0;
    std::memcpy(&b, &s.inStop, 1);
    return b != 0;
}

inline void setInStop(MUESTRA& s)
{
    const unsigned char b = 1;
    std::memcpy(&s.inStop, &b, 1);
}

// A station's first and last sample index, kept as two 32-bit integers in its reserved double.
inline void setStationIndexes(StationRecord& r, std::int32_t first, std::int32_t last)
{
    const std::int32_t pair[2] = {first, last};
    std::memcpy(&r.indexes, pair, sizeof pair);
}

inline std::int32_t stationFirst(const StationRecord& r)
{
    std::int32_t pair[2];
    std::memcpy(pair, &r.indexes, sizeof pair);
    return pair[0];
}

inline std::int32_t stationLast(const StationRecord& r)
{
    std::int32_t pair[2];
    std::memcpy(pair, &r.indexes, sizeof pair);
    return pair[1];
}

// IMU attitude at sample k of a station whose well attitude is given.
MATXYZ stationImuAttitude(CNavikor& nav, const POS_PARAM& wellAttitude, long k);

inline long clampIndex(const CNavikor& nav, long k)
{
    if (k < 0)
        return 0;
    if (k > nav.sampleCount - 1)
        return nav.sampleCount - 1;
    return k;
}

inline bool hasSamples(const CNavikor& nav) { return nav.sampleTable && nav.sampleCount > 0; }

// A raw gyro reading outside +-2490 counts is saturated.
inline bool rawGyroSaturated(const CARTXYZ& g)
{
    constexpr double kSaturation = 2490;
    return g.x < -kSaturation || g.x > kSaturation || g.y < -kSaturation || g.y > kSaturation
        || g.z < -kSaturation || g.z > kSaturation;
}

long movingSamplesBetween(const CNavikor& nav, long a, long b);

// The accelerometer-check cadence for a stretch of n moving samples.
int cadenceFor(const CNavikor& nav, long n);

// AplicarCorreccion with the moving-sample count of [a, b] already known.
void applyCorrection(CNavikor& nav, long a, long b, const CARTXYZ& c, double step, long moving);

// GetGyroDrift for times visited in order: 'cursor' remembers each axis's interval.
CARTXYZ driftAt(const CNavikor& nav, double t, int cursor[3]);

// The first sample index at or after 'from' that belongs to any station (in-stop), or -1.
long nextStationSample(const CNavikor& nav, long from);

// The last sample index at or before 'from' that belongs to any station, or -1.
long previousStationSample(const CNavikor& nav, long from);

} // namespace navikor
