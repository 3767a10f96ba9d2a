// Temperature-interpolated calibration, alignment matrices, earth rate and the debug file.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "CalibrationMath.h"
#include "Constants.h"

#include <cmath>

using namespace navikor;

namespace {

// Value of one axis at temperature t: first row at or above t settles it (no extrapolation).
// 'settled' tracks which of the three axes (or coefficient groups) are done.
template <typename Row, typename Fetch, typename Store>
void lookupAxes(const Row* rows, int count, const double t[3], Fetch temperatureOf, Store interpolate)
{
    for (int k = 0; k < 3; ++k)
        interpolate(k, count - 1, count - 1, t[k]);
    if (count < 2)
        return;
    bool settled[3] = {false, false, false};
    int left = 3;
    for (int i = 0; i < count && left > 0; ++i) {
        for (int k = 0; k < 3; ++k) {
            if (settled[k] || temperatureOf(rows[i], k) < t[k])
                continue;
            interpolate(k, i == 0 ? 0 : i - 1, i, t[k]);
            settled[k] = true;
            --left;
        }
    }
}

double lerp(double v0, double v1, double t0, double t1, double t)
{
    return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
}

CARTyTEMP lookupTable(const CARTyTEMP* rows, int count, CARTXYZ temps, double fallback)
{
    CARTyTEMP r{fallback, fallback, fallback, temps.x, temps.y, temps.z};
    if (!rows || count <= 0)
        return r;
    const double t[3] = {temps.x, temps.y, temps.z};
    double* out[3] = {&r.x, &r.y, &r.z};
    auto tempOf = [](const CARTyTEMP& row, int k) { return k == 0 ? row.Tx : k == 1 ? row.Ty : row.Tz; };
    auto valueOf = [](const CARTyTEMP& row, int k) { return k == 0 ? row.x : k == 1 ? row.y : row.z; };
    lookupAxes(rows, count, t, tempOf, [&](int k, int i0, int i1, double tk) {
        if (i0 == i1)
            *out[k] = valueOf(rows[i1], k);
        else
            *out[k] = lerp(valueOf(rows[i0], k), valueOf(rows[i1], k), tempOf(rows[i0], k), tempOf(rows[i1], k), tk);
    });
    return r;
}

} // namespace

CARTyTEMP CNavikor::GetAcelOffset(CARTXYZ t) { return lookupTable(acelOffsetTable, acelOffsetCount, t, 0); }
CARTyTEMP CNavikor::GetAcelGain(CARTXYZ t) { return lookupTable(acelGainTable, acelGainCount, t, 1); }
CARTyTEMP CNavikor::GetGyroOffset(CARTXYZ t) { return lookupTable(gyroOffsetTable, gyroOffsetCount, t, 0); }
CARTyTEMP CNavikor::GetGyroGain(CARTXYZ t) { return lookupTable(gyroGainTable, gyroGainCount, t, 1); }

GravParam CNavikor::GetGyroGravity(CARTXYZ temps)
{
    GravParam r;
    r.Tx = temps.x;
    r.Ty = temps.y;
    r.Tz = temps.z;
    if (!gyroGravTable || gyroGravCount <= 0)
        return r;
    const GravParam* rows = gyroGravTable;
    const double t[3] = {temps.x, temps.y, temps.z};
    auto tempOf = [](const GravParam& row, int k) { return k == 0 ? row.Tx : k == 1 ? row.Ty : row.Tz; };
    lookupAxes(rows, gyroGravCount, t, tempOf, [&](int k, int i0, int i1, double tk) {
        const int n = k == 2 ? 6 : 4;
        double* out = k == 0 ? r.Gx : k == 1 ? r.Gy : r.Gz;
        auto group = [k](const GravParam& row) { return k == 0 ? row.Gx : k == 1 ? row.Gy : row.Gz; };
        for (int j = 0; j < n; ++j) {
            if (i0 == i1)
                out[j] = group(rows[i1])[j];
            else
                out[j] = lerp(group(rows[i0])[j], group(rows[i1])[j], tempOf(rows[i0], k), tempOf(rows[i1], k), tk);
        }
    });
    return r;
}

Acel_ACAL CNavikor::GetAcelCal(CARTXYZ t) { return Acel_ACAL{GetAcelGain(t), GetAcelOffset(t)}; }

Gyro_CAL CNavikor::GetGyroCAL(CARTXYZ t) { return Gyro_CAL{GetGyroGravity(t), GetGyroGain(t), GetGyroOffset(t)}; }

CARTXYZ CNavikor::CalibrarAcelSen(CARTXYZ raw, CARTXYZ t)
{
    return applyAcelCal(GetAcelCal(t), raw);
}

CARTXYZ CNavikor::ACELaMEC(CARTXYZ v) { return MatxVect(acelToMec, v); }

CARTXYZ CNavikor::CalibrarAcel(CARTXYZ raw, CARTXYZ t) { return ACELaMEC(CalibrarAcelSen(raw, t)); }

double CNavikor::ACELnorma(CARTXYZ v) { return Vnorma(v); }

CARTXYZ CNavikor::MECaGYRO(CARTXYZ v) { return MatxVect(mecToGyro, v); }

CARTXYZ CNavikor::GYROaMEC(CARTXYZ v) { return MatxVect(gyroToMec, v); }

CARTXYZ CNavikor::CalibrarGyroSen(CARTXYZ raw, CARTXYZ acel, CARTXYZ t)
{
    return applyGyroCal(GetGyroCAL(t), raw, MECaGYRO(acel));
}

CARTXYZ CNavikor::CalibrarGyro(CARTXYZ raw, CARTXYZ acel, CARTXYZ t) { return GYROaMEC(CalibrarGyroSen(raw, acel, t)); }

namespace {

CARTXYZ averageGain(const CARTyTEMP* rows, int count)
{
    CARTXYZ avg(1, 1, 1);
    if (!rows || count < 1)
        return avg;
    CARTXYZ sum;
    for (int i = 0; i < count; ++i)
        sum = sum + CARTXYZ(rows[i].x, rows[i].y, rows[i].z);
    return CARTXYZ(sum.x / count, sum.y / count, sum.z / count);
}

CARTXYZ row(const MATXYZ& m, int i) { return CARTXYZ(m.m[3 * i], m.m[3 * i + 1], m.m[3 * i + 2]); }

void setRow(MATXYZ& m, int i, const CARTXYZ& v)
{
    m.m[3 * i] = v.x;
    m.m[3 * i + 1] = v.y;
    m.m[3 * i + 2] = v.z;
}

CARTXYZ unitCross(const CARTXYZ& a, const CARTXYZ& b)
{
    const CARTXYZ c(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    const double n = Vnorma(c);
    return CARTXYZ(c.x / n, c.y / n, c.z / n);
}

double dot(const CARTXYZ& a, const CARTXYZ& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace

void CNavikor::GetAverage_Acel_Gain() { avgAcelGain = averageGain(acelGainTable, acelGainCount); }

void CNavikor::GetAverage_Gyro_Gain() { avgGyroGain = averageGain(gyroGainTable, gyroGainCount); }

void CNavikor::CalcularMatrices()
{
    mecToGyro = MatInv(gyroToMec);
    setRow(mecToGyro, 2, unitCross(row(mecToGyro, 0), row(mecToGyro, 1)));
    rtMatrixA = mecToGyro;
    setRow(rtMatrixA, 1, unitCross(row(mecToGyro, 2), row(mecToGyro, 0)));
    rtScaleU = dot(row(mecToGyro, 0), row(mecToGyro, 1));
    rtScaleV = dot(row(rtMatrixA, 1), row(mecToGyro, 1));
    rtMatrixB = MatInv(rtMatrixA);
}

void CNavikor::SetLatitud(double degrees)
{
    latitude = degrees;
    latitudeRad = toRad(degrees);
    earthRate = CARTXYZ(kEarthRate * std::cos(latitudeRad), 0, -kEarthRate * std::sin(latitudeRad));
    gravityNed = CARTXYZ(0, 0, 1);
}

double CNavikor::GetLatitud() { return latitude; }
void CNavikor::SetLongitud(double degrees) { longitude = degrees; }
double CNavikor::GetLongitud() { return longitude; }

MATXYZ CNavikor::GiroTierra(double hours)
{
    return Rotation_To_Matrix(CARTXYZ(-earthRate.x, -earthRate.y, -earthRate.z), hours);
}

float CNavikor::GetVersion() { return 1.34f; }

bool CNavikor::AbrirArchivoDebug(const char* path)
{
    CerrarArchivoDebug();  // a second open must not leak the first handle
    debugFile = path ? std::fopen(path, "wb") : nullptr;
    debugOn = true;
    return debugFile != nullptr;
}

bool CNavikor::CerrarArchivoDebug()
{
    if (debugFile)
        std::fclose(debugFile);
    debugFile = nullptr;
    return true;
}
