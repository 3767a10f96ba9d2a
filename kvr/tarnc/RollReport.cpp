#include "kvr/tarnc/RollReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "platform/TextFormat.h"
#include "toolslib/GyroMath.h"

namespace kvr::tarnc {

namespace {

constexpr double kEarthRate = tools::gyro::kEarthRateDegPerHour;
constexpr double kRad = tools::gyro::kPi / 180;
// Differences are graded at the resolution they are printed with, so a difference that
// prints as the bound (0.3 mV computed as 0.30000000000000004) counts as the bound.
constexpr double kGradeSlack = 1e-9;

using platform::format;

struct Limits {
  double pass, fair, printed;
};
constexpr Limits kTemperature{2.0, 2.5, 0}, kOffset{0.18, 0.3, 300.0}, kGain{0.01, 0.02, 2.0},
    kDrift{0.566, 0.736, 0.736}, kSymmetry{0.015, 0.03, 30.0};

double relative(double k, double expected) { return (k - expected) / ((k + expected) / 2); }

}  // namespace

double rollT1(const std::array<RollMeasurement, 8>& m) {
  double sum = 0;
  for (const auto& x : m) sum += x.tempGxy;
  return sum / 8;
}

const char* rollGrade(double difference, double pass, double fair) {
  const double d = std::fabs(difference);
  if (d <= pass + kGradeSlack) return "PASS";
  if (d <= fair + kGradeSlack) return "FAIR";
  return "NOT PASS";
}

RollResults evaluateRoll(const RollInput& in) {
  RollResults r;
  // GX[1..8], GY[1..8] as the formulas number them.
  double X[9] = {}, Y[9] = {};
  r.tMin = r.tMax = in.m[0].tempGxy;
  for (int k = 1; k <= 8; ++k) {
    const auto& m = in.m[static_cast<std::size_t>(k - 1)];
    X[k] = m.gx;
    Y[k] = m.gy;
    r.tMin = std::min(r.tMin, m.tempGxy);
    r.tMax = std::max(r.tMax, m.tempGxy);
  }
  r.tAvg = rollT1(in.m);
  const double h = in.m[0].hstf * kRad, l = in.latitude * kRad;
  const double sH = std::sin(h), cH = std::cos(h), sL = std::sin(l), cL = std::cos(l);
  const bool v31 = in.calibrationVersion == "3.1";
  const RollExpected& e = in.expected;

  r.offsetX = (X[1] + X[2] + X[3] + X[4] + X[5] + X[6] + X[7] + X[8]) / 8;
  r.gainX = v31 ? cL * 4 * kEarthRate / (sH * ((X[5] - X[1]) - (X[7] - X[3])) + cH * ((X[6] - X[2]) - (X[8] - X[4])))
                : cL * 4 * kEarthRate / std::fabs((X[2] - X[6]) - (X[4] - X[8]));
  r.dxx = sL * kEarthRate + (sH * ((X[6] + X[2]) - (X[8] + X[4])) + cH * ((X[7] + X[3]) - (X[5] + X[1]))) * e.gainX / 4;
  r.dxy = (sH * ((X[7] + X[3]) - (X[5] + X[1])) + cH * ((X[8] + X[4]) - (X[6] + X[2]))) * e.gainX / 4;
  r.a1 = (X[1] + X[3]) / 2, r.b1 = (X[2] + X[4]) / 2, r.a2 = (X[5] + X[7]) / 2, r.b2 = (X[6] + X[8]) / 2;

  r.offsetY = (Y[1] + Y[2] + Y[3] + Y[4] + Y[5] + Y[6] + Y[7] + Y[8]) / 8;
  r.gainY = v31 ? cL * 4 * kEarthRate / (sH * ((Y[6] - Y[2]) - (Y[8] - Y[4])) + cH * ((Y[7] - Y[3]) - (Y[5] - Y[1])))
                : cL * 4 * kEarthRate / std::fabs((Y[1] - Y[5]) - (Y[3] - Y[7]));
  r.dyx = (sH * ((Y[6] + Y[2]) - (Y[8] + Y[4])) + cH * ((Y[7] + Y[3]) - (Y[5] + Y[1]))) * e.gainY / 4;
  r.dyy = sL * kEarthRate + (sH * ((Y[7] + Y[3]) - (Y[5] + Y[1])) + cH * ((Y[8] + Y[4]) - (Y[6] + Y[2]))) * e.gainY / 4;
  r.c1 = (Y[1] + Y[3]) / 2, r.d1 = (Y[2] + Y[4]) / 2, r.c2 = (Y[5] + Y[7]) / 2, r.d2 = (Y[6] + Y[8]) / 2;
  return r;
}

std::string rollReportText(const RollInput& in) {
  const RollResults r = evaluateRoll(in);
  const RollExpected& e = in.expected;
  std::string s = in.kind == RollKind::RollTest ? "TARN-C Roll Test Report\n\n" : "TARN-C Axis Correction Report\n\n";
  // Degrees, minutes and seconds each truncated toward zero.
  const double lat = in.latitude;
  const int d = static_cast<int>(std::trunc(lat));
  const int mi = static_cast<int>(std::trunc((lat - d) * 60));
  const int se = static_cast<int>(std::trunc(((lat - d) * 60 - mi) * 60));
  s += format("Current Latitude: %d %d' %d\"\n\n", d, mi, se);
  s += format("Calibration Date   : %s\n", in.calibrationDate.c_str());
  s += format("IMU Serial Number  : %s\n", in.serialNumber.c_str());
  s += format("Calibration Version: %s\n\n", in.calibrationVersion.c_str());
  for (int k = 1; k <= 8; ++k) {
    const auto& m = in.m[static_cast<std::size_t>(k - 1)];
    s += format("Measurement #%d, duration %4.1f sec\n\n", k, in.stationTime / 2.0);
    s += format(k <= 4 ? "Assumed Tool Position : EAST %3.0f [Deg]\n" : "Assumed Tool Position : WEST %3.0f [Deg]\n",
             90.0 * ((k - 1) % 4));
    s += format("Gyro X Average        : %+5.4f  [mV]\n", m.gx);
    s += format("Gyro Y Average        : %+5.4f  [mV]\n", m.gy);
    s += format("Deviation Check (DEVI) : %7.2f  [Deg]\n", m.devi);
    s += format("Bearing Check (HSTF) : %7.2f  [Deg]\n", m.hstf);
    s += "\n\n";
  }
  s += "Test Results Summary:\n\n";
  s += format("Temperature   : Min. %4.1f, Max. %4.1f, Avg. %4.1f - %s\n\n", r.tMin, r.tMax, r.tAvg,
           rollGrade(r.tMax - r.tMin, kTemperature.pass, kTemperature.fair));

  // The Y lines print Expected with "%+ 5.4f" and their symmetry lines lack the blank before "- %s".
  struct Axis {
    const char *offset, *gain, *drift1, *drift2, *symmetry1, *symmetry2;
    double o, eo, k, ek, d1, ed1, d2, ed2, s1a, s1b, s2a, s2b;
  };
  const Axis axes[2] = {
      {"Gyro X Offset : %+5.4f - Expected: %+5.4f - Difference  %+5.1f [uV] - %s - Limit: +/-%5.1f\n",
       "Gyro X Gain   : %+5.4f - Expected: %+5.4f - Difference  % 5.1f    %% - %s - Limit: +/-%5.1f\n",
       "Gyro X DXx    : %+5.4f - Expected: %+5.4f - Difference  %+5.2f [\xEF\xBF\xBD/h] - %s - Limit: +/-%5.2f\n",
       "Gyro X DXy    : %+5.4f - Expected: %+5.4f - Difference  %+5.2f [\xEF\xBF\xBD/h] - %s - Limit: +/-%5.2f\n",
       "Symmetry Check: %+5.4f, %+5.4f - Difference  %5.1f [uV] - %s - Limit: +/-%5.1f\n",
       "Symmetry Check: %+5.4f, %+5.4f - Difference  %5.1f [uV] - %s - Limit: +/-%5.1f\n\n", r.offsetX, e.offsetX,
       r.gainX, e.gainX, r.dxx, e.dxx, r.dxy, e.dxy, r.a1, r.b1, r.a2, r.b2},
      {"Gyro Y Offset : %+5.4f - Expected: %+ 5.4f - Difference  %+5.1f [uV] - %s - Limit: +/-%5.1f\n",
       "Gyro Y Gain   : %+5.4f - Expected: %+ 5.4f - Difference  % 5.1f    %% - %s - Limit: +/-%5.1f\n",
       "Gyro Y DYx    : %+5.4f - Expected: %+ 5.4f - Difference  %+5.2f [\xEF\xBF\xBD/h] - %s - Limit: +/-%5.2f\n",
       "Gyro Y DYy    : %+5.4f - Expected: %+ 5.4f - Difference  %+5.2f [\xEF\xBF\xBD/h] - %s - Limit: +/-%5.2f\n",
       "Symmetry Check: %+5.4f, %+5.4f - Difference  %5.1f [uV]- %s - Limit: +/-%5.1f\n",
       "Symmetry Check: %+5.4f, %+5.4f - Difference  %5.1f [uV]- %s - Limit: +/-%5.1f\n\n", r.offsetY, e.offsetY,
       r.gainY, e.gainY, r.dyx, e.dyx, r.dyy, e.dyy, r.c1, r.d1, r.c2, r.d2},
  };
  for (const Axis& x : axes) {
    s += format(x.offset, x.o, x.eo, (x.o - x.eo) * 1000, rollGrade(x.o - x.eo, kOffset.pass, kOffset.fair),
             kOffset.printed);
    const double rel = relative(x.k, x.ek);
    s += format(x.gain, x.k, x.ek, rel * 100, rollGrade(rel, kGain.pass, kGain.fair), kGain.printed);
    for (const auto& [f, v, ex] : {std::tuple{x.drift1, x.d1, x.ed1}, std::tuple{x.drift2, x.d2, x.ed2}}) {
      s += format(f, v, ex, v - ex, rollGrade(v - ex, kDrift.pass, kDrift.fair), kDrift.printed);
    }
    for (const auto& [f, a, b] : {std::tuple{x.symmetry1, x.s1a, x.s1b}, std::tuple{x.symmetry2, x.s2a, x.s2b}}) {
      const double diff = std::fabs(a - b);
      s += format(f, a, b, diff * 1000, rollGrade(diff, kSymmetry.pass, kSymmetry.fair), kSymmetry.printed);
    }
  }
  return s;
}

std::filesystem::path nextRollReportPath(const std::filesystem::path& folder, RollKind kind) {
  const bool roll = kind == RollKind::RollTest;
  std::error_code ec;
  auto first = folder / (roll ? "RollTest.txt" : "AxisCorrection.txt");
  if (!std::filesystem::exists(first, ec)) return first;
  for (long i = 1;; ++i) {
    auto p = folder / (roll ? "Rolltest_" + std::to_string(i) + ".txt" : "AxisCorrection" + std::to_string(i) + ".txt");
    if (!std::filesystem::exists(p, ec)) return p;
  }
}

bool writeRollReport(const std::filesystem::path& file, const std::string& text) {
  std::FILE* f = std::fopen(file.c_str(), "wbx");
  if (!f) return false;
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const bool ok = std::fwrite(crlf.data(), 1, crlf.size(), f) == crlf.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kvr::tarnc
