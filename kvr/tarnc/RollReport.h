#pragma once
// The evaluation and the text report of a roll test or an axis correction: eight
// measurements of the horizontal tool against the offsets, gains and gravity drifts the
// loaded sensor calibration expects, each line graded "PASS", "FAIR" or "NOT PASS".

#include <array>
#include <filesystem>
#include <string>

namespace kvr::tarnc {

enum class RollKind { RollTest, AxisCorrection };

// The means of one measurement: gyro x and y (mV), DEVI and HSTF (degrees), TEMPGXY, TEMPGZ.
struct RollMeasurement {
  double gx = 0, gy = 0, devi = 0, hstf = 0, tempGxy = 0, tempGz = 0;
};

// What the calibration predicts at the test's temperatures.
struct RollExpected {
  double offsetX = 0, offsetY = 0;  // mV
  double gainX = 0, gainY = 0;      // (deg/h)/mV
  double dxx = 0, dxy = 0, dyx = 0, dyy = 0;  // deg/h
};

struct RollInput {
  RollKind kind = RollKind::RollTest;
  double latitude = 0;  // degrees
  std::string calibrationDate, serialNumber, calibrationVersion;
  double stationTime = 0;  // seconds of the configured station: a measurement lasts half of it
  std::array<RollMeasurement, 8> m{};
  RollExpected expected;
};

struct RollResults {
  double tMin = 0, tMax = 0, tAvg = 0;
  double offsetX = 0, gainX = 0, dxx = 0, dxy = 0, a1 = 0, b1 = 0, a2 = 0, b2 = 0;
  double offsetY = 0, gainY = 0, dyx = 0, dyy = 0, c1 = 0, d1 = 0, c2 = 0, d2 = 0;
};

// The temperatures the calibration is asked at: the mean gyro x-y temperature and the gyro z
// temperature of measurement 5.
double rollT1(const std::array<RollMeasurement, 8>& m);
inline double rollT2(const std::array<RollMeasurement, 8>& m) { return m[4].tempGz; }

RollResults evaluateRoll(const RollInput& in);
// |difference| up to pass: "PASS"; up to fair: "FAIR"; beyond: "NOT PASS".
const char* rollGrade(double difference, double pass, double fair);
// The report with "\n" line ends (the file holds CR LF).
std::string rollReportText(const RollInput& in);

// RollTest.txt (AxisCorrection.txt) in the folder, else the first free Rolltest_i.txt
// (AxisCorrection<i>.txt), i = 1, 2, ...
std::filesystem::path nextRollReportPath(const std::filesystem::path& folder, RollKind kind);
// Created new (never over an existing file), each "\n" written as CR LF; false on failure.
bool writeRollReport(const std::filesystem::path& file, const std::string& text);

}  // namespace kvr::tarnc
