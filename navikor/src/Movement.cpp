// Continuous-mode movements: building the movement table from the attitude stations and
// integrating the gyros sample by sample between them.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "CalibrationMath.h"
#include "ContinuousDetail.h"
#include "Constants.h"
#include "Trace.h"

#include <algorithm>
#include <cmath>

using namespace navikor;

namespace {

bool sameTemps(const CARTXYZ& a, const CARTXYZ& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Calibration coefficients and the earth-rotation step, looked up again only when the
// temperatures or the sample interval change; the results are those of the full lookups.
struct StepCache {
    bool haveAcel = false, haveGyro = false, haveEarth = false;
    CARTXYZ acelTemp, gyroTemp;
    Acel_ACAL acel;
    Gyro_CAL gyro;
    double dt = 0;
    MATXYZ earth;

    const Acel_ACAL& acelCal(CNavikor& nav, const CARTXYZ& t)
    {
        if (!haveAcel || !sameTemps(t, acelTemp)) {
            acel = nav.GetAcelCal(t);
            acelTemp = t;
            haveAcel = true;
        }
        return acel;
    }
    const Gyro_CAL& gyroCal(CNavikor& nav, const CARTXYZ& t)
    {
        if (!haveGyro || !sameTemps(t, gyroTemp)) {
            gyro = nav.GetGyroCAL(t);
            gyroTemp = t;
            haveGyro = true;
        }
        return gyro;
    }
    const MATXYZ& earthStep(CNavikor& nav, double step)
    {
        if (!haveEarth || step != dt) {
            earth = Rotation_To_Matrix(CARTXYZ(-nav.earthRate.x, -nav.earthRate.y, -nav.earthRate.z), step / 3600);
            dt = step;
            haveEarth = true;
        }
        return earth;
    }
};

// The gyro step of one sample: returns the rate magnitude, or -1 for a saturated sample.
double sampleRotation(CNavikor& nav, const AGPAR& s, const CARTXYZ& drift, double dt, const Acel_ACAL& ac,
                      const Gyro_CAL& gc, MATXYZ* rotation)
{
    if (rawGyroSaturated(s.gyro)) {
        nav.gyroSaturated = true;
        return -1;
    }
    const CARTXYZ a = nav.ACELaMEC(applyAcelCal(ac, s.acel));
    const CARTXYZ g = CartResta(applyGyroCal(gc, s.gyro, nav.MECaGYRO(a)), drift);
    const CARTXYZ w = nav.GYROaMEC(g);
    *rotation = Rotation_To_Matrix(w, dt / 3600);
    nav.integratedAngleAcc += w.z * dt / 3600;
    return Vnorma(g);
}

} // namespace

double CNavikor::ProcesarMuestra(AGPAR s, CARTXYZ drift, double dt, MATXYZ* rotation)
{
    MATXYZ r;
    const double mag = sampleRotation(*this, s, drift, dt, GetAcelCal(s.acelTemp), GetGyroCAL(s.gyroTemp), &r);
    if (mag >= 0 && rotation)
        *rotation = r;
    return mag;
}

MATXYZ CNavikor::AplicarMuestra(AGPAR s, CARTXYZ drift, double dt, MATXYZ attitude, double* magnitude)
{
    MATXYZ r;
    const double mag = ProcesarMuestra(s, drift, dt, &r);
    if (magnitude)
        *magnitude = mag;
    if (mag < 0)
        return attitude;
    const MATXYZ e = Rotation_To_Matrix(CARTXYZ(-earthRate.x, -earthRate.y, -earthRate.z), dt / 3600);
    return MatxMat(e, MatxMat(attitude, r));
}

namespace {

Movimiento newMovement(int kind, double startTime, double endTime)
{
    Movimiento m;
    m.kind = kind;
    m.startTime = startTime;
    m.endTime = endTime;
    m.startAttitude = m.endAttitude = MatrizUnitaria();
    return m;
}

} // namespace

int CNavikor::ProcesarMC()
{
    movementCount = 0;
    if (attitudeStationCount == 0 || !hasSamples(*this) || !attitudeTable)
        return -1;
    auto add = [&](const Movimiento& m) {
        if (movementCount < kTableSize)
            movementTable[movementCount++] = m;
    };
    auto attitudeAt = [&](const StationRecord& st, long k) { return stationImuAttitude(*this, st.result.attitude, k); };

    const StationRecord& firstSt = stopTable[attitudeStations[0]];
    if (stationFirst(firstSt) > 0) {
        Movimiento m = newMovement(1, sampleTable[0].time, firstSt.start);
        m.endAttitude = attitudeAt(firstSt, stationFirst(firstSt));
        m.endStation = firstSt;
        add(m);
    }
    for (int n = 0; n + 1 < attitudeStationCount; ++n) {
        const StationRecord& a = stopTable[attitudeStations[n]];
        const StationRecord& b = stopTable[attitudeStations[n + 1]];
        Movimiento m = newMovement(0, a.end, b.start);
        m.startAttitude = attitudeAt(a, stationLast(a));
        m.endAttitude = attitudeAt(b, stationFirst(b));
        m.startStation = a;
        m.endStation = b;
        add(m);
    }
    const StationRecord& lastSt = stopTable[attitudeStations[attitudeStationCount - 1]];
    if (stationLast(lastSt) < sampleCount - 1) {
        Movimiento m = newMovement(2, lastSt.end, sampleTable[sampleCount - 1].time);
        m.startAttitude = attitudeAt(lastSt, stationLast(lastSt));
        m.startStation = lastSt;
        add(m);
    }
    for (int i = 0; i < movementCount; ++i)
        ProcesarMovimiento(i);
    return 0;
}

namespace {

// Integrates one movement in one direction, with the accelerometer checks and the forced
// corrections at the ends of each stretch of moving samples.
class MovementWalker {
public:
    MovementWalker(CNavikor& nav, Movimiento& mv) : nav_(nav), mv_(mv) {}

    // Forward from 'first' to 'last'; the attitude before each sample is stored at it. Returns
    // the attitude at last + 1 (the caller stores it).
    MATXYZ forward(MATXYZ m, long first, long last)
    {
        lastCorr_ = first;
        beginStretch(first, last, true);
        for (long k = first; k <= last; ++k) {
            MUESTRA& s = nav_.sampleTable[k];
            if (inStop(s)) {
                if (k > first)
                    m = followIndexer(m, nav_.sampleTable[k - 1].rotpos, s.rotpos);
                nav_.attitudeTable[k] = m;
                if (k + 1 <= last && !inStop(nav_.sampleTable[k + 1])) {
                    m = indexerTurnOfStep(m, k, k + 1);
                    lastCorr_ = k + 1;
                    beginStretch(k + 1, last, true);
                }
                continue;
            }
            nav_.attitudeTable[k] = m;
            periodicCheck(k, k, &m);
            integrate(k, nav_.sampleTable[k + 1].time - s.time, &m);
            // A stop sample next follows the indexer itself.
            if (k + 1 > last || !inStop(nav_.sampleTable[k + 1]))
                m = indexerTurnOfStep(m, k, k + 1);
            const bool stretchEnds = k + 1 > last || inStop(nav_.sampleTable[k + 1]);
            if (stretchEnds && sinceCheck_ > 0) {
                MATXYZ ref;
                if (referenceAhead(k + 1, last, &ref))
                    forced(k + 1, ref, &m);
            }
        }
        // Ending in a stop, the attitude was last carried to 'last'; a stop sample after it
        // follows the indexer as within the stop.
        if (inStop(nav_.sampleTable[last]) && inStop(nav_.sampleTable[last + 1]))
            m = followIndexer(m, nav_.sampleTable[last].rotpos, nav_.sampleTable[last + 1].rotpos);
        return m;
    }

    // Backward from 'last' down to 0, starting from the attitude at last + 1; the attitude after
    // each sample is stored at it. Returns the attitude at sample 0.
    MATXYZ backward(MATXYZ m, long last)
    {
        lastCorr_ = last + 1;
        beginStretch(last, 0, false);
        for (long k = last; k >= 0; --k) {
            MUESTRA& s = nav_.sampleTable[k];
            if (inStop(s)) {
                m = followIndexer(m, nav_.sampleTable[k + 1].rotpos, s.rotpos);
                nav_.attitudeTable[k] = m;
                if (k - 1 >= 0 && !inStop(nav_.sampleTable[k - 1])) {
                    lastCorr_ = k;
                    beginStretch(k - 1, 0, false);
                }
                continue;
            }
            periodicCheck(k + 1, k + 1, &m);
            m = indexerTurnOfStep(m, k + 1, k);
            integrate(k, s.time - nav_.sampleTable[k + 1].time, &m);
            nav_.attitudeTable[k] = m;
            const bool stretchEnds = k - 1 < 0 || inStop(nav_.sampleTable[k - 1]);
            if (stretchEnds && sinceCheck_ > 0 && k - 1 >= 0) {
                const int stop = nav_.EncontrarPStopAnterior(0, static_cast<int>(k - 1));
                if (stop >= 0 && stationLast(nav_.stopTable[stop]) == k - 1) {
                    const MATXYZ ref = stationImuAttitude(nav_, nav_.stopTable[stop].result.attitude, k - 1);
                    // The stop's attitude is at k - 1; carry ours there through the indexer first.
                    MATXYZ there = followIndexer(m, s.rotpos, nav_.sampleTable[k - 1].rotpos);
                    forced(k, MatxMat(ref, MatxMat(MatInv(there), m)), &m);
                }
            }
        }
        return m;
    }

    // The forced correction of the last stretch of a movement against a known end attitude.
    void finalCorrection(long at, const MATXYZ& reference, MATXYZ* m)
    {
        if (sinceCheck_ > 0)
            forced(at, reference, m);
    }

    bool pendingMoving() const { return sinceCheck_ > 0; }

private:
    // A new stretch of moving samples starts at 'from'; it runs until the next station sample
    // (every in-stop sample belongs to a station) or to 'limit'.
    void beginStretch(long from, long limit, bool ahead)
    {
        sinceCheck_ = 0;
        if (!nav_.acelCorrOn)
            return;
        long n = 0;
        if (ahead) {
            const long stop = nextStationSample(nav_, from);
            const long end = stop < 0 || stop > limit ? limit : stop - 1;
            n = end >= from ? end - from + 1 : 0;
        } else {
            const long stop = previousStationSample(nav_, from);
            const long end = stop < 0 || stop < limit ? limit : stop + 1;
            n = from >= end ? from - end + 1 : 0;
        }
        cadence_ = cadenceFor(nav_, n);
    }

    MATXYZ followIndexer(const MATXYZ& m, double fromPos, double toPos)
    {
        if (fromPos == toPos)
            return m;
        // The attitude held at indexer angle fromPos, referred to toPos.
        return nav_.HOUSINGaIMU(nav_.AjustePOSenMAT(toPos, fromPos, nav_.IMUaHOUSING(m)));
    }

    // The indexer turns at hundreds of degrees a second: every gyro sample that sees it
    // saturates and is not integrated, so a turn between moving samples (the move to 0 before
    // a station's first half) is taken from the indexer angle, as within a stop. A turn the
    // gyros read unsaturated is theirs alone.
    MATXYZ indexerTurnOfStep(const MATXYZ& m, long from, long to)
    {
        const MUESTRA& a = nav_.sampleTable[from];
        const MUESTRA& b = nav_.sampleTable[to];
        if (a.rotpos == b.rotpos || (!rawGyroSaturated(a.ag.gyro) && !rawGyroSaturated(b.ag.gyro)))
            return m;
        return followIndexer(m, a.rotpos, b.rotpos);
    }

    void integrate(long k, double dt, MATXYZ* m)
    {
        const MUESTRA& s = nav_.sampleTable[k];
        const CARTXYZ drift = driftAt(nav_, s.time, driftCursor_);
        MATXYZ r;
        const double mag = sampleRotation(nav_, s.ag, drift, dt, cache_.acelCal(nav_, s.ag.acelTemp),
                                          cache_.gyroCal(nav_, s.ag.gyroTemp), &r);
        ++mv_.movingSamples;
        ++sinceCheck_;
        mv_.movingSeconds += dt;
        if (mag < 0) {
            if (!mv_.saturated)
                mv_.saturationTime = s.time;
            mv_.saturated = true;
            return;
        }
        mv_.rateSum += mag;
        *m = MatxMat(cache_.earthStep(nav_, dt), MatxMat(*m, r));
    }

    void periodicCheck(long k, long storeAt, MATXYZ* m)
    {
        if (!nav_.acelCorrOn || sinceCheck_ < cadence_)
            return;
        sinceCheck_ = 0;
        CARTXYZ corr;
        if (!nav_.VerificarAcelerometros(k, m, &corr))
            return;
        applied(storeAt, corr, *m);
    }

    void forced(long at, const MATXYZ& reference, MATXYZ* m)
    {
        if (!nav_.acelCorrOn)
            return;
        CARTXYZ corr;
        MATXYZ r;
        nav_.ForzarAcelerometros(*m, reference, 180, &corr, &r);
        *m = MatxMat(r, *m);
        sinceCheck_ = 0;
        applied(at, corr, *m);
    }

    void applied(long at, const CARTXYZ& corr, const MATXYZ& m)
    {
        const long from = lastCorr_;
        // Inside a stretch every sample moves; only its two ends may be station samples.
        long moving = (at > from ? at - from : from - at) + 1;
        if (inStop(nav_.sampleTable[from]))
            --moving;
        if (at != from && inStop(nav_.sampleTable[at]))
            --moving;
        applyCorrection(nav_, from, at, corr, nav_.minCorrStep, moving);
        nav_.attitudeTable[at] = m;
        ++mv_.acelCorrections;
        trace(nav_, "  AcelCorr: Tiempo: %8.2f  Correccion: %8.2f  Desde:  %8.2f \n", nav_.sampleTable[at].time,
              Vnorma(corr), nav_.sampleTable[from].time);
        lastCorr_ = at;
    }

    bool referenceAhead(long k, long last, MATXYZ* ref)
    {
        if (k > last)
            return false;
        const int stop = nav_.EncontrarPStopSiguiente(static_cast<int>(k), static_cast<int>(last));
        if (stop < 0 || stationFirst(nav_.stopTable[stop]) != k)
            return false;
        *ref = stationImuAttitude(nav_, nav_.stopTable[stop].result.attitude, k);
        return true;
    }

    CNavikor& nav_;
    Movimiento& mv_;
    StepCache cache_;
    long lastCorr_ = 0;
    long sinceCheck_ = 0;
    long cadence_ = 0;
    int driftCursor_[3] = {0, 0, 0};
};

double angleBetweenAxes(const MATXYZ& a, const MATXYZ& b)
{
    const double d = a.m[2] * b.m[2] + a.m[5] * b.m[5] + a.m[8] * b.m[8];
    return toDeg(std::acos(std::clamp(d, -1.0, 1.0)));
}

} // namespace

int CNavikor::ProcesarMovimiento(int index)
{
    if (index < 0 || index >= movementCount)
        return -1;
    if (!hasSamples(*this) || !attitudeTable || sampleCount < 2)
        return 0;
    Movimiento mv = movementTable[index];
    integratedAngleAcc = 0;
    MovementWalker walker(*this, mv);

    if (mv.kind == 1) {
        trace(*this, "Mov ATRAS: Tiempo:  hasta  %8.2f \n", mv.endTime);
        const long last = std::min<long>(BuscarIndex(mv.endTime) - 1, sampleCount - 2);
        mv.firstIndex = 0;
        mv.lastIndex = static_cast<int>(last);
        mv.sampleSpan = static_cast<int>(last + 1);
        if (last >= 0)
            walker.backward(mv.endAttitude, last);
    } else if (mv.kind == 2) {
        trace(*this, "Mov AELANTE: Tiempo:  desde  %8.2f \n", mv.startTime);
        const long first = BuscarIndex(mv.startTime) + 1, last = sampleCount - 2;
        mv.firstIndex = static_cast<int>(first);
        mv.lastIndex = static_cast<int>(last);
        mv.sampleSpan = static_cast<int>(std::max<long>(0, last - first + 1));
        if (first <= last)
            attitudeTable[last + 1] = walker.forward(mv.startAttitude, first, last);
    } else if (mv.kind == 0) {
        trace(*this, "Mov BILAT: Tiempo: %8.2f  hasta  %8.2f \n", mv.startTime, mv.endTime);
        const long first = BuscarIndex(mv.startTime) + 1;
        const long last = std::min<long>(BuscarIndex(mv.endTime) - 1, sampleCount - 2);
        mv.firstIndex = static_cast<int>(first);
        mv.lastIndex = static_cast<int>(last);
        mv.sampleSpan = static_cast<int>(std::max<long>(0, last - first + 1));
        if (first <= last) {
            MATXYZ m = walker.forward(mv.startAttitude, first, last);
            walker.finalCorrection(last + 1, mv.endAttitude, &m);
            const CARTXYZ v = MM2W(m, mv.endAttitude);
            mv.attitudeError = Vnorma(v);
            mv.axisError = angleBetweenAxes(m, mv.endAttitude);
            mv.durationMinutes = mv.movingSeconds / 60;
            mv.drift = mv.durationMinutes > 0 ? mv.attitudeError / mv.durationMinutes : 0;
            mv.quality = 100 / (mv.attitudeError / 3 / (mv.durationMinutes + 1) + 1);
            if (matchStations)
                AplicarCorreccionACI(first, last + 1, v, 0.05);
            attitudeTable[last + 1] = mv.endAttitude;
        }
    }
    mv.integratedAngle = integratedAngleAcc;
    movementTable[index] = mv;
    return 0;
}
