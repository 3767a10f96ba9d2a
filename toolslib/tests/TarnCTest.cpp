// TARN-C in the TOOLS library: the frame codec, the per-frame globals, the sensor correction
// table, the raw inertial stream and the TOOLS functions the panels call.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "navikor/Navikor.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"
#include "toolslib/tarnc/RawStream.h"
#include "toolslib/tarnc/SensorCalibration.h"
#include "toolslib/wire/TarnCWire.h"

namespace w = tools::wire::tarnc;
namespace tc = tools::tarnc;

namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
std::string sampleSct() { return readText(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct"); }

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    path = std::filesystem::temp_directory_path() / ("varexa-tarnc-" + std::to_string(::getpid()) + "-" +
                                                     std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(path);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
};

// Runs one frame through the family as the dispatch does.
struct Rig {
  tools::Library lib;
  tools::TarnC& tarnC = *static_cast<tools::TarnC*>(lib.family(records::kTarnC));
  std::vector<std::uint8_t> ring = std::vector<std::uint8_t>(32768, 0);
  std::vector<float> rows = std::vector<float>(32, 0.0f);

  Rig() { tarnC.init(); }
  std::vector<float> run(const w::Frame& f) {
    std::uint8_t b[24];
    w::encodeFrame(f, b);
    for (int i = 0; i < 24; ++i) ring[(32760 + i) & 32767] = b[i];  // wraps past the ring's end
    float* p = rows.data();
    tarnC.processData(ring, 32757, 3, &p, rows.data(), rows.data() + rows.size() - 1, {});
    return {rows.begin(), rows.begin() + 25};
  }
  // The temperature slots, as the tool sends them in turn.
  void temperatures(double t) {
    for (std::uint8_t s = 0; s < 5; ++s) {
      w::Frame f;
      f.ctrl = w::controlWord(w::kReady, s, false);
      f.slotWord = static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(t / w::kTempStep)));
      run(f);
    }
  }
};

}  // namespace

TEST(TarnCWire, FramesRoundTripAndClampAtTheConverterRange) {
  w::Frame f;
  f.ctrl = w::controlWord(w::kImuTransfer, w::kSlotSpecial, true);
  f.angle = 1013;
  const std::int32_t raw[6] = {-1, 8388607, -8388608, 15, -15, 2000000};
  for (int i = 0; i < 6; ++i) f.raw[i] = raw[i];
  f.slotWord = 0xBEEF;
  std::uint8_t b[24];
  w::encodeFrame(f, b);
  EXPECT_EQ(b[4], 0xFF);
  EXPECT_EQ(b[6], 0xFF);  // -1 in 24 bits, low byte first
  const w::Frame back = w::decodeFrame(b);
  EXPECT_EQ(back.status(), w::kImuTransfer);
  EXPECT_EQ(back.slot(), w::kSlotSpecial);
  EXPECT_TRUE(back.specialItem());
  EXPECT_EQ(back.angle, 1013);
  EXPECT_EQ(back.slotWord, 0xBEEF);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(back.raw[i], raw[i]) << i;
  f.raw[0] = 9000000;
  f.raw[1] = -9000000;
  w::encodeFrame(f, b);
  EXPECT_EQ(w::decodeFrame(b).raw[0], w::kRawMax);
  EXPECT_EQ(w::decodeFrame(b).raw[1], w::kRawMin);
}

TEST(TarnCFrames, SlotsFeedTheGlobalsAndSpecialDataIsCountedOnlyAsItems) {
  Rig rig;
  auto& g = rig.lib.globals();
  rig.temperatures(47.25);
  w::Frame f;
  f.angle = 0x0123;
  f.ctrl = w::controlWord(w::kTableTransfer, w::kSlotAck, false);
  f.slotWord = 0x20;
  auto row = rig.run(f);
  EXPECT_EQ(g.TARNC_LastAck, 0x20);
  EXPECT_EQ(g.TARNC_AnglePos, 0x0123);
  EXPECT_FLOAT_EQ(row[12], 47.25f);
  EXPECT_FLOAT_EQ(row[16], 47.25f);
  f.slotWord = 0;
  rig.run(f);
  EXPECT_EQ(g.TARNC_LastAck, 0x20) << "an empty acknowledge slot keeps the last one";

  const std::uint16_t table[] = {12, 268, 524, 780};
  f.ctrl = w::controlWord(w::kTableTransfer, w::kSlotSpecial, true);
  for (auto word : table) {
    f.slotWord = word;
    rig.run(f);
  }
  f.ctrl = w::controlWord(w::kTableTransfer, w::kSlotSpecial, false);  // repeated, not a new item
  rig.run(f);
  EXPECT_EQ(g.TARNC_SpecialFrameDataCount, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(g.TARNC_TDDataBuf[i], table[i]);

  g.TARNC_SpecialFrameDataCount = 0;
  f.ctrl = w::controlWord(w::kImuTransfer, w::kSlotSpecial, true);
  f.slotWord = 0x3C28;  // 40 degC, 60
  rig.run(f);
  EXPECT_EQ(g.TARNC_SpecialFrameDataCount, 2);
  EXPECT_EQ(g.TARNC_IMUDataBuf[0], 0x28);
  EXPECT_EQ(g.TARNC_IMUDataBuf[1], 0x3C);

  f.ctrl = w::controlWord(w::kReady, w::kSlotDtg, false);
  f.slotWord = 0x0100 | static_cast<std::uint8_t>(-10);
  rig.run(f);
  EXPECT_EQ(g.TARNC_DTGFrequency, -10);
  EXPECT_EQ(g.TARNC_TurnOnActive, 1);

  // The indexer angle follows the panel's 0 and 180 counts; equal counts give 0, not a fault.
  g.cuentas_0deg = 12;
  g.cuentas_180deg = 524;
  f.angle = 268;
  rig.run(f);
  EXPECT_DOUBLE_EQ(g.m_fPOS, 90.0);
  g.cuentas_180deg = 12;
  rig.run(f);
  EXPECT_DOUBLE_EQ(g.m_fPOS, 0.0);
}

TEST(TarnCFrames, UncalibratedReadingsPassThroughAndAttitudeFollowsGravity) {
  Rig rig;
  // IMU z points up the hole: a vertical tool reads (0, 0, -1); tilted 30 degrees with its
  // x axis on the high side it reads (-sin 30, 0, -cos 30).
  w::Frame f;
  f.ctrl = w::controlWord(w::kReady, w::kSlotAck, false);
  f.raw[3] = -500000;
  f.raw[5] = -866025;
  const auto row = rig.run(f);
  EXPECT_NEAR(row[3], -500.0, 1e-3) << "no table: ACC is the raw reading";
  EXPECT_NEAR(row[9], -500.0, 1e-3);
  EXPECT_NEAR(row[17], 30.0, 0.01);  // DEVI
  EXPECT_NEAR(row[19], 0.0, 0.01);   // HSTF
  EXPECT_FLOAT_EQ(row[22], static_cast<float>(f.ctrl));
}

TEST(SensorCorrectionTable, TheSampleLoadsAndRoundTrips) {
  const auto r = tc::parseSct(sampleSct());
  ASSERT_TRUE(r.calibration) << r.error;
  const auto& c = *r.calibration;
  EXPECT_EQ(c.serial, "TCX-0417");
  EXPECT_EQ(c.acelGain.size(), 4u);
  EXPECT_EQ(c.gyroGravity.size(), 4u);
  const auto again = tc::parseSct(tc::formatSct(c));
  ASSERT_TRUE(again.calibration) << again.error;
  EXPECT_EQ(tc::formatSct(*again.calibration), tc::formatSct(c));
  EXPECT_EQ(again.calibration->gyroGravity[3].Gy[1], c.gyroGravity[3].Gy[1]);
  // CR line ends read the same.
  std::string cr = tc::formatSct(c);
  std::erase(cr, '\n');
  EXPECT_TRUE(tc::parseSct(cr).calibration);
}

TEST(SensorCorrectionTable, BadTablesAreRefusedWithAReason) {
  const std::string good = tc::formatSct(*tc::parseSct(sampleSct()).calibration);
  auto replace = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  const struct {
    std::string text, error;
  } cases[] = {
      {"", "not a TARN-C sensor correction table"},
      {"\x89PNG\r\n", "not a TARN-C sensor correction table"},
      {replace("TABLE 1", "TABLE 2"), "unsupported table version 2"},
      {good.substr(0, good.find("GYRO_GAIN")), "the table ends without END"},
      {good.substr(0, good.find("GYRO_GAIN") + 14), "6 numbers expected"},
      {replace("GYRO_GAIN 4", "GYRO_GAIN 0"), "row count from 1 to 64"},
      {replace("GYRO_GAIN 4", "GYRO_GAIN 99999999999"), "row count"},
      {replace("ACEL_OFFSET 4\r\n", "ACEL_OFFSET 4\r\n1 2 3 200 200 200\r\n"), "temperatures must rise"},
      {replace("DTG 12", "DTG 64"), "DTG must be a whole number from -63 to 63"},
      {replace("ACEL_TO_MEC 1", "ACEL_TO_MEC 0"), "close to a rotation"},
      {replace("TYPE 2", "TYPE nan"), "one number expected after TYPE"},
      {replace("SN TCX-0417", "PN TCX-0417"), "unknown keyword"},
      {replace("DATE 2026-11-03\r\n", ""), "DATE is missing"},
      {replace("END", "END_"), "unknown keyword"},
  };
  for (const auto& c : cases) {
    const auto r = tc::parseSct(c.text);
    EXPECT_FALSE(r.calibration) << c.error;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << "got \"" << r.error << "\", wanted " << c.error;
  }
}

TEST(TarnCCalibration, LoadingPointsNavikorAtTheTablesAndTheToolsItemsReadThem) {
  Rig rig;
  std::string error;
  ASSERT_TRUE(rig.tarnC.loadCorrectionTableText(sampleSct(), &error)) << error;
  EXPECT_EQ(rig.tarnC.CheckTARN_C_CorrectionTableActive(), 1);
  EXPECT_EQ(rig.lib.globals().TARNC_Cal_Sensor_SN, "TCX-0417");
  CNavikor& n = rig.lib.navikor();
  EXPECT_EQ(n.gyroGainCount, 4);
  EXPECT_NE(n.rtScaleV, 0.0) << "the matrices are derived";
  EXPECT_NEAR(n.avgGyroGain.x, 0.98 * (1 + 1e-4 * 75), 1e-9);
  // Halfway between the 50 and 100 degC rows.
  const auto off = rig.tarnC.GetCorrected_TARNC_Gyro_Offset(75, 75);
  EXPECT_NEAR(off.X, 22.5 + 0.06 * 75, 1e-9);
  EXPECT_NEAR(off.Y, -31.2 + 0.05 * 75, 1e-9);
  const auto gain = rig.tarnC.GetCorrected_TARNC_Gyro_Gain(75, 75);
  EXPECT_NEAR(gain.Y, 1.02 * (1 - 8e-5 * 75), 1e-6);
  const auto grav = rig.tarnC.GetCorrected_TARNC_Gyro_Gravity_Coeficients(75, 75);
  const double* d = &grav.Gx[0];
  EXPECT_NEAR(d[0], 1.8 * 1.15, 1e-6);   // double 1: DXx
  EXPECT_NEAR(d[1], -0.9 * 1.15, 1e-6);  // double 2: DXy
  EXPECT_NEAR(d[5], 0.7 * 1.15, 1e-6);   // double 6: DYx
  EXPECT_NEAR(d[6], 2.1 * 1.15, 1e-6);   // double 7: DYy
  // The keep question's "No" destroys it: raw readings pass again.
  rig.tarnC.destroyCorrectionTable();
  EXPECT_EQ(rig.tarnC.CheckTARN_C_CorrectionTableActive(), 0);
  EXPECT_EQ(n.gyroGainTable, nullptr);
}

TEST(TarnCCalibration, TheEngineLoadsATableFromTheChosenFile) {
  Rig rig;
  TempDir dir;
  const std::string path = (dir.path / "block.sct").string();
  std::ofstream(path, std::ios::binary) << sampleSct();
  char text[256] = {};
  unsigned status = 0;
  EXPECT_EQ(rig.tarnC.executeCal(2, 0, &status, text), 3) << "asks for the file";
  std::snprintf(text, sizeof text, "%s", path.c_str());
  EXPECT_EQ(rig.tarnC.executeCal(2, 1, &status, text), 2);
  EXPECT_STREQ(text, "Sensor correction table loaded: SN TCX-0417, 2026-11-03\n");
  EXPECT_EQ(rig.tarnC.executeCal(2, 2, &status, text), 0);
  // Saving never replaces a file.
  std::snprintf(text, sizeof text, "%s", path.c_str());
  EXPECT_EQ(rig.tarnC.executeCal(3, 1, &status, text), 2);
  EXPECT_NE(std::string(text).find("exists already"), std::string::npos) << text;
}

TEST(RawStream, ASessionIsWrittenAndReadBackSampleForSample) {
  Rig rig;
  TempDir dir;
  ASSERT_TRUE(rig.tarnC.loadCorrectionTableText(sampleSct(), nullptr));
  auto& g = rig.lib.globals();
  g.OnlineTimeTARN = 99;
  ASSERT_TRUE(rig.tarnC.OpenTARN_C_DLLRawDataFile(dir.path.string(), "DataSession", "7")) << rig.tarnC.rawStream().error();
  EXPECT_EQ(g.OnlineTimeTARN, 0) << "the tool time starts with the stream";
  const std::string path = (dir.path / "Output" / "DataSession7.raw").string();
  EXPECT_EQ(rig.tarnC.rawStream().path(), path);
  rig.temperatures(50);
  std::vector<w::Frame> sent;
  for (int i = 0; i < 20; ++i) {
    w::Frame f;
    f.ctrl = w::controlWord(w::kReady, w::kSlotAck, false);
    f.angle = static_cast<std::uint16_t>(100 + i);
    for (int k = 0; k < 6; ++k) f.raw[k] = 1000 * k - 2500 + i;
    g.OnlineDepth = 1000 + i;
    g.OnlineTimeTARN = i / 15.0;
    rig.run(f);
    sent.push_back(f);
  }
  // A whole second has reached the file before the close (a killed program keeps it).
  EXPECT_GE(tc::readRawStreamFile(path).samples.size(), 15u);
  rig.tarnC.CloseTARN_C_DLLRawDataFile();
  const auto back = tc::readRawStreamFile(path);
  ASSERT_TRUE(back.ok) << back.error;
  ASSERT_EQ(back.samples.size(), 25u);  // the five temperature frames come first
  for (int i = 0; i < 20; ++i) {
    const auto& v = back.samples[5 + i].v;
    EXPECT_EQ(v[0], 1000 + i);
    EXPECT_EQ(v[1], i / 15.0);
    for (int k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(v[2 + k], sent[i].raw[k] / 1000.0);
    for (int k = 8; k < 14; ++k) EXPECT_DOUBLE_EQ(v[k], 50.0);
    EXPECT_EQ(v[14], 100 + i);
  }
  // The header carries the calibration, which the post-processing can load.
  EXPECT_TRUE(rig.tarnC.ReadTARN_C_CALFromRawFile(path));
  EXPECT_EQ(g.TARNC_RAW_Cal_Loaded, 1);
  EXPECT_EQ(g.TARNC_RAW_Cal_Sensor_SN, "TCX-0417");
  CNavikor other;
  EXPECT_TRUE(rig.tarnC.CargarCalibracionDLLdelRAW(&other));
  EXPECT_EQ(other.gyroGravCount, 4);
  // A second open of the same session never replaces the stream.
  EXPECT_FALSE(rig.tarnC.OpenTARN_C_DLLRawDataFile(dir.path.string(), "DataSession", "7"));
  EXPECT_NE(rig.tarnC.rawStream().error().find("exists already"), std::string::npos);
  EXPECT_EQ(tc::readRawStreamFile(path).samples.size(), 25u);
}

TEST(RawStream, StreamsOfOtherToolsVersionsOrDamagedHeadersAreRefused) {
  std::vector<std::uint8_t> good = {0xAA, 1, 0, 9, 0, 0, 0, 'h', 'i'};
  good.resize(good.size() + 120 + 50, 0);  // one sample and a cut one
  const auto ok = tc::readRawStream(good);
  ASSERT_TRUE(ok.ok);
  EXPECT_EQ(ok.calibrationText, "hi");
  EXPECT_EQ(ok.samples.size(), 1u);
  EXPECT_EQ(ok.trailingBytes, 50u);
  auto with = [&](std::size_t at, std::uint8_t v) {
    auto b = good;
    b[at] = v;
    return b;
  };
  const struct {
    std::vector<std::uint8_t> bytes;
    const char* error;
  } cases[] = {
      {{}, "not a TARN-C raw inertial stream"},
      {{0xAA, 1, 0}, "not a TARN-C raw inertial stream"},
      {with(0, 0x55), "not a TARN-C raw inertial stream"},
      {with(1, 2), "version 2 is not supported"},
      {with(3, 6), "header is damaged (length 6)"},
      {with(6, 0x80), "header is damaged"},
  };
  for (const auto& c : cases) {
    const auto r = tc::readRawStream(c.bytes);
    EXPECT_FALSE(r.ok) << c.error;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << r.error;
  }
  Rig rig;
  EXPECT_FALSE(rig.tarnC.ReadTARN_C_CALFromRawFile("/nonexistent/DataSession1.raw"));
  EXPECT_EQ(rig.lib.globals().TARNC_RAW_Cal_Loaded, 0);
}

TEST(TarnCPosition, ResetReportsTheRealTimeAttitudeMinusTheStation) {
  Rig rig;
  w::Frame f;
  f.raw[3] = -500000;
  f.raw[5] = -866025;
  rig.run(f);
  constexpr double kPi = 3.1415926535898;
  const auto d = rig.tarnC.ResetTARN_C_Position(31 * kPi / 180, 0, 0, 0);
  EXPECT_NEAR(d.DEVI, -kPi / 180, 1e-6);
  EXPECT_NEAR(d.HSTF, 0, 1e-6);
  // The near-vertical sentinel: no toolface difference of its own.
  const auto v = rig.tarnC.ResetTARN_C_Position(0, 0, 100.0, 0);
  EXPECT_EQ(v.HSTF, 0);
  EXPECT_GE(v.Total, 0);
}
