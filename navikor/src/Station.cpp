// North-seeking station processing: the heading search over the candidate grid.
//
// The expected gyro reading for heading index i is mecToGyro * (A_i T H2I)^T * earthRate, where
// A_i = Rz(i/F) * base and T is the indexer turn, a rotation about the IMU z axis that does not
// depend on i. So the reading is K * Rz(i/F)^T * earthRate with K = mecToGyro * M_0^T, M_0 being
// the IMU attitude of candidate 0 built the long way (attitude conversions and mountings). Only
// the sine and cosine of the candidate angle change along the grid, which keeps a 36000-step
// station far below a millisecond of matrix work.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "Constants.h"

#include <cmath>
#include <vector>

using namespace navikor;

namespace {

struct HeadingModel {
    MATXYZ base;      // housing attitude turned to heading -90 degrees
    double F = 100;   // steps per degree
    int N = 36000;    // candidates
};

struct SearchResult {
    int j = 0, k = 0, w = 0;
    double c1 = 0, c2 = 0;
    double separation = 0;
    double residualX = 0, residualY = 0;
    double uncertainty = 0;
};

int limitResolution(int stepsPerDegree)
{
    if (stepsPerDegree > 100)
        return 100;
    return stepsPerDegree < 1 ? 1 : stepsPerDegree;
}

// The earth rate seen by the attitude Rz(i/F) * X, before X^T is applied.
CARTXYZ earthRateAt(const CARTXYZ& w, int i, double F)
{
    if (i == 0)
        return w;
    const double a = toRad(i / F);
    const double c = std::cos(a), s = std::sin(a);
    return CARTXYZ(c * w.x + s * w.y, -s * w.x + c * w.y, w.z);
}

HeadingModel makeModel(CNavikor& nav, const ESTACIONin& s0, int F)
{
    HeadingModel hm;
    hm.F = F;
    hm.N = 360 * F;
    double m = 0;
    const POS_PARAM p0 = nav.CalcularDeviHstf(s0.acel, &m);
    const POS_PARAM h = nav.AjustePOSenPARAM(0, s0.rotpos, nav.IMUaHOUSINGPOS(p0));
    const MATXYZ c = Param2Matrix(h);
    hm.base = MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, -toDeg(h.Azi) - 90), 1), c);
    return hm;
}

// K for one indexer position: expected reading = K * earthRateAt(earthRate, i).
MATXYZ readingMatrix(CNavikor& nav, const HeadingModel& hm, double rotpos)
{
    const MATXYZ imu0 = MatxMat(Param2Matrix(nav.AjustePOSenPARAM(rotpos, 0, Matrix2Param(hm.base))), nav.housingToImu);
    return MatxMat(nav.mecToGyro, MatTrasp(imu0));
}

double foldedDistance(double a, double b)
{
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180 ? 360 - d : d;
}

// Searches both halves of the grid for the curve (x, y per candidate) closest to (mx, my) and
// measures the width of the winning valley.
SearchResult searchHeading(const CNavikor& nav, const HeadingModel& hm, const std::vector<double>& curve,
                           double mx, double my, double noise)
{
    const int N = hm.N, half = N / 2;
    const double F = hm.F;
    auto cost = [&](int i) {
        const double ex = mx - curve[2 * i], ey = my - curve[2 * i + 1];
        return ex * ex + ey * ey;
    };
    SearchResult r;
    r.j = 0;
    r.c1 = cost(0);
    for (int i = 1; i < half; ++i) {
        const double c = cost(i);
        if (c < r.c1) {
            r.c1 = c;
            r.j = i;
        }
    }
    r.k = half;
    r.c2 = cost(half);
    for (int i = half + 1; i < N; ++i) {
        const double c = cost(i);
        if (c < r.c2) {
            r.c2 = c;
            r.k = i;
        }
    }
    r.separation = std::fabs(std::sqrt(r.c2) - std::sqrt(r.c1));
    if (r.j == 0 || r.j == half - 1 || r.k == half || r.k == N - 1)
        r.separation = 1.75;
    const double hj = r.j / F - 90, hk = r.k / F - 90;
    if (r.separation <= 0.75 && nav.useReferenceAzimuth)
        r.w = foldedDistance(hj, nav.referenceAzimuth) <= foldedDistance(hk, nav.referenceAzimuth) ? r.j : r.k;
    else
        r.w = r.c1 <= r.c2 ? r.j : r.k;
    r.residualX = mx - curve[2 * r.w];
    r.residualY = my - curve[2 * r.w + 1];

    const double resid = std::sqrt(r.residualX * r.residualX + r.residualY * r.residualY);
    const double t0 = noise / std::sqrt(2.0) + resid + 0.1;
    const double threshold = t0 * t0;
    auto width = [&](int direction) {
        const double wx = curve[2 * r.w], wy = curve[2 * r.w + 1];
        for (int n = 1; n < half; ++n) {
            const int idx = ((r.w + direction * n) % N + N) % N;
            const double dx = wx - curve[2 * idx], dy = wy - curve[2 * idx + 1];
            if (dx * dx + dy * dy > threshold)
                return n;
        }
        return half;
    };
    const int forward = width(1), backward = width(-1);
    r.uncertainty = (forward > backward ? forward : backward) / F;
    return r;
}

std::vector<double> curveOf(const MATXYZ& k, const HeadingModel& hm, const CARTXYZ& earthRate)
{
    std::vector<double> curve(2 * static_cast<size_t>(hm.N));
    for (int i = 0; i < hm.N; ++i) {
        const CARTXYZ v = earthRateAt(earthRate, i, hm.F);
        curve[2 * i] = k.m[0] * v.x + k.m[1] * v.y + k.m[2] * v.z;
        curve[2 * i + 1] = k.m[3] * v.x + k.m[4] * v.y + k.m[5] * v.z;
    }
    return curve;
}

MATXYZ difference(const MATXYZ& a, const MATXYZ& b)
{
    MATXYZ d;
    for (int i = 0; i < 9; ++i)
        d.m[i] = a.m[i] - b.m[i];
    return d;
}

void rememberAmbiguity(CNavikor& nav, const SearchResult& r, double F, double quality)
{
    const double hj = r.j / F - 90, hk = r.k / F - 90;
    if (r.separation <= 0.75 && !nav.useReferenceAzimuth && !nav.ambiguityFound
        && r.uncertainty < foldedDistance(hj, hk)) {
        nav.ambiguousHeading1 = hj;
        nav.ambiguousHeading2 = hk;
        if (quality > 60)
            nav.ambiguityFound = true;
    }
}

ESTACIONout finish(CNavikor& nav, const HeadingModel& hm, const SearchResult& r)
{
    ESTACIONout out;
    const MATXYZ turn = Rotation_To_Matrix(CARTXYZ(0, 0, r.w / hm.F), 1);
    out.attitude = Matrix2Param(MatxMat(MatxMat(turn, hm.base), nav.housingToWell));
    out.uncertainty = r.uncertainty;
    return out;
}

} // namespace

ESTACIONout CNavikor::ProcesarEstacion(ESTACIONin s0, ESTACIONin s1, int stepsPerDegree)
{
    const int F = limitResolution(stepsPerDegree);
    double m0 = 0, m1 = 0;
    CalcularDeviHstf(s0.acel, &m0);
    CalcularDeviHstf(s1.acel, &m1);
    const HeadingModel hm = makeModel(*this, s0, F);
    const MATXYZ k0 = readingMatrix(*this, hm, s0.rotpos);
    const MATXYZ k1 = readingMatrix(*this, hm, s1.rotpos);
    const std::vector<double> curve = curveOf(difference(k0, k1), hm, earthRate);

    const double noise = (s0.gyroNoise.x + s0.gyroNoise.y + s1.gyroNoise.x + s1.gyroNoise.y) / 4;
    const SearchResult r = searchHeading(*this, hm, curve, s0.gyro.x - s1.gyro.x, s0.gyro.y - s1.gyro.y, noise);

    ESTACIONout out = finish(*this, hm, r);
    const CARTXYZ v = earthRateAt(earthRate, r.w, hm.F);
    const CARTXYZ b0 = CartResta(s0.gyro, MatxVect(k0, v));
    const CARTXYZ b1 = CartResta(s1.gyro, MatxVect(k1, v));
    out.bias = CartPromedio(b0, b1);
    out.residualX = r.residualX / 2;
    out.residualY = r.residualY / 2;
    out.quality = (m0 + m1) / 2 * CalculaQC(out.uncertainty);
    rememberAmbiguity(*this, r, hm.F, out.quality);
    return out;
}

ESTACIONout CNavikor::ProcesarEstacionSimple(ESTACIONin s, int stepsPerDegree)
{
    const int F = limitResolution(stepsPerDegree);
    double m = 0;
    CalcularDeviHstf(s.acel, &m);
    const HeadingModel hm = makeModel(*this, s, F);
    const MATXYZ k = readingMatrix(*this, hm, s.rotpos);
    const std::vector<double> curve = curveOf(k, hm, earthRate);

    const double noise = (s.gyroNoise.x + s.gyroNoise.y) / 2;
    const SearchResult r = searchHeading(*this, hm, curve, s.gyro.x, s.gyro.y, noise);

    ESTACIONout out = finish(*this, hm, r);
    out.bias = CartResta(s.gyro, MatxVect(k, earthRateAt(earthRate, r.w, hm.F)));
    out.residualX = r.residualX;
    out.residualY = r.residualY;
    out.quality = m * CalculaQC(out.uncertainty);
    rememberAmbiguity(*this, r, hm.F, out.quality);
    return out;
}
