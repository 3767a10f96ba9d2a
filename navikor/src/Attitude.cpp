// The small attitude functions around the station: gravity-only inclination, closed-form
// real-time attitude, levelling of gyro readings and latitude inference.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "Constants.h"

#include <cmath>

using namespace navikor;

POS_PARAM CNavikor::CalcularDeviHstf(CARTXYZ a, double* magnitudeFactor)
{
    const double n = Vnorma(a);
    if (magnitudeFactor)
        *magnitudeFactor = n > 1 ? 1 / n : n;
    const double x = a.x / n, y = a.y / n, z = a.z / n;
    POS_PARAM p;
    p.Devi = std::fabs(std::atan(std::sqrt(x * x + y * y) / z));
    if (z > 0)
        p.Devi = kPi - p.Devi;
    if (x == 0) {
        p.Hstf = y > 0 ? kThreeHalfPi : kHalfPi;
    } else {
        p.Hstf = std::atan(y / x);
        if (x > 0)
            p.Hstf += kPi;
        if (p.Hstf < 0)
            p.Hstf += kTwoPi;
    }
    return p;
}

POS_PARAM CNavikor::CalcularDeviHstfRaw(CARTXYZ raw, CARTXYZ t, double* magnitudeFactor)
{
    return CalcularDeviHstf(CalibrarAcel(raw, t), magnitudeFactor);
}

double CNavikor::CalculaQC(double u)
{
    if (u < 0.4)
        return 100;
    return 100 / ((u - 0.4) / 2.4 / 1.5 + 1);
}

POS_PARAM CNavikor::CalcularParamRT(CARTXYZ a, CARTXYZ g)
{
    POS_PARAM p;
    const double L = std::sqrt(a.x * a.x + a.y * a.y);
    p.Devi = std::fabs(std::atan(L / a.z));
    if (a.z > 0)
        p.Devi = kPi - p.Devi;

    const double N = g.x / kEarthRate;
    const double O = (g.y / kEarthRate - N * rtScaleU) / rtScaleV;
    const double sLat = std::sin(latitudeRad);
    const CARTXYZ v = MatxVect(rtMatrixA, a);
    const double W = -(sLat + v.y * O + v.x * N) / v.z;
    const CARTXYZ e = MatxVect(rtMatrixB, CARTXYZ(N, O, W));

    // The azimuth is the polar angle of (-den, -num), the toolface that of (den, num): with the
    // two-argument form a zero denominator (exactly east or west) of either sign gives the
    // right quadrant. A vertical tool has no azimuth, and Tf alone holds its heading.
    const double azDen = a.z * sLat + e.z, azNum = a.x * e.y - a.y * e.x;
    p.Azi = L == 0 ? 0 : std::max(VectorAngle(-azDen, -azNum), 0.0);

    if (a.x == 0) {
        // polar angle of (-a_x, -a_y) on the y axis
        p.Hstf = a.y > 0 ? kThreeHalfPi : kHalfPi;
    } else {
        p.Hstf = std::atan(a.y / a.x);
        if (a.x > 0)
            p.Hstf += kPi;
        else if (a.y > 0)
            p.Hstf += kTwoPi;
    }

    p.Tf = std::max(VectorAngle(e.x + a.x * sLat, a.y * e.z - a.z * e.y), 0.0);
    return p;
}

namespace {

double dot(const CARTXYZ& a, const CARTXYZ& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Latitude (degrees) implied by the angle between the earth-rate vector g and the gravity a.
double impliedLatitude(const CARTXYZ& g, const CARTXYZ& a, double na)
{
    return toDeg(clampedAcos(dot(a, g) / (na * kEarthRate))) - 90;
}

// Rotates g so that the tool frame whose gravity reading is a becomes level.
CARTXYZ level(const CARTXYZ& g, const CARTXYZ& a, double na)
{
    const double D = toDeg(clampedAcos(-a.z / na));
    const double t = VectorAngle(a.x, a.y) + kHalfPi;
    return MatxVect(Rotation_To_Matrix(CARTXYZ(std::cos(t) * D, std::sin(t) * D, 0), 1), g);
}

double missingVertical(const CARTXYZ& g)
{
    if (std::sqrt(g.x * g.x + g.y * g.y) >= kEarthRate)
        return 0;
    return std::sqrt(kEarthRateSquared - g.x * g.x - g.y * g.y);
}

} // namespace

CARTXYZ CNavikor::HorizontalizarGyros(CARTXYZ g, CARTXYZ a)
{
    const double na = Vnorma(a);
    if (std::fabs(a.z / na) >= 1)
        return g;
    const double m = missingVertical(g);
    double z = 0;
    if (m != 0) {
        const double up = impliedLatitude(CARTXYZ(g.x, g.y, m), a, na);
        const double down = impliedLatitude(CARTXYZ(g.x, g.y, -m), a, na);
        z = std::fabs(up - latitude) > std::fabs(down - latitude) ? -m : m;
    }
    return level(CARTXYZ(g.x, g.y, z), a, na);
}

CARTXYZ CNavikor::CalcularHER(CARTXYZ g, CARTXYZ a)
{
    const double na = Vnorma(a);
    if (std::fabs(a.z / na) >= 1)
        return g;
    const double m = missingVertical(g);
    CARTXYZ chosen = MatxVect(rtMatrixB, CARTXYZ(g.x, g.y, 0));
    if (m != 0) {
        const CARTXYZ up = MatxVect(rtMatrixB, CARTXYZ(g.x, g.y, m));
        const CARTXYZ down = MatxVect(rtMatrixB, CARTXYZ(g.x, g.y, -m));
        const double latUp = impliedLatitude(up, a, na), latDown = impliedLatitude(down, a, na);
        chosen = std::fabs(latUp - latitude) > std::fabs(latDown - latitude) ? down : up;
    }
    return level(chosen, a, na);
}

bool CNavikor::CalcularHERdual(CARTXYZ g, CARTXYZ a, CARTXYZ* out1, CARTXYZ* out2)
{
    const double na = Vnorma(a);
    CARTXYZ r1 = g, r2 = g;
    if (std::fabs(a.z / na) < 1) {
        const double m = missingVertical(g);
        r1 = level(MatxVect(rtMatrixB, CARTXYZ(g.x, g.y, m)), a, na);
        r2 = level(MatxVect(rtMatrixB, CARTXYZ(g.x, g.y, -m)), a, na);
    }
    if (out1)
        *out1 = r1;
    if (out2)
        *out2 = r2;
    return true;
}

bool CNavikor::InferirLatitud(ESTACIONin s0, ESTACIONin s1, double* low, double* high)
{
    if (std::fabs(s1.rotpos - s0.rotpos - 180) > 5)
        return false;
    const double u = (s0.gyro.x - s1.gyro.x) / 2 / kEarthRate;
    const double v = ((s0.gyro.y - s1.gyro.y) / 2 / kEarthRate - u * rtScaleU) / rtScaleV;
    CARTXYZ d1, d2;
    if (u * u + v * v < 1) {
        const double w = std::sqrt(1 - u * u - v * v);
        d1 = CARTXYZ(u, v, w);
        d2 = CARTXYZ(u, v, -w);
    } else {
        const double n = std::sqrt(u * u + v * v);
        d1 = d2 = CARTXYZ(u / n, v / n, 0);
    }
    const double na = Vnorma(s0.acel);
    const CARTXYZ ua(s0.acel.x / na, s0.acel.y / na, s0.acel.z / na);
    const double l1 = clampedAcos(dot(MatxVect(rtMatrixB, d1), ua)) * kRadToDegExact - 90;
    const double l2 = clampedAcos(dot(MatxVect(rtMatrixB, d2), ua)) * kRadToDegExact - 90;
    if (low)
        *low = l1 < l2 ? l1 : l2;
    if (high)
        *high = l1 < l2 ? l2 : l1;
    return true;
}

namespace {

int addRecord(StationRecord* table, int* count, const StationRecord& rec)
{
    if (*count >= CNavikor::kTableSize)
        return -1;
    table[*count] = rec;
    return ++*count;
}

} // namespace

int CNavikor::AgregarEstacionSimple(ESTACIONin station)
{
    StationRecord rec;
    rec.pos0 = station;
    return addRecord(simpleTable, &simpleCount, rec);
}

int CNavikor::AgregarEstacionDif(ESTACIONin first, ESTACIONin second)
{
    StationRecord rec;
    rec.pos0 = first;
    rec.pos1 = second;
    return addRecord(dualTable, &dualCount, rec);
}

int CNavikor::AgregarParada(ESTACIONout result, int kind, ESTACIONin first, ESTACIONin second, double start,
                            double end, double last)
{
    StationRecord rec;
    rec.result = result;
    rec.pos0 = first;
    rec.pos1 = second;
    rec.kind = kind;
    rec.start = start;
    rec.end = end;
    rec.last = last;
    return addRecord(stopTable, &stopCount, rec);
}
