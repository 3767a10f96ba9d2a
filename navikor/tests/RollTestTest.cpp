#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace synth;

namespace {

// A one-position station of an aligned block at the given attitude: gravity and earth rate
// as the sensors see them, with scale errors on the x and y gyros.
ESTACIONin rollStation(double inc, double az, double hstf, double lat, double xScale, double yScale, double temp)
{
    const M3 m = attitude(inc, az, hstf);
    ESTACIONin s;
    s.acel = gravityIn(m);
    const CARTXYZ w = earthRateIn(m, lat);
    s.gyro = CARTXYZ(w.x * xScale, w.y * yScale, w.z);
    s.gyroTemp = CARTXYZ(temp, temp + 1, 0);
    return s;
}

} // namespace

TEST(RollTest, NeedsExactlyEightStations)
{
    auto nav = std::make_unique<CNavikor>();
    for (int i = 0; i < 7; ++i)
        nav->AgregarEstacionSimple(rollStation(90, 90, i * 50.0, 40, 1, 1, 30));
    ROLLTESTres r;
    r.Sx = 123;
    EXPECT_FALSE(nav->ProcesarRollTest(&r));
    EXPECT_EQ(r.Sx, 123);
}

// A horizontal block rolled to four toolfaces pointing east, then again pointing west: the
// horizontal earth rate flips between the two sets, which gives each gyro's scale against the
// earth rate; the vertical component gives the vertical terms.
TEST(RollTest, FourRollAnglesTwice)
{
    auto nav = std::make_unique<CNavikor>();
    const double lat = 40, sx = 1.002, sy = 0.997;
    nav->SetLatitud(lat);
    const double tfs[4] = {10, 100, 190, 280};
    for (int set = 0; set < 2; ++set)
        for (int i = 0; i < 4; ++i)
            nav->AgregarEstacionSimple(rollStation(90, 90 + 180 * set, tfs[i], lat, sx, sy, 30 + 4 * set + i));
    ROLLTESTres r;
    ASSERT_TRUE(nav->ProcesarRollTest(&r));
    EXPECT_NEAR(r.Rx, 10, 1e-9);  // the reference roll is the smallest toolface
    EXPECT_NEAR(r.Ry, 10, 1e-9);
    EXPECT_NEAR(r.Sx, 1 / sx, 1e-9);
    EXPECT_NEAR(r.Sy, 1 / sy, 1e-9);
    EXPECT_NEAR(r.SxError, r.Sx - 1, 1e-15);
    // A scale error also shows on the vertical earth rate, 15.041 sin(lat) deg/h.
    const double vertical = 15.041 * std::sin(rad(lat));
    EXPECT_NEAR(r.Vx, -(sx - 1) * vertical, 1e-9);
    EXPECT_NEAR(r.Vy, -(sy - 1) * vertical, 1e-9);
    EXPECT_NEAR(r.Hx, 0, 1e-9);
    EXPECT_NEAR(r.Hy, 0, 1e-9);
    EXPECT_NEAR(r.tempX[1], 30, 1e-12);
    EXPECT_NEAR(r.tempX[2], 37, 1e-12);
    EXPECT_NEAR(r.tempX[0], 33.5, 1e-12);
    EXPECT_NEAR(r.tempY[0], 34.5, 1e-12);
    EXPECT_EQ(r.meanGx, r.meanGx2);
    EXPECT_EQ(r.zero, 0);
}

TEST(AxisEstimation, SpinAxisFromAGyroTurn)
{
    auto nav = std::make_unique<CNavikor>();
    CARTXYZ axis;
    EXPECT_FALSE(nav->CalcularEjeGiroG(CARTXYZ(), CARTXYZ(), CARTXYZ(0, 0, 1e9), CARTXYZ(), &axis, 31));
    // 180 degrees in 10 s about a slightly tilted axis: 64800 deg/h.
    const CARTXYZ dir(0.01, -0.02, -1);
    const double n = Vnorma(dir);
    const CARTXYZ g3(dir.x / n * 64800 + 5, dir.y / n * 64800 - 3, dir.z / n * 64800 + 2);
    ASSERT_TRUE(nav->CalcularEjeGiroG(CARTXYZ(5, -3, 2), CARTXYZ(5, -3, 2), g3, CARTXYZ(), &axis, 10));
    EXPECT_NEAR(axis.x, -dir.x / n, 1e-12);  // turned to point up (positive z)
    EXPECT_NEAR(axis.z, -dir.z / n, 1e-12);
    // Less than 100 degrees of turn is not enough.
    EXPECT_FALSE(nav->CalcularEjeGiroG(CARTXYZ(), CARTXYZ(), CARTXYZ(0, 0, 30000), CARTXYZ(), &axis, 10));
}

// A block tilted 0.3 degrees in its housing, measured vertical at two indexer positions half a
// turn apart: the averaged gravity direction is the housing axis, and the mounting is set.
TEST(AxisEstimation, NearVerticalStationsSetTheImuMounting)
{
    auto nav = std::make_unique<CNavikor>();
    const double tilt = 0.3, dir = 60;
    CNavikor truth;
    truth.SetIMU2HOUSING(tilt, dir);
    for (double tf : {0.0, 70.0, 200.0}) {
        ESTACIONin s0, s1;
        for (int p = 0; p < 2; ++p) {
            // housing vertical at toolface tf + 180 p; the block sits tilted inside it
            const MATXYZ housing = toMat(attitude(0, 0, tf + 180 * p));
            const MATXYZ imu = truth.HOUSINGaIMU(housing);
            (p ? s1 : s0).acel = CARTXYZ(imu.m[6], imu.m[7], imu.m[8]);
            (p ? s1 : s0).rotpos = 180 * p;
        }
        nav->AgregarEstacionDif(s0, s1);
    }
    const double before = nav->CalcularDeltaDev();
    ASSERT_TRUE(nav->CalcularEjeGiroM());
    EXPECT_NEAR(before, 0, 1e-9);  // both positions read the same tilt
    // In the block's own axes gravity shows the housing axis at both positions: its tilt is
    // the mounting, and with it set the housing reads vertical.
    EXPECT_NEAR(nav->imuTilt, tilt, 1e-9);
    const ESTACIONin& first = nav->dualTable[0].pos0;
    EXPECT_NEAR(deg(nav->IMUaHOUSINGPOS(nav->CalcularDeviHstf(first.acel, nullptr)).Devi), 0, 1e-6);
    CARTXYZ axis;
    ESTACIONin a, b;
    a.acel = CARTXYZ(0.01, 0, -1);
    b.acel = CARTXYZ(-0.01, 0, -1);
    b.rotpos = 180;
    ASSERT_TRUE(nav->CalcularEjeGiroA(a, b, &axis));
    EXPECT_NEAR(axis.z, -1, 1e-12);
    b.rotpos = 90;
    EXPECT_FALSE(nav->CalcularEjeGiroA(a, b, &axis));
}

// Inclined stations whose deviation differs between the two indexer positions by twice the
// mounting tilt times the sine of the toolface offset: the fit finds the tilt.
TEST(AxisEstimation, DeviationChangeWithToolfaceGivesTheTilt)
{
    auto nav = std::make_unique<CNavikor>();
    const double tilt = 0.4, dir = 30;
    CNavikor truth;
    truth.SetIMU2HOUSING(tilt, dir);
    for (double tf : {0.0, 45.0, 120.0, 200.0, 290.0}) {
        ESTACIONin s0, s1;
        for (int p = 0; p < 2; ++p) {
            const MATXYZ imu = truth.HOUSINGaIMU(toMat(attitude(30, 50, tf + 180 * p)));
            (p ? s1 : s0).acel = CARTXYZ(imu.m[6], imu.m[7], imu.m[8]);
            (p ? s1 : s0).rotpos = 180 * p;
        }
        nav->AgregarEstacionDif(s0, s1);
    }
    const double before = nav->CalcularDeltaDev();
    ASSERT_TRUE(nav->CalcularEjeGiroM());
    EXPECT_NEAR(nav->imuTilt, tilt, 0.02);
    // With the estimated mounting both positions agree on the deviation.
    EXPECT_LT(nav->CalcularDeltaDev(), before / 10);
}

TEST(AxisEstimation, LabCalibrationLimitsTheTilt)
{
    auto nav = std::make_unique<CNavikor>();
    POS_PARAM p[8];
    // Deviation differences of 5 sin(H): a fitted tilt of 2.5 degrees is refused.
    for (int i = 0; i < 4; ++i) {
        const double h = rad(90.0 * i + 10);
        p[2 * i] = POS_PARAM{rad(45 + 2.5 * std::sin(h)), 0, h, 0};
        p[2 * i + 1] = POS_PARAM{rad(45 - 2.5 * std::sin(h)), 0, h + kPi, 0};
    }
    EXPECT_EQ(nav->ProcesoEjesLABCAL(p), 0);
    EXPECT_EQ(nav->imuTilt, 0.0001);
    EXPECT_NEAR(nav->imuDirection, 90, 1e-9);
    // The first positions' deviation swings 2.5 sin(H) about 45: the housing takes half that
    // swing, less half of the 0.0001 degree IMU tilt set in the same direction.
    EXPECT_NEAR(nav->housingTilt, (2.5 - 0.0001) / 2, 1e-7);
    EXPECT_NEAR(nav->housingDirection, 90, 1e-5);
    EXPECT_EQ(nav->CalcularEjeGiroM(), false);  // no dual stations
}
