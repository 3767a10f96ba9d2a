#include "navikor/Navikor.h"
#include "navikor/tests/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <memory>
#include <vector>

using namespace synth;

namespace {

const std::vector<double> kIndexerStation = {0, 180, 0};  // a station turns half a turn and back

} // namespace

// Between two stations the integrated attitude arrives at the second station; before the first
// and after the last, the integration runs backward and forward from them.
TEST(ContinuousMode, MovementBetweenStationsEndsAtTheSecond)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(-31.5, attitude(18, 100, 50), CARTXYZ(4, -3, 2));
    s.add({100, CARTXYZ(0.02, 0.05, -0.1), {}});                 // head: moving into station A
    s.add({300, CARTXYZ(), kIndexerStation, 0});                 // station A
    s.add({3000, CARTXYZ(0.02, -0.01, 0.08), {}});               // 300 s movement
    s.add({300, CARTXYZ(), kIndexerStation, 2});                 // station B
    s.add({200, CARTXYZ(-0.03, 0.01, 0.1), {}});                 // tail
    Lcg noise;
    s.load(*nav, &noise, 1e-4);

    ASSERT_EQ(nav->ProcesarTABLA(), 0);
    ASSERT_EQ(nav->ProcesarMC(), 0);
    ASSERT_EQ(nav->movementCount, 3);
    EXPECT_EQ(nav->movementTable[0].kind, 1);
    EXPECT_EQ(nav->movementTable[1].kind, 0);
    EXPECT_EQ(nav->movementTable[2].kind, 2);

    const Movimiento& m = nav->movementTable[1];
    EXPECT_EQ(m.firstIndex, 400);
    EXPECT_EQ(m.lastIndex, 3399);
    EXPECT_EQ(m.movingSamples, 3000);
    EXPECT_NEAR(m.movingSeconds, 300, 1e-6);
    EXPECT_NEAR(m.durationMinutes, 5, 1e-9);
    // The gyro bias is removed through the drift the stations report; the remaining mismatch
    // at the second station is far below the heading grid of a station.
    EXPECT_LT(m.attitudeError, 0.01);
    EXPECT_LT(m.axisError, 0.01);
    EXPECT_GT(m.quality, 99.0);
    EXPECT_GE(m.acelCorrections, 1);  // at least the forced one at the end of the stretch
    EXPECT_FALSE(m.saturated);
    EXPECT_EQ(m.saturationTime, -1);
    // Rotation about the tool axis: 0.08 deg/s for 300 s, give or take the earth's rate.
    EXPECT_NEAR(m.integratedAngle, 0.08 * 300, 15.041 * 300 / 3600);

    // Every sample's attitude follows the true one: stations, the movement, head and tail.
    EXPECT_LT(s.worstError(0, s.size() - 1), 0.02);

    // The well attitude of a sample is the housing's, referred to indexer 0.
    POS_PARAM p;
    const double t = nav->WELLPOSindex(2000, &p);
    EXPECT_EQ(t, s.samples()[2000].time);
    const POS_PARAM truth = Matrix2Param(toMat(s.housing(2000)));
    EXPECT_NEAR(deg(p.Devi), deg(truth.Devi), 0.02);
    EXPECT_LT(angleDiff(deg(p.Azi), deg(truth.Azi)), 0.02);
    EXPECT_LT(angleDiff(deg(p.Hstf), deg(truth.Hstf)), 0.02);
    EXPECT_EQ(nav->WELLPOStiempo(t, &p), 2000);
}

// The well attitude of every sample is the IMU's through the mountings and the indexer, the
// same whether taken as matrices (clear of vertical) or through the angles (near it).
TEST(ContinuousMode, WellAttitudesOfEverySampleFollowTheMountingsAndTheIndexer)
{
    for (const double inclination : {18.0, 0.3, 0.0}) {
        SCOPED_TRACE(inclination);
        auto nav = std::make_unique<CNavikor>();
        nav->SetIMU2HOUSING(0.4, 25);
        nav->SetHOUSING2WELL(0.2, 140);
        Survey s(-31.5, attitude(inclination, 100, 50), CARTXYZ(4, -3, 2));
        s.add({300, CARTXYZ(), kIndexerStation, 0});
        s.add({600, CARTXYZ(0.02, -0.01, 0.08), {}});
        s.add({300, CARTXYZ(), kIndexerStation, 2});
        Lcg noise;
        s.load(*nav, &noise, 1e-4);
        ASSERT_EQ(nav->ProcesarTABLA(), 0);
        ASSERT_EQ(nav->ProcesarMC(), 0);
        double worst = 0;
        for (long k = 0; k < static_cast<long>(s.size()); k += 7) {
            POS_PARAM p, imu;
            nav->WELLPOSindex(k, &p);
            nav->IMUPOSindex(k, &imu);
            const POS_PARAM q =
                nav->HOUSINGaWELLPOS(nav->AjustePOSenPARAM(0, nav->sampleTable[k].rotpos, nav->IMUaHOUSINGPOS(imu)));
            worst = std::max({worst, std::fabs(p.Devi - q.Devi), angleDiff(deg(p.Azi), deg(q.Azi)) / 57.3,
                              angleDiff(deg(p.Hstf), deg(q.Hstf)) / 57.3 * std::sin(q.Devi)});
        }
        EXPECT_LT(worst, 1e-9);
    }
}

// Without the drift the stations report, the same gyro bias shows up as a mismatch at the
// second station: what the drift removal buys.
TEST(ContinuousMode, UncorrectedBiasShowsAsMismatch)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(45, attitude(30, 200, 10), CARTXYZ(4, -3, 2));
    s.add({300, CARTXYZ(), {}, 0});
    s.add({3000, CARTXYZ(0.01, 0.01, 0.05), {}});
    s.add({300, CARTXYZ(), {}, 0});
    s.load(*nav);
    nav->acelCorrOn = false;
    nav->matchStations = false;
    ASSERT_EQ(nav->ProcesarTABLA(), 0);
    nav->ResetDrifts(true, true, true);
    ASSERT_EQ(nav->ProcesarMC(), 0);
    // |bias| = 5.4 deg/h over 300 s: about 0.45 degree of attitude error.
    EXPECT_NEAR(nav->movementTable[0].attitudeError, std::sqrt(16.0 + 9 + 4) * 300 / 3600, 0.05);
}

// A drift-only stop inside a movement: its samples follow only the indexer, and the movement
// still ends at the next attitude station.
TEST(ContinuousMode, CrossingADriftOnlyStop)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(10, attitude(40, 300, 200), CARTXYZ(-2, 1, 3));
    s.add({300, CARTXYZ(), kIndexerStation, 0});
    s.add({1200, CARTXYZ(0.01, 0.03, -0.06), {}});
    s.add({300, CARTXYZ(), kIndexerStation, 1});  // drift-only
    s.add({1200, CARTXYZ(-0.02, 0.01, 0.07), {}});
    s.add({300, CARTXYZ(), kIndexerStation, 0});
    Lcg noise;
    s.load(*nav, &noise, 1e-4);
    ASSERT_EQ(nav->ProcesarTABLA(), 0);
    EXPECT_EQ(nav->driftStopCount, 1);
    EXPECT_EQ(nav->attitudeStationCount, 2);
    ASSERT_EQ(nav->ProcesarMC(), 0);
    ASSERT_EQ(nav->movementCount, 1);
    EXPECT_LT(nav->movementTable[0].attitudeError, 0.01);
    EXPECT_GE(nav->movementTable[0].acelCorrections, 2);  // forced at the stop and at the end
    EXPECT_LT(s.worstError(0, s.size() - 1), 0.02);
}

TEST(ContinuousMode, TableFlagsDriftsAndStationAttitudes)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(20, attitude(25, 60, 120), CARTXYZ(1, 2, 3));
    s.add({100, CARTXYZ(0.01, 0, 0), {}});
    s.add({101, CARTXYZ(), {}, 0});  // samples 100-200
    s.add({100, CARTXYZ(0.01, 0, 0), {}});
    s.add({50, CARTXYZ(), {}, 3});  // samples 301-350: drift-only, z only
    s.add({50, CARTXYZ(0.01, 0, 0), {}});
    s.load(*nav);
    // Stations added out of time order are sorted by start time.
    std::swap(nav->stopTable[0], nav->stopTable[1]);
    for (auto& m : s.samples())
        m.inStop = 123.0;  // stale flags are cleared
    ASSERT_EQ(nav->ProcesarTABLA(), 0);
    EXPECT_EQ(nav->stopTable[0].kind, 0);
    int flagged = 0;
    for (int k = 0; k < s.size(); ++k) {
        unsigned char b = 0;
        std::memcpy(&b, &s.samples()[k].inStop, 1);
        const bool expected = (k >= 100 && k <= 200) || (k >= 301 && k <= 350);
        EXPECT_EQ(b != 0, expected) << k;
        flagged += b != 0;
    }
    EXPECT_EQ(flagged, 151);
    EXPECT_EQ(nav->driftCount[0], 1);
    EXPECT_EQ(nav->driftCount[2], 2);
    EXPECT_NEAR(nav->driftTime[0][0], (s.samples()[100].time + s.samples()[200].time) / 2, 1e-9);
    // Kind 0 writes attitudes for its samples and the one after; kind 3 writes none.
    POS_PARAM p;
    const double stationDevi = Matrix2Param(toMat(s.housing(100))).Devi;
    for (int k : {100, 150, 200, 201}) {
        nav->IMUPOSindex(k, &p);
        EXPECT_NEAR(p.Devi, stationDevi, 1e-12) << k;
    }
    nav->IMUPOSindex(99, &p);
    EXPECT_EQ(p.Devi, Matrix2Param(MATXYZ{}).Devi);
    nav->IMUPOSindex(320, &p);
    EXPECT_EQ(p.Devi, Matrix2Param(MATXYZ{}).Devi);
}

TEST(ContinuousMode, NoAttitudeStationNoMovements)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(20, attitude(25, 60, 120), CARTXYZ());
    s.add({100, CARTXYZ(0.01, 0, 0), {}});
    s.add({50, CARTXYZ(), {}, 1});
    s.load(*nav);
    nav->ProcesarTABLA();
    EXPECT_EQ(nav->ProcesarMC(), -1);
    EXPECT_EQ(nav->movementCount, 0);
    EXPECT_EQ(nav->ProcesarMovimiento(0), -1);
}

TEST(ContinuousMode, SampleSearchAndDriftTables)
{
    auto nav = std::make_unique<CNavikor>();
    std::vector<MUESTRA> samples(5);
    for (int i = 0; i < 5; ++i)
        samples[i].time = i * 0.5;
    nav->sampleTable = samples.data();
    nav->sampleCount = 5;
    EXPECT_EQ(nav->BuscarIndex(-3), 0);
    EXPECT_EQ(nav->BuscarIndex(0.25), 1);  // halfway: the later one
    EXPECT_EQ(nav->BuscarIndex(0.24), 0);
    EXPECT_EQ(nav->BuscarIndex(1.3), 3);
    EXPECT_EQ(nav->BuscarIndex(99), 4);

    nav->SetGyroDrift(20, 3, 0);
    nav->SetGyroDrift(10, 1, 0);
    nav->OrdenaDrifts();
    EXPECT_DOUBLE_EQ(nav->GetGyroDrift(5).x, 1);
    EXPECT_DOUBLE_EQ(nav->GetGyroDrift(15).x, 2);
    EXPECT_DOUBLE_EQ(nav->GetGyroDrift(30).x, 3);
    EXPECT_EQ(nav->GetGyroDrift(15).y, 0);  // empty table
    for (int i = 0; i < 1500; ++i)
        nav->SetGyroDrift(100 + i, i, 1);
    EXPECT_EQ(nav->driftCount[1], 1000);
    EXPECT_EQ(nav->driftValue[1][999], 1499);  // full: the last pair is overwritten
    nav->ResetDrifts(false, true, false);
    EXPECT_EQ(nav->driftCount[1], 0);
    EXPECT_EQ(nav->driftCount[0], 2);
}

TEST(ContinuousMode, CorrectionCadence)
{
    auto nav = std::make_unique<CNavikor>();
    std::vector<MUESTRA> samples(1000);
    nav->sampleTable = samples.data();
    nav->sampleCount = 1000;
    EXPECT_EQ(nav->CalculaCuentasAcelCorr(0, 249), 260);
    EXPECT_EQ(nav->CalculaCuentasAcelCorr(0, 699), 235);
    EXPECT_EQ(nav->CalculaCuentasAcelCorr(699, 0), 235);
}

TEST(ContinuousMode, SaturatedGyroSampleIsNotIntegrated)
{
    auto nav = std::make_unique<CNavikor>();
    AGPAR s;
    s.gyro = CARTXYZ(10, 2491, 0);
    s.acel = CARTXYZ(0, 0, -1);
    MATXYZ r = MatrizUnitaria();
    r.m[1] = 5;
    EXPECT_EQ(nav->ProcesarMuestra(s, CARTXYZ(), 0.1, &r), -1);
    EXPECT_TRUE(nav->gyroSaturated);
    EXPECT_EQ(r.m[1], 5);
    s.gyro = CARTXYZ(1800, 0, 0);  // 0.5 deg/s about x for 4 s
    double mag = 0;
    const MATXYZ m = nav->AplicarMuestra(s, CARTXYZ(), 4, MatrizUnitaria(), &mag);
    EXPECT_NEAR(mag, 1800, 1e-9);
    // Seen from the earth, which turns 15.041 deg/h about north (the block's x axis here).
    EXPECT_NEAR(Vnorma(MM2W(MatrizUnitaria(), m)), 2 - 15.041 * 4 / 3600, 1e-9);
}

// The forced heading search finds the same winner as scanning all 36000 headings.
TEST(ContinuousMode, ForcedCorrectionMatchesTheFullScan)
{
    auto nav = std::make_unique<CNavikor>();
    Lcg r;
    for (int trial = 0; trial < 12; ++trial) {
        const double inc = 1 + 80 * r.uniform(), az = 360 * r.uniform(), tf = 360 * r.uniform();
        const MATXYZ a = toMat(attitude(inc, az, tf));
        const MATXYZ b = toMat(attitude(inc + 3 * (r.uniform() - 0.5), 360 * r.uniform(), tf + 20 * (r.uniform() - 0.5)));
        int win = 0;
        double best = 180;
        for (int i = 0; i < 36000; ++i) {
            const CARTXYZ v = MML2W(a, MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, i / 100.0), 1), b));
            const double c = std::sqrt(v.x * v.x + v.y * v.y + (v.z / 10) * (v.z / 10));
            if (c < best) {
                best = c;
                win = i;
            }
        }
        const CARTXYZ expected = MM2W(a, MatxMat(Rotation_To_Matrix(CARTXYZ(0, 0, win / 100.0), 1), b));
        CARTXYZ corr;
        MATXYZ rot;
        EXPECT_TRUE(nav->ForzarAcelerometros(a, b, 180, &corr, &rot));
        EXPECT_NEAR(corr.x, expected.x, 1e-9) << trial;
        EXPECT_NEAR(corr.y, expected.y, 1e-9) << trial;
        EXPECT_NEAR(corr.z, expected.z, 1e-9) << trial;
    }
}

TEST(ContinuousMode, SmallStationMatchLeavesAttitudesAlone)
{
    auto nav = std::make_unique<CNavikor>();
    std::vector<MUESTRA> samples(100);
    std::vector<MATXYZ> att(100, toMat(attitude(30, 30, 30)));
    nav->sampleTable = samples.data();
    nav->sampleCount = 100;
    nav->attitudeTable = att.data();
    nav->AplicarCorreccionACI(0, 99, CARTXYZ(0.02, 0, 0), 0.05);  // under half a step
    EXPECT_EQ(att[99].m[0], toMat(attitude(30, 30, 30)).m[0]);
    nav->AplicarCorreccionACI(0, 99, CARTXYZ(0.2, 0, 0), 0.05);
    EXPECT_NEAR(Vnorma(MM2W(toMat(attitude(30, 30, 30)), att[99])), 0.2, 1e-9);
    EXPECT_LT(Vnorma(MM2W(toMat(attitude(30, 30, 30)), att[0])), 0.05 + 1e-9);
    nav->AplicarCorreccion(0, 99, CARTXYZ(0, 0.1, 0), 0.02);
    EXPECT_NEAR(Vnorma(MM2W(toMat(attitude(30, 30, 30)), att[99])), std::hypot(0.2, 0.1), 1e-6);
}

TEST(ContinuousMode, AccelerometerNoiseChannels)
{
    auto nav = std::make_unique<CNavikor>();
    std::vector<MUESTRA> samples(50);
    for (int i = 0; i < 50; ++i)
        samples[i].ag.acel = CARTXYZ(i % 2 ? 0.001 : -0.001, 0, -1);
    nav->sampleTable = samples.data();
    nav->sampleCount = 50;
    EXPECT_EQ(nav->EncontrarUmbralAcel(), 10000000);
    nav->CanalRuidoAcels(5);
    ASSERT_NE(nav->acelNoiseChannel, nullptr);
    EXPECT_NEAR(nav->acelNoiseChannel[25], 0.001 * std::sqrt(12.0 / 11), 1e-6);
    nav->ClasificarAcelRuido(0.001);
    EXPECT_LE(nav->acelNoiseClassChannel[25], 4);
    EXPECT_GT(nav->EncontrarUmbralAcel(), 0);
    const CARTXYZ mean = nav->PromedioAcelsRAW(-10, 1000);  // clamped
    EXPECT_NEAR(mean.z, -1, 1e-12);
    nav->LiberarAcelMem();
    EXPECT_EQ(nav->acelNoiseChannel, nullptr);
}

TEST(ContinuousMode, TraceFileRecordsMovementsWithCrLf)
{
    auto nav = std::make_unique<CNavikor>();
    Survey s(0, attitude(10, 10, 10), CARTXYZ());
    s.add({100, CARTXYZ(), {}, 0});
    s.add({400, CARTXYZ(0.02, 0, 0.05), {}});
    s.add({100, CARTXYZ(), {}, 0});
    s.load(*nav);
    const std::string path = testing::TempDir() + "navikor_trace.txt";
    ASSERT_TRUE(nav->AbrirArchivoDebug(path.c_str()));
    nav->ProcesarTABLA();
    nav->ProcesarMC();
    nav->CerrarArchivoDebug();
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string t = text.str();
    EXPECT_EQ(t.rfind("Mov BILAT: Tiempo:  1009.90  hasta   1050.00 \r\n", 0), 0u) << t.substr(0, 80);
    EXPECT_NE(t.find("  AcelCorr: Tiempo: "), std::string::npos);
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\n') {
            ASSERT_TRUE(i > 0 && t[i - 1] == '\r') << "bare line feed at " << i;
        }
    }
    std::remove(path.c_str());
}
