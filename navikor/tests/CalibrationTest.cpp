#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

using namespace synth;

namespace {

// One offset column set per axis: values 1, 2, 4 at 10, 20, 30 degrees.
const CARTyTEMP kOffsets[3] = {
    {1, 1, 1, 10, 10, 10},
    {2, 2, 2, 20, 20, 20},
    {4, 4, 4, 30, 30, 30},
};

} // namespace

TEST(CalibrationLookup, AtBetweenAndBeyondTableTemperatures)
{
    auto nav = std::make_unique<CNavikor>();
    nav->gyroOffsetTable = const_cast<CARTyTEMP*>(kOffsets);
    nav->gyroOffsetCount = 3;
    struct Case {
        double t, expected;
    };
    for (const Case c : {Case{5, 1}, Case{10, 1}, Case{15, 1.5}, Case{20, 2}, Case{25, 3}, Case{30, 4}, Case{40, 4}}) {
        const CARTyTEMP r = nav->GetGyroOffset(CARTXYZ(c.t, c.t, c.t));
        EXPECT_DOUBLE_EQ(r.x, c.expected) << "at " << c.t;
        EXPECT_DOUBLE_EQ(r.z, c.expected) << "at " << c.t;
        EXPECT_EQ(r.Tx, c.t);
    }
    // Each axis on its own temperature column.
    const CARTyTEMP mixed = nav->GetGyroOffset(CARTXYZ(15, 25, 35));
    EXPECT_DOUBLE_EQ(mixed.x, 1.5);
    EXPECT_DOUBLE_EQ(mixed.y, 3);
    EXPECT_DOUBLE_EQ(mixed.z, 4);
    // A single row holds at every temperature.
    nav->gyroOffsetCount = 1;
    EXPECT_DOUBLE_EQ(nav->GetGyroOffset(CARTXYZ(99, -5, 0)).y, 1);
}

TEST(CalibrationLookup, GravityGroupsFollowTheirOwnTemperature)
{
    auto nav = std::make_unique<CNavikor>();
    GravParam rows[2];
    for (int r = 0; r < 2; ++r) {
        for (int k = 0; k < 4; ++k) {
            rows[r].Gx[k] = r ? 10 + k : k;
            rows[r].Gy[k] = r ? -10 : 0;
        }
        for (int k = 0; k < 6; ++k)
            rows[r].Gz[k] = r ? 6 : 2;
        rows[r].Tx = rows[r].Ty = rows[r].Tz = r ? 50 : 0;
    }
    nav->gyroGravTable = rows;
    nav->gyroGravCount = 2;
    const GravParam g = nav->GetGyroGravity(CARTXYZ(25, 5, 100));
    EXPECT_DOUBLE_EQ(g.Gx[0], 5);
    EXPECT_DOUBLE_EQ(g.Gx[3], 3 + 5);
    EXPECT_DOUBLE_EQ(g.Gy[2], -1);
    EXPECT_DOUBLE_EQ(g.Gz[5], 6);
    nav->gyroGravTable = nullptr;
    EXPECT_EQ(nav->GetGyroGravity(CARTXYZ(25, 5, 100)).Gx[0], 0);
}

TEST(Calibration, WithoutTablesReadingsPassUnchanged)
{
    auto nav = std::make_unique<CNavikor>();
    const CARTXYZ raw(0.1, -0.2, 0.97), t(30, 31, 32);
    const CARTXYZ a = nav->CalibrarAcelSen(raw, t);
    EXPECT_EQ(a.x, raw.x);
    EXPECT_EQ(a.z, raw.z);
    const CARTXYZ g = nav->CalibrarGyroSen(CARTXYZ(5, 6, 7), CARTXYZ(0.3, 0.4, 0.8), t);
    EXPECT_EQ(g.x, 5);
    EXPECT_EQ(g.y, 6);
    EXPECT_EQ(g.z, 7);
    nav->GetAverage_Gyro_Gain();
    EXPECT_EQ(nav->avgGyroGain.y, 1);
}

// Raw readings made by inverting the calibration come back to the physical values.
TEST(Calibration, InverseOfTheModelGivesBackPhysicalValues)
{
    auto nav = std::make_unique<CNavikor>();
    const CARTyTEMP acelGain[2] = {{1.01, 0.99, 1.02, 20, 20, 20}, {1.03, 0.98, 1.00, 80, 80, 80}};
    const CARTyTEMP acelOff[2] = {{0.01, -0.02, 0.005, 20, 20, 20}, {0.02, -0.01, 0.0, 80, 80, 80}};
    const CARTyTEMP gyroGain[2] = {{0.5, 0.52, 0.49, 20, 20, 20}, {0.51, 0.5, 0.5, 80, 80, 80}};
    const CARTyTEMP gyroOff[2] = {{30, -12, 4, 20, 20, 20}, {35, -10, 5, 80, 80, 80}};
    GravParam grav[2];
    for (int r = 0; r < 2; ++r) {
        const double s = r ? 1.2 : 1;
        grav[r].Gx[0] = 0.3 * s; grav[r].Gx[1] = -0.2 * s; grav[r].Gx[2] = 0.1 * s; grav[r].Gx[3] = 0.05 * s;
        grav[r].Gy[0] = -0.1 * s; grav[r].Gy[1] = 0.25 * s; grav[r].Gy[2] = -0.3 * s; grav[r].Gy[3] = 0.02 * s;
        grav[r].Tx = grav[r].Ty = grav[r].Tz = r ? 80 : 20;
    }
    nav->acelGainTable = const_cast<CARTyTEMP*>(acelGain);
    nav->acelGainCount = 2;
    nav->acelOffsetTable = const_cast<CARTyTEMP*>(acelOff);
    nav->acelOffsetCount = 2;
    nav->gyroGainTable = const_cast<CARTyTEMP*>(gyroGain);
    nav->gyroGainCount = 2;
    nav->gyroOffsetTable = const_cast<CARTyTEMP*>(gyroOff);
    nav->gyroOffsetCount = 2;
    nav->gyroGravTable = grav;
    nav->gyroGravCount = 2;
    nav->acelToMec = Rot2Mat(0.7, CARTXYZ(1, 1, 0));
    nav->gyroToMec = Rot2Mat(0.4, CARTXYZ(0, 1, 1));
    nav->CalcularMatrices();

    const M3 att = attitude(35, 210, 80);
    const CARTXYZ aImu = gravityIn(att);
    const CARTXYZ wImu = earthRateIn(att, 40);
    const CARTXYZ t(47, 47, 47);
    const double f = (47.0 - 20) / 60;
    auto at = [&](double lo, double hi) { return lo + (hi - lo) * f; };

    // accelerometer: raw = (sensor / gain) + offset, sensor = acelToMec^-1 * IMU value
    const CARTXYZ aSen = MatxVect(MatInv(nav->acelToMec), aImu);
    const CARTXYZ rawA(aSen.x / at(1.01, 1.03) + at(0.01, 0.02), aSen.y / at(0.99, 0.98) + at(-0.02, -0.01),
                       aSen.z / at(1.02, 1.00) + at(0.005, 0.0));
    const CARTXYZ a = nav->CalibrarAcel(rawA, t);
    EXPECT_NEAR(a.x, aImu.x, 1e-12);
    EXPECT_NEAR(a.y, aImu.y, 1e-12);
    EXPECT_NEAR(a.z, aImu.z, 1e-12);
    EXPECT_NEAR(nav->ACELnorma(a), 1, 1e-12);

    // gyro: the sensor also reads its gravity sensitivity to the acceleration in its own axes
    const CARTXYZ g = MatxVect(nav->mecToGyro, a);
    const CARTXYZ wSen = MatxVect(nav->mecToGyro, wImu);
    const double s = at(1, 1.2);
    const double gx = wSen.x + s * (0.3 * g.x - 0.2 * g.y + 0.1 * g.z + 0.05 * g.x * g.z);
    const double gy = wSen.y + s * (-0.1 * g.x + 0.25 * g.y - 0.3 * g.z + 0.02 * g.y * g.z);
    const CARTXYZ rawG(gx / at(0.5, 0.51) + at(30, 35), gy / at(0.52, 0.5) + at(-12, -10),
                       wSen.z / at(0.49, 0.5) + at(4, 5));
    const CARTXYZ w = nav->CalibrarGyro(rawG, a, t);
    EXPECT_NEAR(w.x, wImu.x, 1e-9);
    EXPECT_NEAR(w.y, wImu.y, 1e-9);
    EXPECT_NEAR(w.z, wImu.z, 1e-9);

    nav->GetAverage_Acel_Gain();
    EXPECT_DOUBLE_EQ(nav->avgAcelGain.x, 1.02);
}

TEST(Calibration, AlignmentMatricesFromGyroToMec)
{
    auto nav = std::make_unique<CNavikor>();
    EXPECT_EQ(nav->rtScaleV, 0);  // not derived until asked
    // A gyro triad with a small non-orthogonality between x and y.
    MATXYZ m = MatrizUnitaria();
    m.m[1] = 0.01;
    nav->gyroToMec = m;
    nav->CalcularMatrices();
    const MATXYZ inv = MatInv(m);
    EXPECT_NEAR(nav->mecToGyro.m[0], inv.m[0], 1e-15);
    EXPECT_NEAR(nav->rtScaleU, inv.m[0] * inv.m[3] + inv.m[1] * inv.m[4], 1e-15);
    const MATXYZ ab = MatxMat(nav->rtMatrixA, nav->rtMatrixB);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(ab.m[i], MatrizUnitaria().m[i], 1e-12);
    // rtMatrixA keeps the first row of mecToGyro and completes it with two orthogonal unit rows.
    const MATXYZ aat = MatxMat(nav->rtMatrixA, MatTrasp(nav->rtMatrixA));
    for (int i : {1, 2, 3, 5, 6, 7})
        EXPECT_NEAR(aat.m[i], 0, 1e-12);
    EXPECT_NEAR(aat.m[4], 1, 1e-12);
    EXPECT_NEAR(aat.m[8], 1, 1e-12);
    EXPECT_EQ(nav->rtMatrixA.m[0], nav->mecToGyro.m[0]);
    EXPECT_GT(nav->rtScaleV, 0.99);
}

TEST(EarthModel, LatitudeSetsEarthRateAndGravity)
{
    auto nav = std::make_unique<CNavikor>();
    EXPECT_EQ(nav->GetLatitud(), 0);
    EXPECT_DOUBLE_EQ(nav->earthRate.x, 15.041);
    nav->SetLatitud(90);
    EXPECT_NEAR(nav->earthRate.x, 0, 1e-9);
    EXPECT_DOUBLE_EQ(nav->earthRate.z, -15.041);
    nav->SetLatitud(-33.5);
    EXPECT_EQ(nav->GetLatitud(), -33.5);
    EXPECT_GT(nav->earthRate.z, 0);  // southern hemisphere: the earth's axis points down
    EXPECT_EQ(nav->gravityNed.z, 1);
    nav->SetLongitud(-64.2);
    EXPECT_EQ(nav->GetLongitud(), -64.2);
    EXPECT_EQ(nav->GetVersion(), 1.34f);

    // Over 24 sidereal-ish hours the earth frame turns 15.041 * 24 degrees about the polar axis.
    nav->SetLatitud(40);
    const CARTXYZ w = MRot_to_W(1, nav->GiroTierra(1));
    EXPECT_NEAR(w.x, -nav->earthRate.x, 1e-9);
    EXPECT_NEAR(w.z, -nav->earthRate.z, 1e-9);
}

TEST(DebugFile, OpensTruncatesAndCloses)
{
    auto nav = std::make_unique<CNavikor>();
    const std::string path = testing::TempDir() + "navikor_debug.txt";
    {
        std::ofstream old(path);
        old << "old contents";
    }
    EXPECT_TRUE(nav->AbrirArchivoDebug(path.c_str()));
    EXPECT_TRUE(nav->debugOn);
    EXPECT_TRUE(nav->CerrarArchivoDebug());
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_EQ(s.str(), "");
    EXPECT_FALSE(nav->AbrirArchivoDebug((testing::TempDir() + "no/such/dir/x.txt").c_str()));
    EXPECT_TRUE(nav->CerrarArchivoDebug());
    std::remove(path.c_str());
}
