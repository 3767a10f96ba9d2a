#include "kvr/tarnb/TarnBReports.h"

#include <algorithm>
#include <cmath>
#include <variant>

#include "kvr/tarnb/IntervalAnalysis.h"
#include "kvr/tarnb/TarnBTexts.h"
#include "platform/TextFormat.h"
#include "toolslib/GyroMath.h"
#include "toolslib/families/TarnB.h"

namespace kvr::tarnb {

namespace {

using tools::gyro::kPi;
constexpr std::size_t kRollPositions = 8;

using platform::format;

std::string fixed2(double v) { return format("%.2f", v); }

std::string calibrationLines(const ReportContext& ctx) {
  return format("Calibration Date   : %s\n", ctx.calibration[2].c_str()) +
         format("IMU Serial Number  : %s\n", ctx.calibration[1].c_str()) +
         format("Calibration Version: %s\n\n", ctx.calibration[3].c_str());
}

std::string stationLines(const StationRecord& s) {
  return format("Binary File: %s - Adquisition Time %d:%d:%d - Date %d/%d/%d\n", s.title.c_str(), s.hour, s.minute,
                s.second, s.day, s.month, s.year) +
         format("Total Station time: %.2f sec\n", static_cast<double>(s.lastTime - s.firstTime));
}

std::string intervalLines(std::size_t k, const StationInterval& i) {
  return format("Interval #%zu from %s", k + 1, fixed2(i.start).c_str()) + format(" to %s sec\n\n", fixed2(i.end).c_str());
}

std::variant<AnalysisResult, AnalysisFailure> analyse(const StationRecord& s, const StationInterval& i, AnalysisMode mode,
                                                      const ReportContext& ctx) {
  if (!ctx.recordingFile.empty() && s.path.filename() == ctx.recordingFile.filename()) return AnalysisFailure{kRecordingFile};
  return analyseInterval(ctx.fs, s.path, s.startDepth, {i.start, i.end, mode, ctx.filter, ctx.latitudeDeg});
}

// A refused analysis is shown without a caption; its block says so instead of giving numbers.
std::string failedBlock(const ReportContext& ctx, const AnalysisFailure& f) {
  platform::tell(ctx.prompter, "", f.text, platform::Icon::Warning);
  std::string text = f.text;
  std::replace(text.begin(), text.end(), '\n', ' ');
  return "Not Analysed  : " + text + "\n\n\n";
}

bool writeAll(ReportFile& report, const std::string& text, const ReportContext& ctx) {
  const bool ok = report.write(text) && report.close();
  if (!ok) platform::tell(ctx.prompter, text::kFatal, text::kTxtFailed, platform::Icon::Error);
  return ok;
}

// The column file: the report's name up to its last "." and ".LAS", never over a file.
std::filesystem::path lasPathFor(const std::filesystem::path& report) {
  std::string s = report.string();
  const auto dot = s.find_last_of('.');
  const auto slash = s.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) s.resize(dot);
  return s + ".LAS";
}

bool writeNew(FileSystem& fs, const std::filesystem::path& path, const std::string& text) {
  bool taken = false;
  auto file = fs.createNewOutput(path, taken);
  if (!file) return false;
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  const bool ok = file->write(reinterpret_cast<const std::uint8_t*>(out.data()), out.size()) == out.size();
  return file->close() && ok;
}

}  // namespace

std::string latitudeText(const char* label, double latitudeDeg) {
  const int d = static_cast<int>(latitudeDeg);
  const double minutes = (latitudeDeg - d) * 60;
  const int m = static_cast<int>(minutes);
  const int s = static_cast<int>((minutes - m) * 60);
  return format("%s: %d %d' %d\"\n\n", label, d, m, s);
}

bool writeStationReport(ReportFile& report, const std::vector<StationRecord>& stations, const ReportContext& ctx) {
  std::string las = "DEPTH       DEVI     HAZI\n";
  std::string out = "TARN-B Directional Survey Station Report\n\n";
  out += format("Well Name    : %s\n", ctx.wellName.c_str());
  out += latitudeText("Well Latitude", ctx.latitudeDeg);
  out += calibrationLines(ctx);
  const AnalysisMode mode = ctx.raw ? AnalysisMode::Raw : AnalysisMode::Normal;
  for (std::size_t n = 0; n < stations.size(); ++n) {
    const auto& s = stations[n];
    out += "\nAnalisys Data:\n\n" + stationLines(s) + "\nAnalisys of Intervals:\n\n";
    for (std::size_t k = 0; k < s.intervals.size(); ++k) {
      out += intervalLines(k, s.intervals[k]);
      const auto analysed = analyse(s, s.intervals[k], mode, ctx);
      if (const auto* f = std::get_if<AnalysisFailure>(&analysed)) {
        out += failedBlock(ctx, *f);
        continue;
      }
      const auto& r = std::get<AnalysisResult>(analysed);
      const double depth = ctx.autoDepth ? ctx.depthStart + ctx.depthIncrement * static_cast<double>(n) : r.depth;
      out += format(ctx.english ? "Measured Depth: % 7.2f [Ft]\n" : "Measured Depth: % 7.2f [Mts]\n", depth);
      out += format("Sensor Temp.  : %7.1f [DegC]\n", r.temperature);
      out += format("Deviation     : %7.2f [Deg]\n", r.deviation);
      out += format(r.rbChannel ? "RB (Gravity)  : %7.2f [Deg]\n" : "HSTF (Gravity): %7.2f [Deg]\n", r.highSideToolface);
      if (ctx.raw) {
        out += "Hole Azimuth  :   Not Calculated in RAW mode\n";
        out += "Tool Face     :   Not Calculated in RAW mode\n\n";
        out += format("Average Rate X: %+7.4f [mV]\n", r.rateX) + format("Average Rate Y: %+7.4f [mV]\n", r.rateY);
        out += format("Xg            : %+7.1f [mV]\n", r.xg) + format("Yg            : %+7.1f [mV]\n", r.yg) +
               format("Zg            : %+7.1f [mV]\n", r.zg);
      } else {
        out += format("Hole Azimuth  : %7.2f [Deg]\n", r.azimuth) + format("Tool Face     : %7.2f [Deg]\n\n", r.toolface);
        out += format("Average Rate X: %+7.4f\n", r.rateX) + format("Average Rate Y: %+7.4f\n", r.rateY);
        out += format("Xg            : %+7.4f\n", r.xg) + format("Yg            : %+7.4f\n", r.yg) +
               format("Zg            : %+7.4f\n", r.zg);
      }
      out += "\n\n";
      // Raw mode computes no azimuth: the column file gets the null value.
      las += format("%7.1f    %6.2f    %6.2f\n", depth, r.deviation, ctx.raw ? -999.25 : r.azimuth);
    }
  }
  if (ctx.las && !writeNew(ctx.fs, lasPathFor(report.path()), las)) {
    report.close();
    platform::tell(ctx.prompter, text::kFatal, text::kLasFailed, platform::Icon::Error);
    return false;
  }
  if (!writeAll(report, out, ctx)) return false;
  if (ctx.las) platform::tell(ctx.prompter, "", text::kLasCreated, platform::Icon::Information);
  return true;
}

const char* grade(double difference, double pass, double fair) {
  const double a = std::fabs(difference);
  if (!std::isfinite(a)) return "NOT PASS";
  if (a <= pass) return "PASS";
  if (a <= fair) return "FAIR";
  return "NOT PASS";
}

bool writeRollTestReport(ReportFile& report, const std::vector<StationRecord>& stations, const ReportContext& ctx,
                         const tools::TarnB& calibration) {
  std::string out = "TARN-B Roll Test Report\n\n";
  out += latitudeText("Current Latitude", ctx.latitudeDeg);
  out += calibrationLines(ctx);
  out += "\nInput Station Data:\n\n";
  double x[kRollPositions] = {}, y[kRollPositions] = {}, t[kRollPositions] = {};
  std::string aborted;
  const std::size_t used = std::min(stations.size(), kRollPositions);
  for (std::size_t k = 0; k < used; ++k) {
    const auto& s = stations[k];
    out += stationLines(s) + "\n";
    std::size_t good = 0;
    for (std::size_t i = 0; i < s.intervals.size(); ++i) {
      out += intervalLines(i, s.intervals[i]);
      const auto analysed = analyse(s, s.intervals[i], AnalysisMode::RollTest, ctx);
      if (const auto* f = std::get_if<AnalysisFailure>(&analysed)) {
        out += failedBlock(ctx, *f);
        continue;
      }
      const auto& r = std::get<AnalysisResult>(analysed);
      out += format("Assumed Tool Position : %s %3.0f [Deg]\n", k < 4 ? "EAST" : "WEST", 90.0 * static_cast<double>(k % 4));
      out += format("Gyro X Average        : %+5.4f  [mV]\n", r.rateX);
      out += format("Gyro Y Average        : %+5.4f  [mV]\n", r.rateY);
      out += format("Position Check (HSTF) : %7.2f  [Deg]\n", r.highSideToolface);
      out += "\n\n";
      x[k] += r.rateX, y[k] += r.rateY, t[k] += r.temperature;
      ++good;
    }
    if (good == 0) {
      if (aborted.empty()) aborted = format("\n\nRoll Test Aborted - Station %zu could not be analysed !\n\n", k + 1);
      continue;
    }
    x[k] /= static_cast<double>(good), y[k] /= static_cast<double>(good), t[k] /= static_cast<double>(good);
  }
  if (stations.size() < kRollPositions) {
    platform::tell(ctx.prompter, text::kAttention, text::kRollTestStations, platform::Icon::Warning);
    aborted = "\n\nRoll Test Aborted - Not enough station files have been specified !\n\n";
  }
  if (!aborted.empty()) {
    writeAll(report, out + aborted, ctx);
    return false;
  }

  const double l = ctx.latitudeDeg * kPi / 180.0;
  const double tMin = *std::min_element(t, t + kRollPositions), tMax = *std::max_element(t, t + kRollPositions);
  const double tMid = (tMin + tMax) / 2;
  const auto eOffset = calibration.correctedGyroOffset(static_cast<float>(tMid));
  const auto eGain = calibration.correctedGyroGain(static_cast<float>(tMid));
  const auto eGravity = calibration.correctedGyroGravityCoefficients(static_cast<float>(tMid));
  double xOffset = 0, yOffset = 0;
  for (std::size_t k = 0; k < kRollPositions; ++k) xOffset += x[k] / 8, yOffset += y[k] / 8;
  const double gx = 4 * std::cos(l) / std::fabs((x[1] - x[5]) - (x[3] - x[7]));
  const double gy = 4 * std::cos(l) / std::fabs((y[0] - y[4]) - (y[2] - y[6]));
  const double dxx = std::sin(l) + ((x[2] + x[6]) - (x[0] + x[4])) / 4 * gx;
  const double dxy = ((x[3] + x[7]) - (x[1] + x[5])) / 4 * gx;
  const double dyx = ((y[2] + y[6]) - (y[0] + y[4])) / 4 * gy;
  const double dyy = std::sin(l) + ((y[3] + y[7]) - (y[1] + y[5])) / 4 * gy;
  const double ex = eGain[0], ey = eGain[2];
  const double pairs[2][4] = {{(x[0] + x[2]) / 2, (x[1] + x[3]) / 2, (x[4] + x[6]) / 2, (x[5] + x[7]) / 2},
                              {(y[0] + y[2]) / 2, (y[1] + y[3]) / 2, (y[4] + y[6]) / 2, (y[5] + y[7]) / 2}};

  out += "Test Results Summary:\n\n";
  out += format("Temperature   : Min. %4.1f, Max. %4.1f, Avg. %4.1f - %s\n\n", tMin, tMax, tMid, grade(tMax - tMin, 2.0, 2.5));
  struct Axis {
    char name;
    double offset, expectedOffset, gain, expectedGain, c1, e1, c2, e2;
    const char* c1Name;
    const char* c2Name;
    const char* symmetryEnd;
  };
  const Axis axes[2] = {
      {'X', xOffset, eOffset[0], gx, ex, dxx, eGravity[0], dxy, eGravity[1], "DXx", "DXy", " [uV] - %s\n"},
      {'Y', yOffset, eOffset[2], gy, ey, dyx, eGravity[4], dyy, eGravity[5], "DYx", "DYy", " [uV]- %s\n"}};
  for (int a = 0; a < 2; ++a) {
    const Axis& ax = axes[a];
    const double dOffset = ax.offset - ax.expectedOffset;
    const double dGain = (ax.gain - ax.expectedGain) / ((ax.expectedGain + ax.gain) / 2);
    const double d1 = (ax.c1 - ax.e1) / ax.expectedGain, d2 = (ax.c2 - ax.e2) / ax.expectedGain;
    out += format("Gyro %c Offset : %+5.4f - Expected: %+5.4f - Difference  %+5.1f [uV] - %s\n", ax.name, ax.offset,
                  ax.expectedOffset, dOffset * 1000, grade(dOffset, 0.015, 0.02));
    out += format("Gyro %c Gain   : %+5.4f - Expected: %+5.4f - Difference  % 5.1f    %% - %s\n", ax.name, ax.gain,
                  ax.expectedGain, dGain * 100, grade(dGain, 0.01, 0.015));
    out += format("Gyro %c %s    : %+5.4f - Expected: %+5.4f - Difference  %+5.1f [uV] - %s\n", ax.name, ax.c1Name, ax.c1,
                  ax.e1, d1 * 1000, grade(d1, 0.021, 0.028));
    out += format("Gyro %c %s    : %+5.4f - Expected: %+5.4f - Difference  %+5.1f [uV] - %s\n", ax.name, ax.c2Name, ax.c2,
                  ax.e2, d2 * 1000, grade(d2, 0.021, 0.028));
    for (int p = 0; p < 2; ++p) {
      const double first = pairs[a][2 * p], second = pairs[a][2 * p + 1];
      const double d = std::fabs(first - second);
      out += format("Symmetry Check: %+5.4f, %+5.4f - Difference  %5.1f", first, second, d * 1000) +
             format(ax.symmetryEnd, grade(d, 0.005, 0.008));
    }
    out += "\n";
  }
  return writeAll(report, out, ctx);
}

}  // namespace kvr::tarnb
