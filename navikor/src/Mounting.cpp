// Construction, the two mounting rotations and the toolface adjustments of CNavikor.

#include "navikor/CNavikor.h"
#include "navikor/Primitives.h"

#include "Constants.h"

#include <cmath>

using namespace navikor;

CNavikor::CNavikor()
{
    imuToHousing = housingToImu = housingToWell = wellToHousing = MatrizUnitaria();
    acelToMec = gyroToMec = mecToGyro = rtMatrixA = rtMatrixB = MatrizUnitaria();
    SetLatitud(0);
}

CNavikor::~CNavikor()
{
    CerrarArchivoDebug();
    LiberarAcelMem();
}

namespace {

// Tilt a about the horizontal axis at direction b (both degrees): the pair (-a, +a).
void mountingPair(double a, double b, MATXYZ* forward, MATXYZ* backward)
{
    const double rb = toRad(b);
    const CARTXYZ u(std::sin(rb), -std::cos(rb), 0);
    *forward = Rot2Mat(-a, u);
    *backward = Rot2Mat(a, u);
}

} // namespace

void CNavikor::SetIMU2HOUSING(double a, double b)
{
    imuTilt = a;
    imuDirection = b;
    mountingPair(a, b, &imuToHousing, &housingToImu);
}

void CNavikor::SetHOUSING2WELL(double a, double b)
{
    housingTilt = a;
    housingDirection = b;
    mountingPair(a, b, &housingToWell, &wellToHousing);
}

MATXYZ CNavikor::IMUaHOUSING(MATXYZ m) { return MatxMat(m, imuToHousing); }
MATXYZ CNavikor::HOUSINGaIMU(MATXYZ m) { return MatxMat(m, housingToImu); }
MATXYZ CNavikor::HOUSINGaWELL(MATXYZ m) { return MatxMat(m, housingToWell); }
MATXYZ CNavikor::WELLaHOUSING(MATXYZ m) { return MatxMat(m, wellToHousing); }

POS_PARAM CNavikor::IMUaHOUSINGPOS(POS_PARAM p) { return Matrix2Param(IMUaHOUSING(Param2Matrix(p))); }

POS_PARAM CNavikor::HOUSINGaWELLPOS(POS_PARAM p) { return Matrix2Param(HOUSINGaWELL(Param2Matrix(p))); }

namespace {

// Turns the high-side toolface of p by 'turn' radians. A vertical (or inverted) attitude carries
// its toolface in Tf alone, so there the turn goes to Tf; otherwise the turn would be lost.
POS_PARAM turnToolface(POS_PARAM p, double turn)
{
    double h = p.Hstf + turn;
    while (h < 0)
        h += kTwoPi;
    while (h > kTwoPi)
        h -= kTwoPi;
    POS_PARAM q = p;
    q.Hstf = h;
    if (p.Devi == 0) {
        q.Tf = p.Tf + turn;
    } else if (p.Devi == kPi || p.Devi == std::acos(-1.0)) {
        q.Tf = p.Tf - turn;  // inverted: the hole axis points up, so the turn runs the other way
    }
    return Matrix2Param(Param2Matrix(q));
}

} // namespace

POS_PARAM CNavikor::AjustePOSenPARAM(double a, double b, POS_PARAM p) { return turnToolface(p, -toRad(b - a)); }

MATXYZ CNavikor::AjustePOSenMAT(double a, double b, MATXYZ m)
{
    return Param2Matrix(AjustePOSenPARAM(a, b, Matrix2Param(m)));
}

POS_PARAM CNavikor::ActualizaTFrelativoPOS(float a, POS_PARAM p) { return turnToolface(p, -toRad(a)); }

MATXYZ CNavikor::ActualizaTFrelativo(float a, MATXYZ m)
{
    return Param2Matrix(ActualizaTFrelativoPOS(a, Matrix2Param(m)));
}
