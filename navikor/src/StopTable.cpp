// The continuous-mode station table: sorting, sample flags, reference lists, drift tables and
// the attitudes written for station samples; the sample-time search and the attitude lookups.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "ContinuousDetail.h"
#include "Constants.h"

#include <algorithm>

using namespace navikor;

MATXYZ navikor::stationImuAttitude(CNavikor& nav, const POS_PARAM& wellAttitude, long k)
{
    const MATXYZ housing = nav.WELLaHOUSING(Param2Matrix(wellAttitude));
    return nav.HOUSINGaIMU(nav.AjustePOSenMAT(nav.sampleTable[k].rotpos, 0, housing));
}

long navikor::movingSamplesBetween(const CNavikor& nav, long a, long b)
{
    if (!hasSamples(nav))
        return 0;
    if (a > b)
        std::swap(a, b);
    a = clampIndex(nav, a);
    b = clampIndex(nav, b);
    long n = 0;
    for (long k = a; k <= b; ++k)
        n += inStop(nav.sampleTable[k]) ? 0 : 1;
    return n;
}

void CNavikor::OrdenarTabla()
{
    // Stable and in place: equal start times keep their order.
    for (int i = 1; i < stopCount; ++i) {
        const StationRecord rec = stopTable[i];
        int j = i - 1;
        for (; j >= 0 && stopTable[j].start > rec.start; --j)
            stopTable[j + 1] = stopTable[j];
        stopTable[j + 1] = rec;
    }
}

long CNavikor::BuscarIndex(double t)
{
    if (!hasSamples(*this) || t <= sampleTable[0].time)
        return 0;
    const long last = sampleCount - 1;
    if (t >= sampleTable[last].time)
        return last;
    // First i with t <= time[i + 1]; then the nearer of i and i + 1 (i + 1 on a tie).
    const MUESTRA* hit = std::lower_bound(sampleTable + 1, sampleTable + sampleCount, t,
                                          [](const MUESTRA& s, double v) { return s.time < v; });
    const long i = (hit - sampleTable) - 1;
    return (t - sampleTable[i].time < sampleTable[i + 1].time - t) ? i : i + 1;
}

int CNavikor::ProcesarTABLA()
{
    OrdenarTabla();
    if (hasSamples(*this))
        for (int k = 0; k < sampleCount; ++k)
            sampleTable[k].inStop = 0;
    ResetDrifts(true, true, true);
    attitudeStationCount = 0;
    driftStopCount = 0;

    for (int i = 0; i < stopCount; ++i) {
        StationRecord& st = stopTable[i];
        const long first = BuscarIndex(st.start), last = BuscarIndex(st.end);
        setStationIndexes(st, static_cast<std::int32_t>(first), static_cast<std::int32_t>(last));
        if (hasSamples(*this))
            for (long k = first; k <= last; ++k)
                setInStop(sampleTable[k]);

        bool attitude = false, driftOnly = false, allAxes = false, zOnly = false;
        switch (st.kind) {
        case 0: case 2: attitude = allAxes = true; break;
        case 1: driftOnly = allAxes = true; break;
        case 3: case 4: driftOnly = zOnly = true; break;
        case 5: attitude = zOnly = true; break;
        default: break;
        }
        if (attitude)
            attitudeStations[attitudeStationCount++] = i;
        if (driftOnly)
            driftStops[driftStopCount++] = i;
        const double mid = (st.start + st.end) / 2;
        if (allAxes) {
            SetGyroDrift(mid, st.result.bias.x, 0);
            SetGyroDrift(mid, st.result.bias.y, 1);
        }
        if (allAxes || zOnly)
            SetGyroDrift(mid, st.result.bias.z, 2);

        if (attitude && hasSamples(*this) && attitudeTable) {
            const MATXYZ w = WELLaHOUSING(Param2Matrix(st.result.attitude));
            const POS_PARAM wp = Matrix2Param(w);
            const long end = std::min<long>(last + 1, sampleCount - 1);
            for (long k = first; k <= end; ++k)
                attitudeTable[k] = HOUSINGaIMU(Param2Matrix(AjustePOSenPARAM(sampleTable[k].rotpos, 0, wp)));
        }
    }
    // Stations sorted by start give drift pairs in time order unless stations overlap.
    OrdenaDrifts();
    return 0;
}

int CNavikor::EncontrarPStopSiguiente(int low, int high)
{
    // The drift-only stop that begins first within [low, high].
    int best = -1;
    for (int n = 0; n < driftStopCount; ++n) {
        const int i = driftStops[n];
        const int f = stationFirst(stopTable[i]);
        if (f >= low && f <= high && (best < 0 || f < stationFirst(stopTable[best])))
            best = i;
    }
    return best;
}

int CNavikor::EncontrarPStopAnterior(int low, int high)
{
    // The drift-only stop that ends last within [low, high].
    int best = -1;
    for (int n = 0; n < driftStopCount; ++n) {
        const int i = driftStops[n];
        const int l = stationLast(stopTable[i]);
        if (l >= low && l <= high && (best < 0 || l > stationLast(stopTable[best])))
            best = i;
    }
    return best;
}

void CNavikor::SetGyroDrift(double time, double value, int axis)
{
    if (axis < 0 || axis > 2)
        return;
    // Up to kTableSize pairs; once full, later appends overwrite the last pair.
    int& n = driftCount[axis];
    const int at = n < kTableSize ? n : kTableSize - 1;
    driftTime[axis][at] = time;
    driftValue[axis][at] = value;
    if (n < kTableSize)
        ++n;
}

void CNavikor::ResetDrifts(bool x, bool y, bool z)
{
    if (x)
        driftCount[0] = 0;
    if (y)
        driftCount[1] = 0;
    if (z)
        driftCount[2] = 0;
}

void CNavikor::OrdenaDrifts()
{
    for (int a = 0; a < 3; ++a) {
        const int n = driftCount[a];
        // Insertion sort: stable, and the tables are almost always sorted already.
        for (int i = 1; i < n; ++i) {
            const double t = driftTime[a][i], v = driftValue[a][i];
            int j = i - 1;
            for (; j >= 0 && driftTime[a][j] > t; --j) {
                driftTime[a][j + 1] = driftTime[a][j];
                driftValue[a][j + 1] = driftValue[a][j];
            }
            driftTime[a][j + 1] = t;
            driftValue[a][j + 1] = v;
        }
    }
}

CARTXYZ navikor::driftAt(const CNavikor& nav, double t, int cursor[3])
{
    double out[3] = {0, 0, 0};
    for (int a = 0; a < 3; ++a) {
        const int n = nav.driftCount[a];
        if (n < 1)
            continue;
        const double* T = nav.driftTime[a];
        const double* V = nav.driftValue[a];
        if (t <= T[0]) {
            out[a] = V[0];
        } else if (t >= T[n - 1]) {
            out[a] = V[n - 1];
        } else {
            int i = cursor[a];  // T[i-1] <= t < T[i]
            if (i < 1 || i >= n || !(T[i - 1] <= t && t < T[i]))
                i = cursor[a] = static_cast<int>(std::upper_bound(T, T + n, t) - T);
            out[a] = V[i - 1] + (V[i] - V[i - 1]) * (t - T[i - 1]) / (T[i] - T[i - 1]);
        }
    }
    return CARTXYZ(out[0], out[1], out[2]);
}

CARTXYZ CNavikor::GetGyroDrift(double t)
{
    int cursor[3] = {0, 0, 0};
    return driftAt(*this, t, cursor);
}

long navikor::nextStationSample(const CNavikor& nav, long from)
{
    long best = -1;
    for (int i = 0; i < nav.stopCount; ++i) {
        const long f = stationFirst(nav.stopTable[i]), l = stationLast(nav.stopTable[i]);
        const long hit = from >= f && from <= l ? from : f;
        if (hit >= from && (best < 0 || hit < best))
            best = hit;
    }
    return best;
}

long navikor::previousStationSample(const CNavikor& nav, long from)
{
    long best = -1;
    for (int i = 0; i < nav.stopCount; ++i) {
        const long f = stationFirst(nav.stopTable[i]), l = stationLast(nav.stopTable[i]);
        const long hit = from >= f && from <= l ? from : l;
        if (hit <= from && hit > best)
            best = hit;
    }
    return best;
}

double CNavikor::IMUPOSindex(long index, POS_PARAM* out)
{
    if (!hasSamples(*this) || !attitudeTable) {
        if (out)
            *out = POS_PARAM{};
        return 0;
    }
    const long k = clampIndex(*this, index);
    if (out)
        *out = Matrix2Param(attitudeTable[k]);
    return sampleTable[k].time;
}

double CNavikor::HOUSINGPOSindex(long index, POS_PARAM* out)
{
    POS_PARAM p;
    const double t = IMUPOSindex(index, &p);
    if (out)
        *out = hasSamples(*this) && attitudeTable ? IMUaHOUSINGPOS(p) : p;
    return t;
}

namespace {

// Within this of vertical (1 - |cos I|) the angle round trips below are what defines the
// toolface; away from it they are plain rotations and are done as such.
constexpr double kClearOfVertical = 1e-4;

// The toolface turned by 'turn' radians about the hole axis: what AjustePOSenPARAM does to the
// angles, done to the matrix (its x and y columns turn about its z column).
MATXYZ turnedAboutHoleAxis(const MATXYZ& m, double turn)
{
    const double c = std::cos(turn), s = std::sin(turn);
    MATXYZ r;
    for (int row = 0; row < 3; ++row) {
        const double x = m.m[3 * row], y = m.m[3 * row + 1];
        r.m[3 * row] = c * x - s * y;
        r.m[3 * row + 1] = s * x + c * y;
        r.m[3 * row + 2] = m.m[3 * row + 2];
    }
    return r;
}

} // namespace

double CNavikor::WELLPOSindex(long index, POS_PARAM* out)
{
    if (!hasSamples(*this) || !attitudeTable)
        return IMUPOSindex(index, out);
    const long k = clampIndex(*this, index);
    const double turn = -toRad(sampleTable[k].rotpos);
    // One attitude per sample of a whole session: the matrix path keeps the angle conversions
    // to one where the attitude is clear of vertical.
    const MATXYZ housing = MatxMat(attitudeTable[k], imuToHousing);
    POS_PARAM p;
    if (1 - std::fabs(housing.m[8]) > kClearOfVertical) {
        p = Matrix2Param(MatxMat(turnedAboutHoleAxis(housing, turn), housingToWell));
    } else {
        IMUPOSindex(index, &p);
        p = HOUSINGaWELLPOS(AjustePOSenPARAM(0, sampleTable[k].rotpos, IMUaHOUSINGPOS(p)));
    }
    if (out)
        *out = p;
    return sampleTable[k].time;
}

long CNavikor::IMUPOStiempo(double time, POS_PARAM* out)
{
    const long k = BuscarIndex(time);
    IMUPOSindex(k, out);
    return k;
}

long CNavikor::HOUSINGPOStiempo(double time, POS_PARAM* out)
{
    const long k = BuscarIndex(time);
    HOUSINGPOSindex(k, out);
    return k;
}

long CNavikor::WELLPOStiempo(double time, POS_PARAM* out)
{
    const long k = BuscarIndex(time);
    WELLPOSindex(k, out);
    return k;
}

int CNavikor::ProcesarProfundidad(int) { return 0; }

int CNavikor::InferirProfundidad() { return 0; }
