#pragma once

// Builds what the sensors of a block at a known attitude would read, from first principles:
// the attitude from rotations about the earth axes (not from the library's conversions),
// gravity (0, 0, 1) and the earth's rotation (15.041 cos lat, 0, -15.041 sin lat) deg/h in
// north-east-down, both seen in the block's axes through the attitude's transpose.

#include "navikor/Navikor.h"

#include <cmath>

namespace synth {

constexpr double kPi = 3.1415926535898;
inline double rad(double deg) { return deg * kPi / 180; }
inline double deg(double r) { return r * 180 / kPi; }

struct M3 {
    double a[3][3];
};

inline M3 mul(const M3& x, const M3& y)
{
    M3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                r.a[i][j] += x.a[i][k] * y.a[k][j];
    return r;
}

// Right-handed rotation about the down axis (turns north towards east) and about the east axis
// (turns down towards north).
inline M3 aboutDown(double r) { return M3{{{std::cos(r), -std::sin(r), 0}, {std::sin(r), std::cos(r), 0}, {0, 0, 1}}}; }
inline M3 aboutEast(double r) { return M3{{{std::cos(r), 0, std::sin(r)}, {0, 1, 0}, {-std::sin(r), 0, std::cos(r)}}}; }

// The block hanging vertical with its x axis north: z points up the hole, y west.
inline M3 verticalNorth() { return M3{{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}; }

// Attitude (columns = block axes in north-east-down) of a block at inclination, azimuth and
// high-side toolface (degrees): turn the toolface about the hole axis, tilt the hole axis away
// from vertical towards north, then turn it to its azimuth.
inline M3 attitude(double inclination, double azimuth, double toolface)
{
    return mul(aboutDown(rad(azimuth)), mul(aboutEast(rad(inclination)), mul(aboutDown(rad(toolface)), verticalNorth())));
}

inline MATXYZ toMat(const M3& m)
{
    MATXYZ r;
    for (int i = 0; i < 9; ++i)
        r.m[i] = m.a[i / 3][i % 3];
    return r;
}

inline CARTXYZ transposeTimes(const M3& m, double n, double e, double d)
{
    return CARTXYZ(m.a[0][0] * n + m.a[1][0] * e + m.a[2][0] * d, m.a[0][1] * n + m.a[1][1] * e + m.a[2][1] * d,
                   m.a[0][2] * n + m.a[1][2] * e + m.a[2][2] * d);
}

inline CARTXYZ gravityIn(const M3& m) { return transposeTimes(m, 0, 0, 1); }

inline CARTXYZ earthRateIn(const M3& m, double latitudeDeg)
{
    const double w = 15.041;
    return transposeTimes(m, w * std::cos(rad(latitudeDeg)), 0, -w * std::sin(rad(latitudeDeg)));
}

inline double wrap360(double d)
{
    d = std::fmod(d, 360.0);
    return d < 0 ? d + 360 : d;
}

// Smallest difference of two angles in degrees.
inline double angleDiff(double a, double b)
{
    const double d = wrap360(a - b);
    return d > 180 ? 360 - d : d;
}

// A deterministic noise source (no test depends on a random seed of the library).
struct Lcg {
    unsigned long long s = 12345;
    double uniform()
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(s >> 11) / 9007199254740992.0;
    }
    double gauss()
    {
        const double u1 = uniform() + 1e-300, u2 = uniform();
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * kPi * u2);
    }
};

} // namespace synth

namespace synth {

// Rotation by the vector v (degrees, right-handed), Rodrigues' formula.
inline M3 rotationBy(double vx, double vy, double vz)
{
    const double a = std::sqrt(vx * vx + vy * vy + vz * vz);
    M3 r{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    if (a == 0)
        return r;
    const double x = vx / a, y = vy / a, z = vz / a, t = rad(a);
    const double c = std::cos(t), s = std::sin(t), C = 1 - c;
    return M3{{{c + x * x * C, x * y * C - z * s, x * z * C + y * s},
               {y * x * C + z * s, c + y * y * C, y * z * C - x * s},
               {z * x * C - y * s, z * y * C + x * s, c + z * z * C}}};
}

inline M3 fromMat(const MATXYZ& m)
{
    M3 r{};
    for (int i = 0; i < 9; ++i)
        r.a[i / 3][i % 3] = m.m[i];
    return r;
}

// The indexer at angle r turns the block about its hole axis in the toolface sense:
// attitude(i, a, h + r) = attitude(i, a, h) * indexerTurn(r).
inline M3 indexerTurn(double r)
{
    const M3 v = verticalNorth();
    M3 vt{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            vt.a[i][j] = v.a[j][i];
    return mul(vt, mul(aboutDown(rad(r)), v));
}

} // namespace synth
