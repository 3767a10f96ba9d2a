// Roll test evaluation and the estimation of the IMU and housing mountings.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "Constants.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace navikor;

namespace {

double foldSigned(double deg)
{
    return deg > 180 ? deg - 360 : deg;
}

// The roll slot (0..7) of each of the eight stations, or false when a quadrant does not hold
// exactly two stations.
bool assignSlots(const StationRecord* st, const double* hstf, double reference, int slots[8])
{
    std::fill(slots, slots + 8, -1);
    for (int i = 0; i < 8; ++i) {
        double d = hstf[i] - reference;
        if (d < 0)
            d += 360;
        if (d > 315)
            d -= 360;
        int q = 0;
        while (std::fabs(d) > 45 && q < 3) {
            d -= 90;
            ++q;
        }
        if (slots[q] < 0) {
            slots[q] = i;
            continue;
        }
        if (slots[q + 4] >= 0)
            return false;
        const ESTACIONin& held = st[slots[q]].pos0;
        const ESTACIONin& now = st[i].pos0;
        bool newTakesFirst = false;
        switch (q) {
        case 0: newTakesFirst = now.gyro.y >= held.gyro.y; break;  // larger gy first
        case 1: newTakesFirst = now.gyro.x <= held.gyro.x; break;  // smaller gx first
        case 2: newTakesFirst = now.gyro.y <= held.gyro.y; break;  // smaller gy first
        default: newTakesFirst = now.gyro.x >= held.gyro.x; break; // larger gx first
        }
        if (newTakesFirst) {
            slots[q + 4] = slots[q];
            slots[q] = i;
        } else {
            slots[q + 4] = i;
        }
    }
    return std::none_of(slots, slots + 8, [](int s) { return s < 0; });
}

// Tilt and direction (degrees) of a first-harmonic fit a sin H + b cos H of a deviation change.
void tiltFromFit(double a, double b, double limit, double* tilt, double* direction)
{
    *tilt = std::sqrt(a * a + b * b) / 2;
    if (*tilt > limit)
        *tilt = 0.0001;
    if (b == 0) {
        *direction = a < 0 ? 270 : 90;
        return;
    }
    double d = toDeg(std::atan(a / b));
    if (b < 0)
        d += 180;
    if (d < 0)
        d += 360;
    *direction = d;
}

} // namespace

namespace {

struct RollReadings {
    double gx[8], gy[8];
    double tminX = 1e300, tmaxX = -1e300, tminY = 1e300, tmaxY = -1e300;
};

RollReadings rollReadings(const StationRecord* table, const int slot[8])
{
    RollReadings r;
    for (int j = 0; j < 8; ++j) {
        const ESTACIONin& s = table[slot[j]].pos0;
        r.gx[j] = s.gyro.x;
        r.gy[j] = s.gyro.y;
        r.tminX = std::min(r.tminX, s.gyroTemp.x);
        r.tmaxX = std::max(r.tmaxX, s.gyroTemp.x);
        r.tminY = std::min(r.tminY, s.gyroTemp.y);
        r.tmaxY = std::max(r.tmaxY, s.gyroTemp.y);
    }
    return r;
}

// Scale ratios and the vertical and horizontal terms of both gyros against the earth rate.
void rollTerms(const RollReadings& in, double Rx, double Ry, double latitudeRad, ROLLTESTres* r)
{
    const double* gx = in.gx;
    const double* gy = in.gy;
    const double E = kEarthRate, cphi = std::cos(latitudeRad), sphi = std::sin(latitudeRad);
    const double cx = std::cos(toRad(Rx)), sx = std::sin(toRad(Rx));
    const double cy = std::cos(toRad(Ry)), sy = std::sin(toRad(Ry));
    r->Sx = cphi / (sx * (gx[4] - gx[0] - (gx[6] - gx[2])) / 4 + cx * (gx[5] - gx[1] - (gx[7] - gx[3])) / 4) * E;
    const double A = gx[5] + gx[1], B = gx[7] + gx[3], D = (gx[6] + gx[2] - (gx[4] + gx[0])) / 4;
    r->Vx = sx * (A - B) / 4 + cx * D + sphi * E;
    r->Hx = cx * (B - A) / 4 + sx * D;
    r->Sy = cphi / (sy * (gy[5] - gy[1] - (gy[7] - gy[3])) / 4 + cy * (gy[6] - gy[2] - (gy[4] - gy[0])) / 4) * E;
    const double Y = gy[5] + gy[1], Z = gy[7] + gy[3], F = (gy[6] + gy[2] - (gy[0] + gy[4])) / 4;
    r->Hy = sy * (Y - Z) / 4 + cy * F;
    r->Vy = cy * (Z - Y) / 4 + sy * F + sphi * E;
}

// Means, pair averages, residuals against the calibration and the temperature ranges.
void rollSummary(const RollReadings& in, const Gyro_CAL& cal, ROLLTESTres* r)
{
    double sumX = 0, sumY = 0;
    for (int j = 0; j < 8; ++j) {
        sumX += in.gx[j];
        sumY += in.gy[j];
    }
    r->meanGx = r->meanGx2 = sumX / 8;
    r->meanGy = r->meanGy2 = sumY / 8;
    for (int q = 0; q < 4; ++q) {
        const int i0 = q < 2 ? q : q + 2;  // pairs (0,2), (1,3), (4,6), (5,7)
        r->pairGx[q] = (in.gx[i0] + in.gx[i0 + 2]) / 2;
        r->pairGy[q] = (in.gy[i0] + in.gy[i0 + 2]) / 2;
    }
    r->SxError = r->Sx - 1;
    r->VxError = r->Vx - cal.gravity.Gx[0];
    r->HxError = r->Hx - cal.gravity.Gx[1];
    r->SyError = r->Sy - 1;
    r->HyError = r->Hy - cal.gravity.Gy[0];
    r->VyError = r->Vy - cal.gravity.Gy[1];
    r->pairDiffGx[0] = std::fabs(r->pairGx[0] - r->pairGx[1]);
    r->pairDiffGx[1] = std::fabs(r->pairGx[2] - r->pairGx[3]);
    r->pairDiffGy[0] = std::fabs(r->pairGy[0] - r->pairGy[1]);
    r->pairDiffGy[1] = std::fabs(r->pairGy[2] - r->pairGy[3]);
    r->zero = 0;
    r->tempX[0] = (in.tminX + in.tmaxX) / 2;
    r->tempX[1] = in.tminX;
    r->tempX[2] = in.tmaxX;
    r->tempY[0] = (in.tminY + in.tmaxY) / 2;
    r->tempY[1] = in.tminY;
    r->tempY[2] = in.tmaxY;
}

// Fits dD = a sin H + b cos H (two rows) or k + a sin H + b cos H (more) to rows of
// (dD, H, 1, sin H, cos H).
void fitFirstHarmonic(const std::vector<double>& fit, double* a, double* b)
{
    const size_t rows = fit.size() / 5;
    if (rows == 2) {
        double r2[6];
        for (size_t i = 0; i < 2; ++i) {
            r2[3 * i] = fit[5 * i + 3];
            r2[3 * i + 1] = fit[5 * i + 4];
            r2[3 * i + 2] = fit[5 * i];
        }
        double out[2];
        least_squares_fit2(r2, 2, out);
        *a = out[0];
        *b = out[1];
        return;
    }
    std::vector<double> r3(4 * rows);
    for (size_t i = 0; i < rows; ++i) {
        r3[4 * i] = 1;
        r3[4 * i + 1] = fit[5 * i + 3];
        r3[4 * i + 2] = fit[5 * i + 4];
        r3[4 * i + 3] = fit[5 * i];
    }
    double out[3];
    least_squares_fit3(r3.data(), static_cast<int>(rows), out);
    *a = out[1];
    *b = out[2];
}

} // namespace

bool CNavikor::ProcesarRollTest(ROLLTESTres* result)
{
    if (simpleCount != 8 || !result)
        return false;
    double hstf[8];
    for (int i = 0; i < 8; ++i)
        hstf[i] = foldSigned(toDeg(CalcularDeviHstf(simpleTable[i].pos0.acel, nullptr).Hstf));
    double reference = hstf[0];
    for (int i = 1; i < 8; ++i)
        if (std::fabs(hstf[i]) < std::fabs(reference))
            reference = hstf[i];
    int slot[8];
    if (!assignSlots(simpleTable, hstf, reference, slot))
        return false;

    const RollReadings in = rollReadings(simpleTable, slot);
    const double meanTx = (in.tminX + in.tmaxX) / 2, meanTy = (in.tminY + in.tmaxY) / 2;
    const Gyro_CAL cal = GetGyroCAL(CARTXYZ(meanTx, meanTy, meanTx));

    // Roll reference of each gyro: the reference toolface corrected by the gyro's lean in the block.
    const double* m = gyroToMec.m;
    const double a1 = std::atan((m[2] * m[7] - m[1] * m[8]) / (m[8] * m[4] - m[7] * m[5]));
    const double a2 = std::atan((m[6] * m[5] - m[3] * m[8]) / (m[8] * m[0] - m[6] * m[2]));
    ROLLTESTres r;
    r.Rx = reference - toDeg(a1);
    r.Ry = reference + toDeg(a2);
    rollTerms(in, r.Rx, r.Ry, latitudeRad, &r);
    rollSummary(in, cal, &r);
    *result = r;
    return true;
}

double CNavikor::CalcularDeltaDev()
{
    if (dualCount <= 0)
        return 0;
    double sum = 0;
    for (int i = 0; i < dualCount; ++i) {
        const double d0 = IMUaHOUSINGPOS(CalcularDeviHstf(dualTable[i].pos0.acel, nullptr)).Devi;
        const double d1 = IMUaHOUSINGPOS(CalcularDeviHstf(dualTable[i].pos1.acel, nullptr)).Devi;
        sum += std::fabs(toDeg(d0) - toDeg(d1));
    }
    return sum / dualCount;
}

bool CNavikor::CalcularEjeGiroA(ESTACIONin s0, ESTACIONin s1, CARTXYZ* axis)
{
    if (std::fabs(s1.rotpos - s0.rotpos - 180) > 5)
        return false;
    const double n0 = Vnorma(s0.acel), n1 = Vnorma(s1.acel);
    const CARTXYZ sum(s0.acel.x / n0 + s1.acel.x / n1, s0.acel.y / n0 + s1.acel.y / n1, s0.acel.z / n0 + s1.acel.z / n1);
    if (std::fabs(sum.z) < 1)
        return false;  // not a near-vertical tool
    const double n = Vnorma(sum);
    if (axis)
        *axis = CARTXYZ(sum.x / n, sum.y / n, sum.z / n);
    return true;
}

bool CNavikor::CalcularEjeGiroG(CARTXYZ g1, CARTXYZ g2, CARTXYZ g3, CARTXYZ t, CARTXYZ* axis, double seconds)
{
    if (seconds > 30)
        return false;
    const Gyro_CAL c = GetGyroCAL(t);
    const CARTXYZ d((g3.x - (g1.x + g2.x) / 2) * c.gain.x, (g3.y - (g1.y + g2.y) / 2) * c.gain.y,
                    (g3.z - (g1.z + g2.z) / 2) * c.gain.z);
    const CARTXYZ w = GYROaMEC(d);
    const double n = Vnorma(w);
    if (seconds * n < 360000)
        return false;  // less than 100 degrees of turn
    CARTXYZ u(w.x / n, w.y / n, w.z / n);
    if (w.z < 0)
        u = CARTXYZ(-u.x, -u.y, -u.z);
    if (axis)
        *axis = u;
    return true;
}

bool CNavikor::CalcularEjeGiroM()
{
    if (dualCount <= 0)
        return false;
    CalcularDeltaDev();
    std::vector<CARTXYZ> axes;
    std::vector<double> fit;  // rows of (dD, H, 1, sin H, cos H)
    for (int i = 0; i < dualCount; ++i) {
        const StationRecord& st = dualTable[i];
        const POS_PARAM p0 = CalcularDeviHstf(st.pos0.acel, nullptr);
        if (toDeg(p0.Devi) < 5) {
            CARTXYZ ax;
            if (CalcularEjeGiroA(st.pos0, st.pos1, &ax))
                axes.push_back(ax);
        } else if (fit.size() / 5 < static_cast<size_t>(kTableSize)) {
            const POS_PARAM p1 = CalcularDeviHstf(st.pos1.acel, nullptr);
            const double row[5] = {toDeg(p0.Devi) - toDeg(p1.Devi), toDeg(p0.Hstf), 1, std::sin(p0.Hstf),
                                   std::cos(p0.Hstf)};
            fit.insert(fit.end(), row, row + 5);
        }
    }
    const size_t rows = fit.size() / 5;
    if (!axes.empty()) {
        CARTXYZ sum;
        for (const CARTXYZ& a : axes)
            sum = sum + a;
        if (sum.z < 0)
            sum = CARTXYZ(-sum.x, -sum.y, -sum.z);
        Axis ax;
        ax.x = sum.x;
        ax.y = sum.y;
        ax.z = sum.z;
        ax.Normalizar();
        ax.EjeaAngulo();
        SetIMU2HOUSING(ax.Tilt, ax.Direction);
        CalcularDeltaDev();
        if (rows < 2 * axes.size())
            return true;
    }
    if (rows <= 1)
        return false;
    double a = 0, b = 0;
    fitFirstHarmonic(fit, &a, &b);
    double tilt = 0, direction = 0;
    tiltFromFit(a, b, 2, &tilt, &direction);
    SetIMU2HOUSING(tilt, direction);
    CalcularDeltaDev();
    return true;
}

int CNavikor::ProcesoEjesLABCAL(POS_PARAM p[8])
{
    double rows[16];
    for (int i = 0; i < 4; ++i) {
        const POS_PARAM& f = p[2 * i];
        const POS_PARAM& s = p[2 * i + 1];
        rows[4 * i] = 1;
        rows[4 * i + 1] = std::sin(f.Hstf);
        rows[4 * i + 2] = std::cos(f.Hstf);
        rows[4 * i + 3] = toDeg(f.Devi) - toDeg(s.Devi);
    }
    double out[3];
    double tilt = 0, direction = 0;
    least_squares_fit3(rows, 4, out);
    tiltFromFit(out[1], out[2], 2, &tilt, &direction);
    SetIMU2HOUSING(tilt, direction);

    for (int i = 0; i < 4; ++i) {
        const POS_PARAM q = Matrix2Param(MatxMat(Param2Matrix(p[2 * i]), imuToHousing));
        rows[4 * i] = 1;
        rows[4 * i + 1] = std::sin(q.Hstf);
        rows[4 * i + 2] = std::cos(q.Hstf);
        rows[4 * i + 3] = toDeg(q.Devi);
    }
    least_squares_fit3(rows, 4, out);
    tiltFromFit(out[1], out[2], 5, &tilt, &direction);
    SetHOUSING2WELL(tilt, direction);
    return 0;
}
