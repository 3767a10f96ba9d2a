// The simulated TARN-C tool read through the TOOLS library, as the task panel reads it: the
// commands and their answers, the indexer, the faults, and north-seeking stations whose
// results agree with the simulated well.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "navikor/Navikor.h"
#include "panelsim/PanelSimulator.h"
#include "panelsim/TarnCTool.h"
#include "platform/testing/ManualLoop.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"

using namespace panelsim;

namespace {

constexpr double kPi = 3.1415926535898;

std::string sampleSct() {
  std::ifstream in(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TarnCSettings quiet() {
  TarnCSettings s;
  s.calibration = tools::tarnc::parseSct(sampleSct()).calibration;
  s.gyroBias[0] = s.gyroBias[1] = s.gyroBias[2] = 0;
  s.gyroNoise = s.acelNoise = 0;
  return s;
}

Well testWell() {
  Well w;
  w.latitudeDeg = 40;
  w.inclinationDeg = 30;
  w.azimuthDeg = 123.4;
  w.toolfaceDeg = 40;
  return w;
}

// The tool in a well, its frames decoded by the library with the same correction table.
struct Rig {
  tools::Library lib;
  tools::TarnC& family = *static_cast<tools::TarnC*>(lib.family(records::kTarnC));
  tools::Globals& g = lib.globals();
  TarnCTool tool;
  Environment env;
  Noise noise;
  std::vector<std::uint8_t> ring = std::vector<std::uint8_t>(32768, 0);
  std::vector<float> row = std::vector<float>(25, 0.0f);
  std::uint32_t at = 0;

  explicit Rig(TarnCSettings s = quiet(), std::uint32_t seed = 3) : tool(std::move(s)), noise(seed) {
    env.well = testWell();
    env.temperatureC = 45;
    if (tool.settings().calibration) {
      EXPECT_TRUE(family.loadCorrectionTableText(sampleSct(), nullptr));
    }
    family.getParameterList()[0].value = static_cast<float>(env.well.latitudeDeg);
    family.init();
    frames(8);  // every temperature slot has come once
  }
  std::uint8_t status() const { return g.TARNC_CtrlWord & 0x0E; }
  void frame() {
    std::uint8_t b[24];
    tool.produce(env, noise, b);
    env.timeS += 1.0 / 15;
    ++env.frame;
    for (int i = 0; i < 24; ++i) ring[(at + 3 + i) & 32767] = b[i];
    float* p = row.data();
    family.processData(ring, at, 3, &p, row.data(), row.data() + row.size() - 1, {});
    at = (at + 30) & 32767;
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // Frames until the predicate holds; how many it took (limit + 1: never).
  int until(const std::function<bool()>& done, int limit = 300) {
    for (int i = 1; i <= limit; ++i) {
      frame();
      if (done()) return i;
    }
    return limit + 1;
  }
  void send(std::vector<std::uint8_t> payload) {
    // [n + 2, 227, 0, payload], as the panel delivers it.
    std::vector<std::uint8_t> m(payload.size() + 3, 0);
    m[0] = static_cast<std::uint8_t>(payload.size() + 2);
    m[1] = 0xE3;
    std::copy(payload.begin(), payload.end(), m.begin() + 3);
    tool.onMessage(m);
  }
  // A move as the station starts one: status 6 seen, then rest; frames of status 6.
  int move(std::vector<std::uint8_t> command) {
    send(std::move(command));
    EXPECT_LE(until([&] { return status() == 6; }, 4), 4) << "rotation shows at once";
    int rotating = 1;
    while (status() == 6 && rotating < 2000) frame(), ++rotating;
    return rotating;
  }
  void readTable() {
    g.TARNC_SpecialFrameDataCount = 0;
    send({0x99});
    EXPECT_LE(until([&] { return status() == 10; }, 15), 15);
    until([&] { return status() != 10; });
    g.cuentas_0deg = g.TARNC_TDDataBuf[0];
    g.cuentas_180deg = g.TARNC_TDDataBuf[2];
  }
  // The average of one indexer position over n frames, as the station keeps it.
  ESTACIONin average(int n, double* p = nullptr) {
    ESTACIONin s;
    double sum[21] = {};
    for (int i = 0; i < n; ++i) {
      frame();
      for (int k = 0; k < 6; ++k) sum[k] += row[k];
      sum[6] += g.m_fPOS;
      for (int k = 0; k < 3; ++k) sum[7 + k] += row[12 + k];
    }
    s.acel = CARTXYZ(sum[3] / n, sum[4] / n, sum[5] / n);
    s.gyro = CARTXYZ(sum[0] / n, sum[1] / n, sum[2] / n);
    s.rotpos = sum[6] / n;
    for (int k = 0; p && k < 6; ++k) p[k] = sum[k] / n;
    return s;
  }
};

double angleDiff(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}
double deg(double r) { return r * 180 / kPi; }

struct Station {
  ESTACIONout result;
  double ratio = 0;
};

// A north-seeking station as the panel runs it: 0x6F, wait, average; 0x71, wait, average.
Station runStation(Rig& rig, int halfFrames) {
  rig.readTable();
  rig.move({0x6F});
  rig.frames(15);  // the mid-station settling
  double p[6], q[6];
  const ESTACIONin s0 = rig.average(halfFrames, p);
  rig.move({0x71});
  rig.frames(15);
  const ESTACIONin s1 = rig.average(halfFrames, q);
  Station st;
  st.result = rig.lib.navikor().ProcesarEstacion(s0, s1, 100);
  // The survey report's inertial vector: rates of the two positions in earth-rate units.
  const double wx = (p[0] - q[0]) * 0.5 / 15.041, wy = (p[1] - q[1]) * 0.5 / 15.041;
  const double wz = -(std::sin(rig.env.well.latitudeDeg * kPi / 180) + p[3] * wx + p[4] * wy) / p[5];
  st.ratio = std::sqrt(wx * wx + wy * wy + wz * wz);
  return st;
}

}  // namespace

TEST(TarnCTool, CalibrationRoundTripGivesThePhysicalReadingsBack) {
  Rig rig;
  CNavikor& nav = rig.lib.navikor();
  const Well w = rig.env.well;
  const double theta = rig.tool.angleOfCount(rig.tool.count());
  const MATXYZ m = Param2Matrix(POS_PARAM{w.inclinationDeg * kPi / 180, w.azimuthDeg * kPi / 180,
                                          (w.toolfaceDeg + theta) * kPi / 180, 0});
  const CARTXYZ a = MatxVect(MatTrasp(m), CARTXYZ(0, 0, 1));
  const CARTXYZ rate = MatxVect(nav.mecToGyro, MatxVect(MatTrasp(m), nav.earthRate));
  rig.frame();
  EXPECT_NEAR(rig.row[3], a.x, 2e-6);
  EXPECT_NEAR(rig.row[4], a.y, 2e-6);
  EXPECT_NEAR(rig.row[5], a.z, 2e-6);
  // 1 uV steps at gains near 1 (deg/h)/mV.
  EXPECT_NEAR(rig.row[0], rate.x, 2e-3);
  EXPECT_NEAR(rig.row[1], rate.y, 2e-3);
  EXPECT_NEAR(rig.row[2], rate.z, 2e-3);
  EXPECT_NEAR(rig.row[12], 60.0, 1e-4) << "the block runs 15 degC above the formation";
  EXPECT_NEAR(rig.row[17], 30.0, 0.01);  // DEVI
  EXPECT_GT(std::fabs(rig.row[6] - rate.x), 10) << "the raw reading carries the offset";
}

TEST(TarnCTool, StationsOnANoiselessToolGiveTheWellBack) {
  for (int accuracy : {0, 2}) {
    SCOPED_TRACE(accuracy);
    TarnCSettings s = quiet();
    s.accuracy = accuracy;
    Rig rig(s);
    const Station st = runStation(rig, 150);
    EXPECT_LT(angleDiff(deg(st.result.attitude.Devi), 30), 0.02);
    EXPECT_LT(angleDiff(deg(st.result.attitude.Azi), 123.4), 0.02);
    EXPECT_LT(angleDiff(deg(st.result.attitude.Hstf), 40), 0.02);
    EXPECT_NEAR(st.ratio, 1.0, 0.001);
  }
}

// White gyro noise of sigma per frame averages to sigma / sqrt(N) over N frames; the
// difference of the two positions has sqrt(2) times that per axis. A heading error dpsi
// (about the vertical) moves the horizontal earth rate 15.041 cos(lat) by dpsi sideways, and
// the tool's transverse plane sees the fraction sqrt(1 - (sin I sin A)^2) of that move, twice
// over in the difference. So sigma_psi = sqrt(2) sigma / sqrt(N) / (2 x 15.041 cos(lat)
// sqrt(1 - (sin I sin A)^2)) radians; every station stays within four of those plus the
// 0.02-degree grid.
TEST(TarnCTool, NoisyStationsStayWithinTheBoundTheNoiseAllows) {
  const double sigma = 0.5;
  const int n = 300;
  const Well w = testWell();
  const double side = std::sin(w.inclinationDeg * kPi / 180) * std::sin(w.azimuthDeg * kPi / 180);
  const double sensitivity = 2 * 15.041 * std::cos(w.latitudeDeg * kPi / 180) * std::sqrt(1 - side * side);
  const double bound = 4 * deg(std::sqrt(2.0) * sigma / std::sqrt(double(n)) / sensitivity) + 0.02;
  EXPECT_NEAR(bound, 0.46, 0.01);
  double worst = 0;
  for (std::uint32_t seed : {11u, 12u, 13u, 14u}) {
    TarnCSettings s = quiet();
    s.gyroNoise = sigma;
    Rig rig(s, seed);
    const Station st = runStation(rig, n);
    const double err = angleDiff(deg(st.result.attitude.Azi), w.azimuthDeg);
    EXPECT_LT(err, bound) << seed;
    worst = std::max(worst, err);
  }
  EXPECT_GT(worst, 0.0) << "the noise reaches the result";
}

// What the task panel does at the end of a station: the station's attitude, turned to the
// indexer's present angle and taken into the IMU, is handed over in m_MC_NEP.
void handOverStation(Rig& rig, const Well& w) {
  CNavikor& nav = rig.lib.navikor();
  const POS_PARAM station{w.inclinationDeg * kPi / 180, w.azimuthDeg * kPi / 180, w.toolfaceDeg * kPi / 180, 0};
  rig.g.m_MC_NEP = nav.HOUSINGaIMU(nav.AjustePOSenMAT(rig.g.m_fPOS, 0, Param2Matrix(station)));
}

// The IMU's true attitude as the simulated tool holds it.
POS_PARAM imuTruth(const Rig& rig) {
  const Well& w = rig.env.well;
  const double tf = w.toolfaceDeg + rig.tool.settings().toolfaceRateDegPerS * rig.env.timeS;
  return Matrix2Param(Param2Matrix(POS_PARAM{w.inclinationDeg * kPi / 180, w.azimuthDeg * kPi / 180,
                                             (tf + rig.tool.angleOfCount(rig.tool.count())) * kPi / 180, 0}));
}

void turnAt(Rig& rig, double degPerS) {
  // The simulated toolface is start + rate x time: keep it where it is when the rate changes.
  auto& s = rig.tool.settings();
  rig.env.well.toolfaceDeg += (s.toolfaceRateDegPerS - degPerS) * rig.env.timeS;
  s.toolfaceRateDegPerS = degPerS;
}

// A gyrocompass cannot follow a turning tool; the gyros integrated from the last station can.
TEST(TarnCTool, AfterAStationTheOnlineAttitudeFollowsATurningTool) {
  Rig rig;
  rig.readTable();
  rig.move({0x6F});
  rig.frames(30);
  handOverStation(rig, rig.env.well);
  rig.frames(15);
  EXPECT_TRUE(rig.family.onlineAttitude().integrating());
  turnAt(rig, 0.4);  // 60 degrees in 150 s, within the gyros' range
  double worstAzimuth = 0, worstToolface = 0;
  for (int i = 0; i < 150 * 15; ++i) {
    rig.frame();
    worstAzimuth = std::max(worstAzimuth, angleDiff(rig.row[18], 123.4));
    worstToolface = std::max(worstToolface, angleDiff(rig.row[20], deg(imuTruth(rig).Tf)));
  }
  turnAt(rig, 0);
  rig.frames(60);
  EXPECT_LT(worstAzimuth, 0.05);
  EXPECT_LT(worstToolface, 0.05);
  EXPECT_LT(angleDiff(rig.row[20], deg(imuTruth(rig).Tf)), 0.05);
  // A new telemetry start loses frames: the integration stops until the next station.
  rig.family.init();
  EXPECT_FALSE(rig.family.onlineAttitude().integrating());
}

// Frames without the tool's data (the panel sending a downhole message) leave a gap: the gyros
// still read the rate, not the angle turned since the last frame they were in.
TEST(TarnCTool, GyrosReadTheRateAcrossAGapInTheFrames) {
  Rig rig;
  turnAt(rig, 0.3);  // 1080 deg/h about the tool axis
  rig.frames(15);
  const float before = rig.row[2];  // RATEZ
  rig.env.timeS += 3.0 / 15;
  rig.frame();
  EXPECT_NEAR(rig.row[2], before, 2);
}

// A gyro drift no table removes tilts the integration; the online correction pulls the tilt
// back to gravity every interval and, fed back, learns the drift it can see: the part
// perpendicular to gravity.
TEST(TarnCTool, TheOnlineDriftCorrectionHoldsTheTiltAndLearnsTheDrift) {
  struct Case {
    bool enabled, feedback;
    double maxTiltDeg;  // after 20 minutes
  };
  const double bias[3] = {3.0, -2.0, 1.0};  // deg/h
  for (const Case c : {Case{false, false, 2.0}, Case{true, false, 0.08}, Case{true, true, 0.03}}) {
    SCOPED_TRACE(std::to_string(c.enabled) + std::to_string(c.feedback));
    TarnCSettings s = quiet();
    for (int i = 0; i < 3; ++i) s.gyroBias[i] = bias[i];
    Rig rig(s);
    rig.g.TARNC_GyroDriftCorrEnable = c.enabled;
    rig.g.TARNC_GyroDriftCorrInterval = 60;
    rig.g.TARNC_GyroDriftCorrFeedback_x = rig.g.TARNC_GyroDriftCorrFeedback_y = rig.g.TARNC_GyroDriftCorrFeedback_z =
        c.feedback;
    rig.g.TARNC_DTGDriftCorrFeedback_Filter_Division = 2;
    rig.frames(30);
    handOverStation(rig, rig.env.well);
    rig.frames(20 * 60 * 15);
    const auto& online = rig.family.onlineAttitude();
    const POS_PARAM truth = imuTruth(rig), integrated = online.attitude();
    const double tilt = std::max(angleDiff(deg(integrated.Devi), deg(truth.Devi)),
                                 angleDiff(deg(integrated.Hstf), deg(truth.Hstf)) * std::sin(truth.Devi));
    if (!c.enabled) {
      EXPECT_GT(tilt, 0.3) << "the drift shows without the correction";
    }
    EXPECT_LT(tilt, c.maxTiltDeg);
    EXPECT_EQ(online.corrections() > 0, c.enabled);
    if (!c.feedback) continue;
    // The drift seen: the bias less its part along gravity (the third row of the attitude).
    const MATXYZ m = Param2Matrix(truth);
    const double along = bias[0] * m.m[6] + bias[1] * m.m[7] + bias[2] * m.m[8];
    EXPECT_NEAR(online.drift().x, bias[0] - along * m.m[6], 0.15);
    EXPECT_NEAR(online.drift().y, bias[1] - along * m.m[7], 0.15);
    EXPECT_NEAR(online.drift().z, bias[2] - along * m.m[8], 0.15);
  }
}

TEST(TarnCTool, EveryIndexerMoveShowsRotationAndEndsWithinTheAccuracy) {
  Rig rig;
  rig.readTable();
  EXPECT_EQ(rig.g.TARNC_SpecialFrameDataCount, 4);
  const std::uint16_t* table = rig.g.TARNC_TDDataBuf.data();
  EXPECT_EQ(table[0], 12);
  EXPECT_EQ(table[2], 524);
  const struct {
    std::vector<std::uint8_t> command;
    int target;
  } moves[] = {
      {{0x6F}, 12},  // already there: still status 6
      {{0x70}, 268}, {{0x72}, 780}, {{0x71}, 524}, {{0x71}, 524}, {{0x6F}, 12},
      {{0x98, 0xF4, 0x01, 0x01}, 500},  // ANY_POS_SET 500
  };
  for (const auto& m : moves) {
    SCOPED_TRACE(m.target);
    if (m.command[0] == 0x98) rig.g.TARNC_LastAck = 0;
    const int rotating = rig.move(m.command);
    EXPECT_GE(rotating, 8) << "status 6 lasts half a second";
    EXPECT_LE(rotating, 150) << "a half turn takes under 10 s";
    EXPECT_EQ(rig.status(), 2);
    EXPECT_LE(std::abs(rig.g.TARNC_AnglePos - m.target), 2);
  }
  EXPECT_EQ(rig.g.TARNC_LastAck, 0x20);
}

TEST(TarnCTool, CommandsAreAcknowledgedAndReadBack) {
  Rig rig;
  const struct {
    std::vector<std::uint8_t> payload;
    std::uint8_t ack;
  } cases[] = {
      {{0x9B, 0x03, 0x61, 0xF5, 0x03}, 0x20}, {{0x97, 150, 10, 20, 0}, 0x10},   {{0x83, 0xCA}, 0x30},
      {{0x9E, 20, 40, 30, 45, 40}, 0x30},     {{0x9C, 0x02, 0x9A, 55}, 0x30},   {{0x9C, 0x02, 0x9C}, 0x30},
      {{0xA2, 0x88, 0x13}, 0x10},             {{0xA3, 0x10, 0x27}, 0x10},       {{0xA5, 30}, 0x10},
  };
  for (const auto& c : cases) {
    rig.g.TARNC_LastAck = 0;
    rig.send(c.payload);
    EXPECT_LE(rig.until([&] { return rig.g.TARNC_LastAck != 0; }, 3), 3) << int(c.payload[0]);
    EXPECT_EQ(rig.g.TARNC_LastAck, c.ack) << int(c.payload[0]);
  }
  EXPECT_EQ(rig.tool.settings().table[0], 1013);
  EXPECT_EQ(rig.tool.settings().accuracy, 0);
  EXPECT_EQ(rig.tool.told().dtgStep, -10);
  EXPECT_TRUE(rig.tool.told().turnOn);
  EXPECT_FALSE(rig.tool.told().tableEnabled);

  rig.readTable();
  rig.frames(7);  // one turn of the slots
  EXPECT_EQ(rig.g.TARNC_DTGFrequency, -10) << "the DTG slot reports the new step";
  EXPECT_EQ(rig.g.TARNC_TDDataBuf[0], 1013);
  // A6: the frequency table, 16 bytes, while status 12 lasts.
  rig.g.TARNC_SpecialFrameDataCount = 0;
  rig.send({0xA6});
  EXPECT_LE(rig.until([&] { return rig.status() == 12; }, 5), 5);
  rig.until([&] { return rig.status() != 12; });
  EXPECT_EQ(rig.g.TARNC_SpecialFrameDataCount, 16);
  EXPECT_EQ(rig.g.TARNC_IMUDataBuf[0], 20);
  EXPECT_EQ(rig.g.TARNC_IMUDataBuf[3], 45);
  // A7: thresholds and window.
  rig.g.TARNC_SpecialFrameDataCount = 0;
  rig.send({0xA7});
  rig.until([&] { return rig.status() == 12; }, 5);
  rig.until([&] { return rig.status() != 12; });
  EXPECT_GE(rig.g.TARNC_SpecialFrameDataCount, 5);
  const auto& imu = rig.g.TARNC_IMUDataBuf;
  EXPECT_EQ(imu[0] + 256 * imu[1], 5000);
  EXPECT_EQ(imu[2] + 256 * imu[3], 10000);
  EXPECT_EQ(imu[4], 30);
}

TEST(TarnCTool, NamedFaultsShowAsThePanelWouldSeeThem) {
  auto with = [](bool TarnCFaults::*flag) {
    TarnCSettings s = quiet();
    s.faults.*flag = true;
    return s;
  };
  {
    Rig rig(with(&TarnCFaults::noAck));
    rig.g.TARNC_LastAck = 0;
    rig.send({0xA5, 10});
    rig.frames(30);
    EXPECT_EQ(rig.g.TARNC_LastAck, 0);
  }
  {
    Rig rig(with(&TarnCFaults::shortTable));
    rig.readTable();
    EXPECT_EQ(rig.g.TARNC_SpecialFrameDataCount, 3);
  }
  {
    Rig rig(with(&TarnCFaults::endlessTable));
    rig.send({0x99});
    rig.frames(300);
    EXPECT_EQ(rig.status(), 10);
  }
  {
    Rig rig(with(&TarnCFaults::equalCounts));
    rig.readTable();
    EXPECT_EQ(rig.g.TARNC_TDDataBuf[2], rig.g.TARNC_TDDataBuf[0]);
  }
  {
    Rig rig(with(&TarnCFaults::jammed));
    EXPECT_GE(rig.move({0x71}), 8);
    EXPECT_EQ(rig.g.TARNC_AnglePos, 12);
  }
  {
    Rig rig(with(&TarnCFaults::shortMove));
    rig.move({0x71});
    EXPECT_EQ(rig.g.TARNC_AnglePos, 524 - 40);
  }
  {
    Rig normal, slow(with(&TarnCFaults::slowMoves));
    EXPECT_GT(slow.move({0x71}), 4 * normal.move({0x71}) - 8);
  }
  {
    Rig rig(with(&TarnCFaults::vibration));
    rig.frames(2);
    EXPECT_EQ(rig.status(), 4);
    rig.move({0x71});
    EXPECT_EQ(rig.status(), 4) << "after a move, still vibrating";
  }
  {
    Rig rig(with(&TarnCFaults::imuSilent));
    rig.move({0x71});
    EXPECT_EQ(rig.status(), 0);
    EXPECT_EQ(rig.row[9], 0.0f);
  }
}

// The roll test turns the tool by hand: the operator changes the well's toolface while the
// tool runs, and the decoded high side follows.
TEST(TarnCTool, TheOperatorTurnsTheToolByHand) {
  Rig rig;
  rig.frames(40);
  EXPECT_NEAR(rig.row[19], 40.0, 0.05);
  rig.env.well.toolfaceDeg = 130;
  rig.frames(300);  // the online attitude is smoothed over two seconds
  EXPECT_NEAR(rig.row[19], 130.0, 0.05);
}

// The panel cuts command frames by their length byte: the CRC of "turn to 180" ends in 0x0B,
// the frame's end byte, and the command still reaches the tool whole.
TEST(TarnCTool, ThePanelDeliversCommandsWhoseCrcEndsInTheEndByte) {
  platform::testing::VirtualClock clock;
  SimConfig config;
  config.toolCodes = {227};
  PanelSimulator sim(config, clock);
  const std::vector<std::uint8_t> wire = {0xFE, 0xFE, 0x0A, 0x08, 0x1E, 0x06, 0x03, 0xE3, 0x00, 0x71, 0x0C, 0x0B, 0x0B,
                                          0x0A, 0x08, 0x1E, 0x06, 0x03, 0xE3, 0x00, 0x99, 0x70, 0x2D, 0x0B};
  sim.hostWrite(wire.data(), wire.size());
  const auto to = sim.messagesTo(227);
  ASSERT_EQ(to.size(), 2u);
  EXPECT_EQ(to[0], (std::vector<std::uint8_t>{3, 0xE3, 0, 0x71}));
  EXPECT_EQ(to[1], (std::vector<std::uint8_t>{3, 0xE3, 0, 0x99}));
  ASSERT_NE(sim.tarnCTool(), nullptr);
  EXPECT_EQ(sim.tarnCTool()->ToolModel::received().size(), 2u);
  EXPECT_EQ(sim.stats().badCommands, 0u);
}
