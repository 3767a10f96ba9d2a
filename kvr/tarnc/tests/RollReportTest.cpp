// The evaluation of the eight roll-test measurements: grades at and around every limit, the
// two gain formulas by calibration version, the report's layout and its file names.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "kvr/tarnc/RollReport.h"
#include "platform/testing/TempPaths.h"

namespace {

using namespace kvr::tarnc;

constexpr double kRad = 3.1415926535898 / 180, kEarthRate = 15.041;

// A tool of gyro gain g ((deg/h)/mV) and offset o (mV) at latitude 40 whose first HSTF is h:
// the earth's horizontal rate turns through the eight positions, the vertical one is the same
// in all of them and cancels out of the gain.
RollInput idealTool(double h, double g, const std::string& version, double latitude = 40) {
  RollInput in;
  in.latitude = latitude;
  in.calibrationVersion = version;
  in.stationTime = 80;
  const double sH = std::sin(h * kRad), cH = std::cos(h * kRad), e = kEarthRate * std::cos(latitude * kRad) / g;
  const double wx[8] = {-sH, -cH, sH, cH, sH, cH, -sH, -cH};
  const double wy[8] = {cH, -sH, -cH, sH, -cH, sH, cH, -sH};
  for (std::size_t k = 0; k < 8; ++k) {
    in.m[k] = {25 + e * wx[k], -30 + e * wy[k], 90, h, 40, 41};
  }
  in.expected = {25, -30, g, g, 0, 0, 0, 0};
  return in;
}

}  // namespace

TEST(RollReport, GradesAtAndAroundEachLimit) {
  struct Case {
    double difference, pass, fair;
    const char* grade;
  };
  const Case cases[] = {
      {2.0, 2.0, 2.5, "PASS"},        {2.3, 2.0, 2.5, "FAIR"},        {2.6, 2.0, 2.5, "NOT PASS"},
      {0.18, 0.18, 0.3, "PASS"},      {0.181, 0.18, 0.3, "FAIR"},     {1.3 - 1.0, 0.18, 0.3, "FAIR"},
      {-0.3, 0.18, 0.3, "FAIR"},      {0.301, 0.18, 0.3, "NOT PASS"}, {0.01, 0.01, 0.02, "PASS"},
      {0.015, 0.01, 0.02, "FAIR"},    {0.021, 0.01, 0.02, "NOT PASS"}, {0.566, 0.566, 0.736, "PASS"},
      {-0.7, 0.566, 0.736, "FAIR"},   {0.74, 0.566, 0.736, "NOT PASS"}, {0.015, 0.015, 0.03, "PASS"},
      {0.03, 0.015, 0.03, "FAIR"},    {0.031, 0.015, 0.03, "NOT PASS"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(rollGrade(c.difference, c.pass, c.fair), c.grade) << c.difference << " " << c.pass;
  }
}

TEST(RollReport, TheGainFormulaFollowsTheCalibrationVersion) {
  struct Case {
    double hstf;
    const char* version;
    double gainFactor;  // measured over true gain
  };
  // Version 3.1 takes the tool's HSTF into account; earlier ones assume it is 0 and read the
  // gain high by 1 / |cos H|.
  const Case cases[] = {{0, "3.1", 1}, {0, "2.0", 1}, {60, "3.1", 1}, {60, "2.0", 2}, {-60, "3.0", 2}, {30, "3.1", 1}};
  for (const auto& c : cases) {
    const auto r = evaluateRoll(idealTool(c.hstf, 0.98, c.version));
    EXPECT_NEAR(r.gainX, 0.98 * c.gainFactor, 1e-9) << c.hstf << " " << c.version;
    EXPECT_NEAR(r.gainY, 0.98 * c.gainFactor, 1e-9) << c.hstf << " " << c.version;
    EXPECT_NEAR(r.offsetX, 25, 1e-9);
    EXPECT_NEAR(r.offsetY, -30, 1e-9);
  }
}

TEST(RollReport, TheLayoutByteForByte) {
  RollInput in = idealTool(0, 1.0, "2.0", -31.5);
  in.kind = RollKind::AxisCorrection;
  in.calibrationDate = "2026-11-03";
  in.serialNumber = "TCX-0417";
  in.expected = {25.3, -29.9, 1.0, 1.02, 0.5, -0.25, 0.1, -7.2};
  for (auto& m : in.m) m.tempGxy = 40;
  in.m[7].tempGxy = 42.3;
  const std::string r = rollReportText(in);
  const std::string head =
      "TARN-C Axis Correction Report\n\n"
      "Current Latitude: -31 -30' 0\"\n\n"
      "Calibration Date   : 2026-11-03\n"
      "IMU Serial Number  : TCX-0417\n"
      "Calibration Version: 2.0\n\n"
      "Measurement #1, duration 40.0 sec\n\n"
      "Assumed Tool Position : EAST   0 [Deg]\n"
      "Gyro X Average        : +25.0000  [mV]\n"
      "Gyro Y Average        : -17.1754  [mV]\n"
      "Deviation Check (DEVI) :   90.00  [Deg]\n"
      "Bearing Check (HSTF) :    0.00  [Deg]\n"
      "\n\n"
      "Measurement #2, duration 40.0 sec\n\n"
      "Assumed Tool Position : EAST  90 [Deg]\n";
  EXPECT_EQ(r.substr(0, head.size()), head);
  EXPECT_NE(r.find("Measurement #6, duration 40.0 sec\n\nAssumed Tool Position : WEST  90 [Deg]\n"), std::string::npos);
  const std::string summary =
      "Test Results Summary:\n\n"
      "Temperature   : Min. 40.0, Max. 42.3, Avg. 40.3 - FAIR\n\n"
      "Gyro X Offset : +25.0000 - Expected: +25.3000 - Difference  -300.0 [uV] - FAIR - Limit: +/-300.0\n"
      "Gyro X Gain   : +1.0000 - Expected: +1.0000 - Difference   -0.0    % - PASS - Limit: +/-  2.0\n"
      "Gyro X DXx    : -7.8589 - Expected: +0.5000 - Difference  -8.36 [\xEF\xBF\xBD/h] - NOT PASS - Limit: +/- 0.74\n"
      "Gyro X DXy    : +0.0000 - Expected: -0.2500 - Difference  +0.25 [\xEF\xBF\xBD/h] - PASS - Limit: +/- 0.74\n"
      "Symmetry Check: +25.0000, +25.0000 - Difference    0.0 [uV] - PASS - Limit: +/- 30.0\n"
      "Symmetry Check: +25.0000, +25.0000 - Difference    0.0 [uV] - PASS - Limit: +/- 30.0\n\n"
      "Gyro Y Offset : -30.0000 - Expected: -29.9000 - Difference  -100.0 [uV] - PASS - Limit: +/-300.0\n"
      "Gyro Y Gain   : +1.0000 - Expected: +1.0200 - Difference   -2.0    % - FAIR - Limit: +/-  2.0\n"
      "Gyro Y DYx    : +0.0000 - Expected: +0.1000 - Difference  -0.10 [\xEF\xBF\xBD/h] - PASS - Limit: +/- 0.74\n"
      "Gyro Y DYy    : -7.8589 - Expected: -7.2000 - Difference  -0.66 [\xEF\xBF\xBD/h] - FAIR - Limit: +/- 0.74\n"
      "Symmetry Check: -30.0000, -30.0000 - Difference    0.0 [uV]- PASS - Limit: +/- 30.0\n"
      "Symmetry Check: -30.0000, -30.0000 - Difference    0.0 [uV]- PASS - Limit: +/- 30.0\n\n";
  const auto at = r.find("Test Results Summary:");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(r.substr(at), summary);
}

TEST(RollReport, FileNamesSkipEarlierReportsAndAreNeverReplaced) {
  platform::testing::TempPaths temp;
  const auto w = temp.documentsFolder();
  std::filesystem::create_directories(w);
  EXPECT_EQ(nextRollReportPath(w, RollKind::RollTest), w / "RollTest.txt");
  ASSERT_TRUE(writeRollReport(w / "RollTest.txt", "a\nb\n"));
  EXPECT_FALSE(writeRollReport(w / "RollTest.txt", "again\n"));
  std::ifstream in(w / "RollTest.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "a\r\nb\r\n");
  EXPECT_EQ(nextRollReportPath(w, RollKind::RollTest), w / "Rolltest_1.txt");
  ASSERT_TRUE(writeRollReport(w / "Rolltest_1.txt", ""));
  EXPECT_EQ(nextRollReportPath(w, RollKind::RollTest), w / "Rolltest_2.txt");
  EXPECT_EQ(nextRollReportPath(w, RollKind::AxisCorrection), w / "AxisCorrection.txt");
  ASSERT_TRUE(writeRollReport(w / "AxisCorrection.txt", ""));
  EXPECT_EQ(nextRollReportPath(w, RollKind::AxisCorrection), w / "AxisCorrection1.txt");
  EXPECT_FALSE(writeRollReport(w / "no-such-folder" / "RollTest.txt", ""));
}
