#include "navikor/Navikor.h"
#include "navikor/tests/Synthetic.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using namespace synth;

namespace {

struct Attitude {
    double inc, az, hstf;
};

// A block with a calibration: the station inputs are made the way KVR makes them, from raw
// readings through CalibrarAcel and CalibrarGyroSen; the raw readings invert that model.
class StationBench {
public:
    StationBench()
    {
        nav_ = std::make_unique<CNavikor>();
        CNavikor& n = *nav_;
        acelGain_[0] = {1.01, 0.99, 1.02, 20, 20, 20};
        acelGain_[1] = {1.03, 0.98, 1.00, 80, 80, 80};
        acelOff_[0] = {0.01, -0.02, 0.005, 20, 20, 20};
        acelOff_[1] = {0.02, -0.01, 0.0, 80, 80, 80};
        gyroGain_[0] = {0.5, 0.52, 0.49, 20, 20, 20};
        gyroGain_[1] = {0.51, 0.5, 0.5, 80, 80, 80};
        gyroOff_[0] = {30, -12, 4, 20, 20, 20};
        gyroOff_[1] = {35, -10, 5, 80, 80, 80};
        for (int r = 0; r < 2; ++r) {
            const double s = r ? 1.2 : 1;
            const double gx[4] = {0.3, -0.2, 0.1, 0.05}, gy[4] = {-0.1, 0.25, -0.3, 0.02};
            for (int k = 0; k < 4; ++k) {
                grav_[r].Gx[k] = gx[k] * s;
                grav_[r].Gy[k] = gy[k] * s;
            }
            grav_[r].Tx = grav_[r].Ty = grav_[r].Tz = r ? 80 : 20;
        }
        n.acelGainTable = acelGain_;
        n.acelGainCount = 2;
        n.acelOffsetTable = acelOff_;
        n.acelOffsetCount = 2;
        n.gyroGainTable = gyroGain_;
        n.gyroGainCount = 2;
        n.gyroOffsetTable = gyroOff_;
        n.gyroOffsetCount = 2;
        n.gyroGravTable = grav_;
        n.gyroGravCount = 2;
        n.acelToMec = Rot2Mat(0.7, CARTXYZ(1, 1, 0));
        n.gyroToMec = Rot2Mat(0.4, CARTXYZ(0, 1, 1));
        n.CalcularMatrices();
        n.GetAverage_Gyro_Gain();
    }

    CNavikor& nav() { return *nav_; }

    // What KVR hands to the station for one indexer position of a block at 'a' (the attitude of
    // the housing at indexer 0): the indexer turns the block about the hole axis.
    ESTACIONin position(const Attitude& a, double latitude, double rotpos, const CARTXYZ& gyroBias = CARTXYZ(),
                        Lcg* noise = nullptr, double acelSigma = 0, double gyroSigma = 0)
    {
        const M3 att = attitude(a.inc, a.az, a.hstf + rotpos);
        CARTXYZ aImu = gravityIn(att);
        CARTXYZ wImu = earthRateIn(att, latitude);
        const CARTXYZ t(47, 47, 47);
        if (noise) {
            aImu = CARTXYZ(aImu.x + acelSigma * noise->gauss(), aImu.y + acelSigma * noise->gauss(),
                           aImu.z + acelSigma * noise->gauss());
        }
        CNavikor& n = *nav_;
        const Acel_ACAL ac = n.GetAcelCal(t);
        const CARTXYZ aSen = MatxVect(MatInv(n.acelToMec), aImu);
        const CARTXYZ rawA(aSen.x / ac.gain.x + ac.offset.x, aSen.y / ac.gain.y + ac.offset.y,
                           aSen.z / ac.gain.z + ac.offset.z);
        ESTACIONin in;
        in.acel = n.CalibrarAcel(rawA, t);
        const Gyro_CAL gc = n.GetGyroCAL(t);
        const CARTXYZ g = MatxVect(n.mecToGyro, in.acel);
        CARTXYZ w = MatxVect(n.mecToGyro, wImu) + gyroBias;
        if (noise)
            w = CARTXYZ(w.x + gyroSigma * noise->gauss(), w.y + gyroSigma * noise->gauss(), w.z + gyroSigma * noise->gauss());
        const double* gx = gc.gravity.Gx;
        const double* gy = gc.gravity.Gy;
        const CARTXYZ rawG((w.x + gx[0] * g.x + gx[1] * g.y + gx[2] * g.z + gx[3] * g.x * g.z) / gc.gain.x + gc.offset.x,
                           (w.y + gy[0] * g.x + gy[1] * g.y + gy[2] * g.z + gy[3] * g.y * g.z) / gc.gain.y + gc.offset.y,
                           w.z / gc.gain.z + gc.offset.z);
        in.gyro = n.CalibrarGyroSen(rawG, in.acel, t);
        in.gyroNoise = CARTXYZ(gyroSigma, gyroSigma, gyroSigma);
        in.rotpos = rotpos;
        return in;
    }

private:
    std::unique_ptr<CNavikor> nav_;
    CARTyTEMP acelGain_[2], acelOff_[2], gyroGain_[2], gyroOff_[2];
    GravParam grav_[2];
};

// Azimuth of the block's x axis at indexer 0, from the physical attitude.
double physicalTf(const Attitude& a)
{
    const M3 m = attitude(a.inc, a.az, a.hstf);
    return wrap360(deg(std::atan2(m.a[1][0], m.a[0][0])));
}

} // namespace

// Stations synthesised from known attitudes come back: inclination from gravity, heading from
// the earth's rotation seen at the two indexer positions. Every quadrant of azimuth and
// toolface, latitudes from the equator to 75 degrees.
TEST(StationPhysics, KnownAttitudesComeBack)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    int stations = 0;
    for (double lat : {0.0, 20.0, 45.0, -40.0, 60.0, 75.0}) {
        nav.SetLatitud(lat);
        for (double inc : {0.5, 3.0, 15.0, 30.0, 60.0, 85.0})
            for (double az : {10.0, 123.45, 200.0, 315.7})
                for (double tf : {0.0, 75.0, 190.0, 300.0}) {
                    const Attitude a{inc, az, tf};
                    SCOPED_TRACE(testing::Message() << "lat " << lat << " inc " << inc << " az " << az << " tf " << tf);
                    const ESTACIONout r =
                        nav.ProcesarEstacion(bench.position(a, lat, 0), bench.position(a, lat, 180), 100);
                    EXPECT_NEAR(deg(r.attitude.Devi), inc, 0.01);
                    // The heading grid has 0.01-degree steps: within half a step plus rounding.
                    EXPECT_LT(angleDiff(deg(r.attitude.Azi), az), 0.02);
                    EXPECT_LT(angleDiff(deg(r.attitude.Hstf), tf), 0.01);
                    EXPECT_LT(angleDiff(deg(r.attitude.Tf), physicalTf(a)), 0.02);
                    EXPECT_NEAR(r.bias.x, 0, 0.005);
                    EXPECT_NEAR(r.bias.y, 0, 0.005);
                    // The uncertainty is the width of the heading valley: the transverse earth
                    // rate moves at least 2 * 15.041 cos(lat) cos(inc) deg/h per radian of
                    // heading, so it leaves the 0.1 deg/h band within this many degrees.
                    const double speed = 2 * 15.041 * std::cos(rad(lat)) * std::cos(rad(inc));
                    EXPECT_LE(r.uncertainty, deg(0.1 / speed) + 0.02);
                    EXPECT_NEAR(r.quality, nav.CalculaQC(r.uncertainty), 1e-9);
                    ++stations;
                }
    }
    EXPECT_EQ(stations, 6 * 6 * 4 * 4);
}

// Exactly vertical, azimuth and high-side toolface lose their meaning; the heading lives in Tf.
TEST(StationPhysics, VerticalBlockReturnsItsToolface)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(35);
    nav.acelToMec = MatrizUnitaria();  // keep the gravity reading exactly (0, 0, -1)
    for (double tf : {5.0, 95.0, 222.2, 333.0}) {
        const Attitude a{0, 0, tf};
        ESTACIONin s0 = bench.position(a, 35, 0), s1 = bench.position(a, 35, 180);
        s0.acel = s1.acel = CARTXYZ(0, 0, -1);
        const ESTACIONout r = nav.ProcesarEstacion(s0, s1, 100);
        EXPECT_EQ(r.attitude.Devi, 0);
        EXPECT_LT(angleDiff(deg(r.attitude.Tf), tf), 0.02) << tf;
    }
}

// A constant gyro bias is the same at both indexer positions: the difference cancels it and
// the station estimates it.
TEST(StationPhysics, ConstantGyroBiasCancelsAndIsEstimated)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(-31.5);
    const CARTXYZ bias(3.2, -1.7, 0.9);
    for (const Attitude a : {Attitude{12, 40, 100}, Attitude{55, 250, 330}, Attitude{80, 170, 20}}) {
        const ESTACIONout clean = nav.ProcesarEstacion(bench.position(a, -31.5, 0), bench.position(a, -31.5, 180), 100);
        const ESTACIONout biased =
            nav.ProcesarEstacion(bench.position(a, -31.5, 0, bias), bench.position(a, -31.5, 180, bias), 100);
        EXPECT_EQ(biased.attitude.Azi, clean.attitude.Azi);
        EXPECT_LT(angleDiff(deg(biased.attitude.Azi), a.az), 0.02);
        EXPECT_NEAR(biased.bias.x, bias.x, 0.005);
        EXPECT_NEAR(biased.bias.y, bias.y, 0.005);
        EXPECT_NEAR(biased.bias.z, bias.z, 0.005);
    }
}

// With sensor noise the heading error grows where the physics is weak: the horizontal earth
// rate shrinks with cos(latitude), and near vertical the azimuth of the tilt itself rests on
// the tiny horizontal gravity, sigma_a / sin(inclination) radians.
TEST(StationPhysics, NoisyStationsStayWithinTheirConditioning)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    Lcg noise;
    const double sa = 2e-5, sg = 0.01;  // averaged accelerometer (g) and gyro (deg/h) noise
    for (double lat : {0.0, 45.0, 75.0}) {
        nav.SetLatitud(lat);
        for (double inc : {0.5, 2.0, 20.0, 60.0})
            for (double az : {30.0, 160.0, 250.0, 340.0}) {
                const Attitude a{inc, az, 120};
                const ESTACIONout r = nav.ProcesarEstacion(bench.position(a, lat, 0, CARTXYZ(), &noise, sa, sg),
                                                           bench.position(a, lat, 180, CARTXYZ(), &noise, sa, sg), 100);
                const double horizontalRate = 15.041 * std::cos(rad(lat));
                const double gyroPart = deg(5 * sg / horizontalRate);
                const double tiltPart = deg(5 * sa / std::sin(rad(inc)));
                const double tol = 0.02 + gyroPart + tiltPart;
                EXPECT_LT(angleDiff(deg(r.attitude.Azi), az), tol)
                    << "lat " << lat << " inc " << inc << " az " << az << " tol " << tol;
                EXPECT_NEAR(deg(r.attitude.Devi), inc, 0.01);
            }
    }
}

TEST(StationProcessing, ResolutionIsLimitedTo100)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(40);
    const Attitude a{30, 123.45, 60};
    const ESTACIONin s0 = bench.position(a, 40, 0), s1 = bench.position(a, 40, 180);
    const ESTACIONout r100 = nav.ProcesarEstacion(s0, s1, 100);
    const ESTACIONout r250 = nav.ProcesarEstacion(s0, s1, 250);
    EXPECT_EQ(r100.attitude.Azi, r250.attitude.Azi);
    EXPECT_EQ(r100.uncertainty, r250.uncertainty);
    EXPECT_LT(angleDiff(deg(r100.attitude.Azi), 123.45), 0.01 + 1e-9);
    // A coarse grid still lands on its nearest step.
    const ESTACIONout r1 = nav.ProcesarEstacion(s0, s1, 1);
    EXPECT_LT(angleDiff(deg(r1.attitude.Azi), 123.45), 0.5 + 1e-9);
    const ESTACIONout r0 = nav.ProcesarEstacion(s0, s1, 0);  // treated as 1 step per degree
    EXPECT_EQ(r0.attitude.Azi, r1.attitude.Azi);
}

// A horizontal block sees the same transverse earth rate at azimuth A and at 180 - A: the two
// halves of the search tie, the reference azimuth decides, and the ambiguity is remembered.
TEST(StationProcessing, AmbiguousHeadingsAndTheReferenceAzimuth)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(30);
    nav.acelToMec = MatrizUnitaria();
    const Attitude a{90, 200, 45};
    const ESTACIONin s0 = bench.position(a, 30, 0), s1 = bench.position(a, 30, 180);

    nav.useReferenceAzimuth = true;
    nav.referenceAzimuth = 200;
    EXPECT_LT(angleDiff(deg(nav.ProcesarEstacion(s0, s1, 100).attitude.Azi), 200), 0.02);
    nav.referenceAzimuth = 330;
    EXPECT_LT(angleDiff(deg(nav.ProcesarEstacion(s0, s1, 100).attitude.Azi), 340), 0.02);
    EXPECT_FALSE(nav.ambiguityFound);

    nav.useReferenceAzimuth = false;
    nav.ProcesarEstacion(s0, s1, 100);
    EXPECT_LT(angleDiff(nav.ambiguousHeading1, 340), 0.02);
    EXPECT_LT(angleDiff(nav.ambiguousHeading2, 200), 0.02);
}

TEST(StationProcessing, OnePositionStationFindsTheHeading)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(50);
    for (const Attitude a : {Attitude{25, 75, 10}, Attitude{70, 290, 200}}) {
        const ESTACIONout r = nav.ProcesarEstacionSimple(bench.position(a, 50, 0), 100);
        EXPECT_LT(angleDiff(deg(r.attitude.Azi), a.az), 0.02);
        EXPECT_NEAR(deg(r.attitude.Devi), a.inc, 0.01);
        EXPECT_NEAR(r.bias.x, 0, 0.005);
        // One position is not two: the indexer angle of the input is honoured.
        const ESTACIONout turned = nav.ProcesarEstacionSimple(bench.position(a, 50, 90), 100);
        EXPECT_LT(angleDiff(deg(turned.attitude.Hstf), a.hstf), 0.01);
    }
}

// The closed-form heading grid equals the documented step-by-step construction (attitude
// conversions and mountings for every candidate), here on a coarse grid with mountings set.
TEST(StationProcessing, MatchesTheCandidateByCandidateConstruction)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    nav.SetLatitud(22);
    nav.SetIMU2HOUSING(0.4, 70);
    nav.SetHOUSING2WELL(0.1, 300);
    const int F = 4, N = 360 * F;
    const Attitude a{40, 222, 135};
    const ESTACIONin s0 = bench.position(a, 22, 3), s1 = bench.position(a, 22, 181);

    double m0 = 0, m1 = 0;
    const POS_PARAM p0 = nav.CalcularDeviHstf(s0.acel, &m0);
    nav.CalcularDeviHstf(s1.acel, &m1);
    const POS_PARAM h = nav.AjustePOSenPARAM(0, s0.rotpos, nav.IMUaHOUSINGPOS(p0));
    const MATXYZ base = MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, -deg(h.Azi) - 90), 1), Param2Matrix(h));
    std::vector<CARTXYZ> e0(N), e1(N);
    for (int i = 0; i < N; ++i) {
        const MATXYZ ai = MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, static_cast<double>(i) / F), 1), base);
        for (int p = 0; p < 2; ++p) {
            const double rot = p ? s1.rotpos : s0.rotpos;
            const MATXYZ m = MatxMat(Param2Matrix(nav.AjustePOSenPARAM(rot, 0, Matrix2Param(ai))), nav.housingToImu);
            (p ? e1 : e0)[i] = MatxVect(nav.mecToGyro, MatxVect(MatTrasp(m), nav.earthRate));
        }
    }
    const double dx = s0.gyro.x - s1.gyro.x, dy = s0.gyro.y - s1.gyro.y;
    int w = 0;
    double best = 1e300;
    for (int i = 0; i < N; ++i) {
        const double c = std::pow(dx - (e0[i].x - e1[i].x), 2) + std::pow(dy - (e0[i].y - e1[i].y), 2);
        if (c < best) {
            best = c;
            w = i;
        }
    }
    const POS_PARAM expected = Matrix2Param(
        MatxMat(MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, static_cast<double>(w) / F), 1), base), nav.housingToWell));
    const ESTACIONout r = nav.ProcesarEstacion(s0, s1, F);
    EXPECT_NEAR(r.attitude.Devi, expected.Devi, 1e-12);
    EXPECT_NEAR(r.attitude.Azi, expected.Azi, 1e-12);
    EXPECT_NEAR(r.attitude.Hstf, expected.Hstf, 1e-12);
    EXPECT_NEAR(r.attitude.Tf, expected.Tf, 1e-12);
    EXPECT_NEAR(r.bias.x, (s0.gyro.x - e0[w].x + s1.gyro.x - e1[w].x) / 2, 1e-9);
    EXPECT_NEAR(r.bias.z, (s0.gyro.z - e0[w].z + s1.gyro.z - e1[w].z) / 2, 1e-9);
    EXPECT_NEAR(r.residualX, (dx - (e0[w].x - e1[w].x)) / 2, 1e-9);
}

TEST(StationProcessing, QualityCurve)
{
    auto nav = std::make_unique<CNavikor>();
    EXPECT_EQ(nav->CalculaQC(0.39), 100);
    EXPECT_DOUBLE_EQ(nav->CalculaQC(4), 50);
    EXPECT_LT(nav->CalculaQC(10), 50);
}

TEST(StationAttitude, GravityOnlyInclinationAndToolface)
{
    auto nav = std::make_unique<CNavikor>();
    double m = 0;
    for (double inc : {0.3, 45.0, 120.0})
        for (double tf : {10.0, 100.0, 190.0, 280.0}) {
            const CARTXYZ g = gravityIn(attitude(inc, 33, tf));
            const POS_PARAM p = nav->CalcularDeviHstf(CARTXYZ(g.x * 1.02, g.y * 1.02, g.z * 1.02), &m);
            EXPECT_NEAR(deg(p.Devi), inc, 1e-9);
            EXPECT_LT(angleDiff(deg(p.Hstf), tf), 1e-9);
            EXPECT_NEAR(m, 1 / 1.02, 1e-12);
        }
    nav->CalcularDeviHstf(CARTXYZ(0, 0, -0.98), &m);
    EXPECT_NEAR(m, 0.98, 1e-12);
}

TEST(StationAttitude, RealTimeAttitudeFromOneSample)
{
    auto nav = std::make_unique<CNavikor>();
    nav->CalcularMatrices();
    for (double lat : {10.0, 50.0}) {
        nav->SetLatitud(lat);
        for (const Attitude a : {Attitude{20, 60, 30}, Attitude{45, 200, 250}, Attitude{70, 310, 140}}) {
            const M3 att = attitude(a.inc, a.az, a.hstf);
            const POS_PARAM p = nav->CalcularParamRT(gravityIn(att), earthRateIn(att, lat));
            EXPECT_NEAR(deg(p.Devi), a.inc, 1e-9);
            EXPECT_LT(angleDiff(deg(p.Azi), a.az), 1e-6) << lat << " " << a.az;
            EXPECT_LT(angleDiff(deg(p.Hstf), a.hstf), 1e-9);
            EXPECT_LT(angleDiff(deg(p.Tf), physicalTf(a)), 1e-6);
        }
    }
}

// Exactly north, east, south and west (the tool turned by exact quarter turns about the
// vertical, so that east and west make a denominator a zero of either sign) and a hair either
// side, at the equator and away from it.
TEST(StationAttitude, RealTimeAttitudeAtTheCardinalAzimuths)
{
    const M3 quarterTurn{{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};
    auto nav = std::make_unique<CNavikor>();
    nav->CalcularMatrices();
    for (const double lat : {0.0, 35.0, -60.0}) {
        nav->SetLatitud(lat);
        for (const double inc : {10.0, 45.0, 80.0, 135.0})
            for (int quarters = 0; quarters < 4; ++quarters)
                for (const double off : {-0.01, -1e-9, 0.0, 1e-9, 0.01}) {
                    const Attitude a{inc, wrap360(90.0 * quarters + off), 30};
                    M3 att = attitude(a.inc, off, a.hstf);
                    for (int q = 0; q < quarters; ++q)
                        att = mul(quarterTurn, att);
                    SCOPED_TRACE(testing::Message() << "lat " << lat << " inc " << inc << " az " << a.az);
                    const POS_PARAM p = nav->CalcularParamRT(gravityIn(att), earthRateIn(att, lat));
                    EXPECT_NEAR(deg(p.Devi), a.inc, 1e-9);
                    EXPECT_LT(angleDiff(deg(p.Azi), a.az), 1e-6);
                    EXPECT_LT(angleDiff(deg(p.Hstf), a.hstf), 1e-9);
                    EXPECT_LT(angleDiff(deg(p.Tf), physicalTf(a)), 1e-6);
                }
    }
    // Straight down the azimuth is undefined: 0, as for any vertical attitude, and Tf the heading.
    const M3 vertical = attitude(0, 0, 40);
    const POS_PARAM v = nav->CalcularParamRT(gravityIn(vertical), earthRateIn(vertical, -60));
    EXPECT_EQ(v.Azi, 0);
    EXPECT_LT(angleDiff(deg(v.Tf), 40), 1e-6);
}

TEST(StationAttitude, LevelledEarthRate)
{
    auto nav = std::make_unique<CNavikor>();
    nav->CalcularMatrices();
    const double lat = 38;
    nav->SetLatitud(lat);
    for (const Attitude a : {Attitude{10, 60, 30}, Attitude{50, 200, 250}}) {
        const M3 att = attitude(a.inc, a.az, a.hstf);
        const CARTXYZ w = earthRateIn(att, lat);
        const CARTXYZ g = gravityIn(att);
        for (const CARTXYZ& lv : {nav->HorizontalizarGyros(w, g), nav->CalcularHER(w, g)}) {
            // Levelled, the vertical (up) component is 15.041 sin(lat) and the rest horizontal.
            EXPECT_NEAR(lv.z, 15.041 * std::sin(rad(lat)), 1e-9);
            EXPECT_NEAR(std::hypot(lv.x, lv.y), 15.041 * std::cos(rad(lat)), 1e-9);
        }
        CARTXYZ up, down;
        EXPECT_TRUE(nav->CalcularHERdual(w, g, &up, &down));
        EXPECT_TRUE(std::fabs(up.z - 15.041 * std::sin(rad(lat))) < 1e-9
                    || std::fabs(down.z - 15.041 * std::sin(rad(lat))) < 1e-9);
    }
    // A vertical tool needs no levelling.
    EXPECT_EQ(nav->HorizontalizarGyros(CARTXYZ(1, 2, 3), CARTXYZ(0, 0, -1)).z, 3);
}

TEST(StationAttitude, LatitudeInferredFromTheTwoPositions)
{
    StationBench bench;
    CNavikor& nav = bench.nav();
    // The half difference of the two positions is read along the gyro sensor axes, which
    // assumes the sensor z axis is the indexer axis: exact for an aligned triad, and off by
    // about the misalignment (0.4 degree in the bench) otherwise.
    for (const double tol : {0.4, 1e-6}) {
        if (tol < 0.1) {
            nav.gyroToMec = MatrizUnitaria();
            nav.CalcularMatrices();
        }
        for (double lat : {-50.0, 5.0, 63.0}) {
            nav.SetLatitud(lat);
            const Attitude a{35, 140, 70};
            double low = 0, high = 0;
            ASSERT_TRUE(nav.InferirLatitud(bench.position(a, lat, 0), bench.position(a, lat, 180), &low, &high));
            EXPECT_LE(low, high);
            EXPECT_TRUE(std::fabs(low - lat) < tol || std::fabs(high - lat) < tol) << low << " " << high;
        }
    }
    double low = 0, high = 0;
    EXPECT_FALSE(nav.InferirLatitud(bench.position({35, 140, 70}, 5, 0), bench.position({35, 140, 70}, 5, 90), &low, &high));
}

TEST(StationTables, AddUntilFull)
{
    auto nav = std::make_unique<CNavikor>();
    EXPECT_EQ(nav->AgregarEstacionSimple(ESTACIONin{}), 1);
    EXPECT_EQ(nav->AgregarEstacionDif(ESTACIONin{}, ESTACIONin{}), 1);
    ESTACIONout out;
    out.quality = 77;
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(nav->AgregarParada(out, 2, ESTACIONin{}, ESTACIONin{}, i, i + 1, 0), i);
    EXPECT_EQ(nav->AgregarParada(out, 2, ESTACIONin{}, ESTACIONin{}, 0, 0, 0), -1);
    EXPECT_EQ(nav->stopCount, 1000);
    EXPECT_EQ(nav->stopTable[999].start, 1000);
    EXPECT_EQ(nav->stopTable[999].kind, 2);
    EXPECT_EQ(nav->stopTable[999].result.quality, 77);
}
