// Accelerometer statistics and the corrections that keep the integrated attitude level with
// what the accelerometers see.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "ContinuousDetail.h"
#include "Constants.h"
#include "Trace.h"

#include <algorithm>
#include <array>
#include <cmath>

using namespace navikor;

namespace {

void orderedRange(const CNavikor& nav, long* a, long* b)
{
    *a = clampIndex(nav, *a);
    *b = clampIndex(nav, *b);
}

struct RawMeans {
    CARTXYZ acel, temp;
};

RawMeans rawMeans(const CNavikor& nav, long a, long b)
{
    RawMeans m;
    if (!hasSamples(nav) || b < a)
        return m;
    double s[6] = {0, 0, 0, 0, 0, 0};
    for (long k = a; k <= b; ++k) {
        const AGPAR& g = nav.sampleTable[k].ag;
        s[0] += g.acel.x; s[1] += g.acel.y; s[2] += g.acel.z;
        s[3] += g.acelTemp.x; s[4] += g.acelTemp.y; s[5] += g.acelTemp.z;
    }
    const double n = static_cast<double>(b - a + 1);
    m.acel = CARTXYZ(s[0] / n, s[1] / n, s[2] / n);
    m.temp = CARTXYZ(s[3] / n, s[4] / n, s[5] / n);
    return m;
}

} // namespace

CARTXYZ CNavikor::PromedioAcelsRAW(long a, long b)
{
    orderedRange(*this, &a, &b);
    return rawMeans(*this, a, b).acel;
}

CARTXYZ CNavikor::PromedioAcels(long a, long b)
{
    orderedRange(*this, &a, &b);
    const RawMeans m = rawMeans(*this, a, b);
    return CalibrarAcel(m.acel, m.temp);
}

CARTXYZ CNavikor::RuidoAcels(long a, long b, bool raw)
{
    orderedRange(*this, &a, &b);
    if (!hasSamples(*this) || b <= a)
        return CARTXYZ();
    const RawMeans m = rawMeans(*this, a, b);
    double s[3] = {0, 0, 0};
    for (long k = a; k <= b; ++k) {
        const CARTXYZ& v = sampleTable[k].ag.acel;
        s[0] += (v.x - m.acel.x) * (v.x - m.acel.x);
        s[1] += (v.y - m.acel.y) * (v.y - m.acel.y);
        s[2] += (v.z - m.acel.z) * (v.z - m.acel.z);
    }
    const double d = static_cast<double>(b - a);
    CARTXYZ r(std::sqrt(s[0] / d), std::sqrt(s[1] / d), std::sqrt(s[2] / d));
    if (!raw) {
        const CARTyTEMP g = GetAcelGain(m.temp);
        r = CARTXYZ(r.x * std::fabs(g.x), r.y * std::fabs(g.y), r.z * std::fabs(g.z));
    }
    return r;
}

void CNavikor::CanalRuidoAcels(double h)
{
    LiberarAcelMem();
    if (!hasSamples(*this))
        return;
    acelNoiseChannel = new float[sampleCount];
    acelNoiseClassChannel = new float[sampleCount]();
    const long half = static_cast<long>(h);
    for (long i = 0; i < sampleCount; ++i)
        acelNoiseChannel[i] = static_cast<float>(Vnorma(RuidoAcels(i - half, i + half, true)));
}

void CNavikor::ClasificarAcelRuido(double scale)
{
    if (!acelNoiseChannel || !acelNoiseClassChannel)
        return;
    for (long i = 0; i < sampleCount; ++i)
        acelNoiseClassChannel[i] = static_cast<float>(std::min(acelNoiseChannel[i] / scale * 10 - 2, 4.0));
}

double CNavikor::EncontrarUmbralAcel()
{
    double lowest = 10000000;
    if (acelNoiseChannel)
        for (long i = 0; i < sampleCount; ++i)
            lowest = std::min(lowest, static_cast<double>(acelNoiseChannel[i]));
    return lowest;
}

void CNavikor::LiberarAcelMem()
{
    delete[] acelNoiseChannel;
    delete[] acelNoiseClassChannel;
    acelNoiseChannel = nullptr;
    acelNoiseClassChannel = nullptr;
}

int navikor::cadenceFor(const CNavikor& nav, long n)
{
    const double c = std::ceil(static_cast<double>(n) / nav.acelCorrSamples);
    if (c < 2)
        return static_cast<int>(n + 10);
    return static_cast<int>(std::ceil(n / c) + 1);
}

int CNavikor::CalculaCuentasAcelCorr(long a, long b) { return cadenceFor(*this, movingSamplesBetween(*this, a, b)); }

namespace {

// While the tool turns at a body rate w, the readings of a window centred on k are gravity at k
// turned back and forth about w: their mean keeps the part along w and shrinks the rest by the
// mean cosine of the turn angles. Undoing the shrink gives gravity at k (exactly for a steady
// turn); without a usable gyro rate at k the plain mean stays.
CARTXYZ gravityAtCentre(CNavikor& nav, long lo, long hi, long k, const MATXYZ& attitude, const CARTXYZ& mean)
{
    lo = clampIndex(nav, lo);
    hi = clampIndex(nav, hi);
    k = clampIndex(nav, k);
    const MUESTRA& at = nav.sampleTable[k];
    if (rawGyroSaturated(at.ag.gyro))
        return mean;
    const CARTXYZ body = nav.GYROaMEC(
        CartResta(nav.CalibrarGyroSen(at.ag.gyro, mean, at.ag.gyroTemp), nav.GetGyroDrift(at.time)));
    // Relative to the earth, which carries gravity round with it.
    const CARTXYZ w = CartResta(body, MatxVect(MatTrasp(attitude), nav.earthRate));
    const double rate = Vnorma(w);
    if (rate == 0)
        return mean;
    const double perSecond = toRad(rate) / 3600;
    double shrink = 0;
    for (long j = lo; j <= hi; ++j)
        shrink += std::cos(perSecond * (nav.sampleTable[j].time - at.time));
    shrink /= static_cast<double>(hi - lo + 1);
    if (shrink < 0.5)
        return mean;  // half a turn or more within the window: nothing to undo reliably
    const CARTXYZ u(w.x / rate, w.y / rate, w.z / rate);
    const double along = mean.x * u.x + mean.y * u.y + mean.z * u.z;
    return CARTXYZ(along * u.x + (mean.x - along * u.x) / shrink, along * u.y + (mean.y - along * u.y) / shrink,
                   along * u.z + (mean.z - along * u.z) / shrink);
}

} // namespace

bool CNavikor::VerificarAcelerometros(long k, MATXYZ* attitude, CARTXYZ* correction)
{
    if (!attitude || !hasSamples(*this))
        return false;
    // The window is centred on k: one reaching a sample further back than forward would lag
    // the attitude at k by half a sample of turning.
    const long lo = k - acelFilterSamples, hi = k + acelFilterSamples;
    const CARTXYZ m = gravityAtCentre(*this, lo, hi, k, *attitude, PromedioAcels(lo, hi));
    const CARTXYZ s = RuidoAcels(lo, hi, false);
    const double n = Vnorma(m);
    const CARTXYZ u(m.x / n, m.y / n, m.z / n);
    const CARTXYZ expected = MatxVect(MatTrasp(*attitude), gravityNed);
    // Readings without any spread (a still tool, noise-free data) would take the rounding of the
    // integration and of the window for a mismatch, and a correction then turns the heading onto
    // the 0.01-degree grid of the search: below a micro-g there is nothing worth correcting.
    constexpr double kLeastMismatch = 1e-6;  // g: some 6e-5 degree of tilt
    auto agrees = [&](double e, double v, double spread) {
        return std::fabs(e - v) <= std::max(acelThreshold * spread, kLeastMismatch);
    };
    if (agrees(expected.x, u.x, s.x) && agrees(expected.y, u.y, s.y) && agrees(expected.z, u.z, s.z))
        return false;
    double f = 0;
    const POS_PARAM p = CalcularDeviHstf(m, &f);
    if (f < 0.99 || f > 1.01)
        return false;  // the tool is accelerating
    CARTXYZ corr;
    MATXYZ r;
    ForzarAcelerometros(*attitude, Param2Matrix(p), 180, &corr, &r);
    *attitude = MatxMat(r, *attitude);
    if (correction)
        *correction = corr;
    return true;
}

namespace {

// A^-1 * Rz(theta) * B = cos * P + sin * Q + S. The rotation vector (MRot_to_W) of most
// candidates needs only the trace and the three antisymmetric differences of that sum.
struct CandidateFamily {
    MATXYZ fullP, fullQ, fullS;
    double p[4], q[4], s[4];  // trace, m7 - m5, m2 - m6, m3 - m1

    static void reduce(const MATXYZ& m, double out[4])
    {
        out[0] = m.m[0] + m.m[4] + m.m[8];
        out[1] = m.m[7] - m.m[5];
        out[2] = m.m[2] - m.m[6];
        out[3] = m.m[3] - m.m[1];
    }

    CandidateFamily(const MATXYZ& a, const MATXYZ& b)
    {
        const MATXYZ ai = MatInv(a);
        MATXYZ jc, js, jz;
        jc.m[0] = jc.m[4] = 1;
        js.m[1] = -1;
        js.m[3] = 1;
        jz.m[8] = 1;
        fullP = MatxMat(MatxMat(ai, jc), b);
        fullQ = MatxMat(MatxMat(ai, js), b);
        fullS = MatxMat(MatxMat(ai, jz), b);
        reduce(fullP, p);
        reduce(fullQ, q);
        reduce(fullS, s);
    }

    CARTXYZ rotationVector(double c, double sn) const
    {
        double v[4];
        for (int k = 0; k < 4; ++k)
            v[k] = c * p[k] + sn * q[k] + s[k];
        const double cosTheta = (v[0] - 1) / 2;
        if (cosTheta >= 1)
            return CARTXYZ();
        if (cosTheta < -0.9) {
            // Towards half a turn the axis comes from the whole matrix.
            MATXYZ m;
            for (int k = 0; k < 9; ++k)
                m.m[k] = c * fullP.m[k] + sn * fullQ.m[k] + fullS.m[k];
            return MRot_to_W(1, m);
        }
        const double theta = std::acos(cosTheta);
        const double f = theta / (2 * std::sqrt((1 - cosTheta) * (1 + cosTheta))) * 180 / kPi;
        return CARTXYZ(v[1] * f, v[2] * f, v[3] * f);
    }

    // The candidate turned by i hundredths of a degree about the vertical.
    double cost(int i, double weight) const
    {
        double c = 1, sn = 0;
        if (i != 0) {
            const double a = toRad(i / 100.0);
            c = std::cos(a);
            sn = std::sin(a);
        }
        return cost(c, sn, weight);
    }

    double cost(double c, double sn, double weight) const
    {
        const CARTXYZ w = rotationVector(c, sn);
        return std::sqrt(w.x * w.x + w.y * w.y + (w.z / weight) * (w.z / weight));
    }
};

constexpr int kHeadings = 36000;  // 0.01 degree steps
constexpr int kCoarseStep = 100, kCoarseCount = kHeadings / kCoarseStep;

struct Turn {
    double c, s;
};

// Cosine and sine of the whole-degree headings, as CandidateFamily::cost(i) computes them.
const std::array<Turn, kCoarseCount>& coarseTurns()
{
    static const std::array<Turn, kCoarseCount> table = [] {
        std::array<Turn, kCoarseCount> t{};
        t[0] = {1, 0};
        for (int c = 1; c < kCoarseCount; ++c) {
            const double a = toRad(c * kCoarseStep / 100.0);
            t[c] = {std::cos(a), std::sin(a)};
        }
        return t;
    }();
    return table;
}

int wrapHeading(int i) { return ((i % kHeadings) + kHeadings) % kHeadings; }

} // namespace

bool CNavikor::ForzarAcelerometros(MATXYZ a, MATXYZ b, double, CARTXYZ* correction, MATXYZ* rotation)
{
    // The cost over the 36000 headings is smooth, and convex within a degree or two of each of
    // its minima: a 1-degree scan finds the valleys, a 0.1-degree scan within 1.5 degrees of
    // each brackets its minimum, and the 0.01-degree search runs within 0.12 degree of that.
    // The winner is the same as that of scanning every heading.
    constexpr int kMidStep = 10, kMidReach = 15, kFineReach = 12;
    const CandidateFamily family(a, b);
    const auto& turns = coarseTurns();
    double coarse[kCoarseCount];
    for (int c = 0; c < kCoarseCount; ++c)
        coarse[c] = family.cost(turns[c].c, turns[c].s, toolfaceWeight);

    int win = 0;
    double best = 180;
    bool found = false;
    for (int c = 0; c < kCoarseCount; ++c) {
        const double prev = coarse[(c + kCoarseCount - 1) % kCoarseCount], next = coarse[(c + 1) % kCoarseCount];
        if (!(coarse[c] <= prev && coarse[c] <= next))
            continue;
        int mid = c * kCoarseStep;
        double midBest = coarse[c];
        for (int d = -kMidReach; d <= kMidReach; ++d) {
            const int i = wrapHeading(c * kCoarseStep + d * kMidStep);
            const double cost = family.cost(i, toolfaceWeight);
            if (cost < midBest) {
                midBest = cost;
                mid = i;
            }
        }
        for (int d = -kFineReach; d <= kFineReach; ++d) {
            const int i = wrapHeading(mid + d);
            const double cost = family.cost(i, toolfaceWeight);
            if (cost < best || (found && cost == best && i < win)) {
                best = cost;
                win = i;
                found = true;
            }
        }
    }
    const MATXYZ chosen = MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, win / 100.0), 1), b);
    const CARTXYZ corr = MM2W(a, chosen);
    if (correction)
        *correction = corr;
    if (rotation)
        *rotation = Rotation_To_Matrix(corr, 1);
    return true;
}

void CNavikor::AplicarCorreccion(long a, long b, CARTXYZ c, double step)
{
    if (!hasSamples(*this) || !attitudeTable)
        return;
    a = clampIndex(*this, a);
    b = clampIndex(*this, b);
    applyCorrection(*this, a, b, c, step, movingSamplesBetween(*this, a, b));
}

void navikor::applyCorrection(CNavikor& nav, long a, long b, const CARTXYZ& c, double step, long n)
{
    MUESTRA* const sampleTable = nav.sampleTable;
    MATXYZ* const attitudeTable = nav.attitudeTable;
    const double len = Vnorma(c);
    if (n == 0 || len == 0)
        return;
    long perIncrement = 1, increments = n;
    if (step > len / n) {
        perIncrement = static_cast<long>(std::ceil(step / (len / n)));
        increments = n / perIncrement;
        if (increments == 0) {
            increments = 1;
            perIncrement = n;
        }
    }
    const MATXYZ increment = Rotation_To_Matrix(c, 1.0 / static_cast<double>(increments));
    MATXYZ q = MatrizUnitaria();
    // Starting half way to the first increment, a count that is no multiple of perIncrement
    // would reach one increment more than there are: the walk stops at the whole correction.
    long counter = perIncrement / 2, applied = 0;
    const long dir = b >= a ? 1 : -1;
    for (long k = a;; k += dir) {
        if (!inStop(sampleTable[k]) && applied < increments && ++counter >= perIncrement) {
            counter = 0;
            ++applied;
            q = MatxMat(increment, q);
            trace(nav, "    Salto: %8.2f \n", sampleTable[k].time);
        }
        attitudeTable[k] = MatxMat(q, attitudeTable[k]);
        if (k == b)
            break;
    }
}

void CNavikor::AplicarCorreccionACI(long a, long b, CARTXYZ c, double step)
{
    if (!hasSamples(*this) || !attitudeTable)
        return;
    a = clampIndex(*this, a);
    b = clampIndex(*this, b);
    const double len = Vnorma(c);
    const long increments = static_cast<long>(std::floor(len / step + 0.5));
    if (increments <= 0 || len == 0)
        return;  // smaller than half a step: nothing to spread
    const long dir = b >= a ? 1 : -1;
    // Weight 1/|sin Devi|: low inclinations, where azimuth is poorly defined, take more of it.
    // A sample at exactly vertical would weigh infinitely; its weight is capped.
    auto weight = [&](long k) {
        const double m8 = attitudeTable[k].m[8];
        const double s = std::sqrt(std::max(0.0, 1 - m8 * m8));
        return 1 / std::max(s, 1e-6);
    };
    double total = 0;
    long lastMoving = -1;
    for (long k = a;; k += dir) {
        if (!inStop(sampleTable[k])) {
            total += weight(k);
            lastMoving = k;
        }
        if (k == b)
            break;
    }
    if (total == 0)
        return;
    // Increments fall where the accumulated weight crosses each share of the total: a heavy
    // sample carries several, the excess over a share is kept, and the last moving sample
    // takes what rounding left, so the whole correction is in place at the station.
    const MATXYZ increment = Rotation_To_Matrix(c, 1.0 / static_cast<double>(increments));
    const double perIncrement = total / static_cast<double>(increments);
    double acc = std::floor(perIncrement / 2);
    long applied = 0;
    MATXYZ q = MatrizUnitaria();
    for (long k = a;; k += dir) {
        if (!inStop(sampleTable[k])) {
            acc += weight(k);
            long due = 0;
            if (k == lastMoving)
                due = increments - applied;
            else if (acc >= perIncrement)
                due = std::min(static_cast<long>(acc / perIncrement), increments - applied);
            acc -= static_cast<double>(due) * perIncrement;
            for (long i = 0; i < due; ++i) {
                q = MatxMat(increment, q);
                trace(*this, "    Salto: %8.2f \n", sampleTable[k].time);
            }
            applied += due;
        }
        attitudeTable[k] = MatxMat(q, attitudeTable[k]);
        if (k == b)
            break;
    }
}
