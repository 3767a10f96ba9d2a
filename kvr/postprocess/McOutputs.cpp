#include "kvr/postprocess/McOutputs.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

#include "kvr/postprocess/RawStreamFile.h"
#include "kvr/postprocess/TextOutput.h"

namespace kvr::postprocess {
namespace {

constexpr double kRadToDeg = 57.295779513082195;
constexpr const char* kRuler = "#----------------------------------------------------------------\n";

// A time of day from tool seconds: whole hours modulo 24, minutes modulo 60, seconds modulo 60.
struct Clock3 {
  int h = 0, m = 0, s = 0;
};
Clock3 timeOfDay(double t) {
  if (!std::isfinite(t) || std::fabs(t) > 1e15) return {};
  const auto whole = [](double v) { return static_cast<long long>(v); };
  return {static_cast<int>(whole(t / 3600) % 24), static_cast<int>(whole(t / 60) % 60),
          static_cast<int>(whole(t) % 60)};
}

// The depth of the first sample whose time is at least t (0 when none): a binary search
// when the times rise, as they do in a recorded stream, else a walk.
class DepthAt {
 public:
  explicit DepthAt(std::span<const MUESTRA> s) : s_(s) {
    sorted_ = std::is_sorted(s.begin(), s.end(), [](const MUESTRA& a, const MUESTRA& b) { return a.time < b.time; });
  }
  bool find(double t, double* depth) const {
    if (sorted_) {
      const auto it =
          std::lower_bound(s_.begin(), s_.end(), t, [](const MUESTRA& a, double v) { return a.time < v; });
      if (it == s_.end()) return false;
      *depth = it->depth;
      return true;
    }
    for (const auto& m : s_)
      if (m.time >= t) {
        *depth = m.depth;
        return true;
      }
    return false;
  }
  double operator()(double t) const {
    double d = 0;
    return find(t, &d) ? d : 0.0;
  }

 private:
  std::span<const MUESTRA> s_;
  bool sorted_ = true;
};

std::string dateText(const platform::CalendarTime& now) {
  return format("%02d-%02d-%02d", now.year % 100, now.month, now.day);
}

// "%s, %02d:%02d:%02d  to  %s, %02d:%02d:%02d" of two tool times.
std::string interval(const std::string& date, double from, double to) {
  const Clock3 a = timeOfDay(from), b = timeOfDay(to);
  return format("%s, %02d:%02d:%02d  to  %s, %02d:%02d:%02d", date.c_str(), a.h, a.m, a.s, date.c_str(), b.h, b.m,
                b.s);
}

double clampPercent(double q) { return q < 0 ? 0 : q > 100 ? 100 : q; }
double minutesOf(const Movimiento& m) { return (m.endTime - m.startTime) / 60; }

const SESSION_EVENT& eventAt(const OutputContext& c, int index) {
  return (*c.events)[static_cast<std::size_t>(index)];
}

}  // namespace

std::string outputPath(const std::string& eventLogPath, Output which) {
  const std::string folder = folderOf(eventLogPath), n = sessionNumberOf(eventLogPath);
  switch (which) {
    case Output::SurveyLas: return folder + "MCResults_" + n + ".las";
    case Output::DepthLas: return folder + "MCDepth_" + n + ".las";
    case Output::Report: break;
  }
  return folder + "MCReport_" + n + ".txt";
}

bool writeSurveyLas(const OutputContext& c, const std::string& path) {
  TextOutput out;
  if (!out.create(path)) return false;
  const CNavikor& nav = *c.navikor;
  const DepthAt depthAt(c.samples);
  const std::string date = dateText(c.now);
  out.put("~VERSION INFORMATION\n");
  out.put(" VERS.                 2.0:   CWLS LOG ASCII STANDARD - VERSION 2.0\n");
  out.put(" WRAP.                  NO:   ONE LINE PER DEPTH STEP\n");
  out.put("#TARN-C CONTINUOUS MODE ANALYSIS\n");
  out.put("#ToolString: TARN-C - KEPAX\n");
  out.print("#Source File: %s\n", titleOf(c.eventLogPath).c_str());
  out.print("#Connection Time:  %02d:%02d:%02d  %02d/%02d/%d  \n", c.now.hour, c.now.minute, c.now.second, c.now.day,
            c.now.month, c.now.year);
  out.print("# TARN-C SN: %d - KEPAX SN: %d \n", 0, c.sensorSerial);
  out.print("# Calibration Date: %s \n", c.calibrationDate.c_str());
  out.print("# Well Latitude: %.4fdegrees\n", c.latitude);
  if (!c.stations.empty()) {
    const auto& first = eventAt(c, c.stations.front());
    out.print("Estimated Axis : %.2f,%.2f deg\n", first.Devi, first.Azi);
  }
  out.put("# Match NS Stations ON\n");
  out.print("# Acelerometer Correction %s - Min Correction Step: %.2fdegrees - Acelerometer Filter: %d samples - "
            "Acelerometer Correction: %d samples\n",
            nav.acelCorrOn ? "ON" : "OFF", nav.minCorrStep, nav.acelFilterSamples, nav.acelCorrSamples);
  out.put(kRuler);

  out.put("#TARN-C Station Definitions\n");
  out.put("#Start [s] ; End [s] ; Depth [m] ; SteadyLimit [s] ; OK/OUT/REF \n");
  out.print("#Stations: %d\n", static_cast<int>(c.stations.size()));
  for (int k : c.stations) {
    const auto& e = eventAt(c, k);
    out.print("# %.2f ; %.2f ; %.2f ; %.2f ; %s ;\n", e.Time, e.Time, depthAt(e.Time), e.Time, e.Flag.c_str());
  }
  out.put(kRuler);

  out.put("# MULTISHOT REPORT:\n");
  out.put("#                 Time Interval          Depth        DEVI      ACIMUT        HSTF          TF     "
          "QUALITY\n");
  for (int k : c.stations) {
    const auto& e = eventAt(c, k);
    out.print("# %s  %10.2f m  %10.2f  %10.2f  %10.2f  %10.2f  %7.1f %%\n", interval(date, e.Time, e.Time).c_str(),
              depthAt(e.Time), e.Devi, e.Azi, e.Hstf, e.Tf, e.Qc);
  }
  out.put(kRuler);

  out.put("# CONTINUOUS MODE REPORT:\n");
  const int count = nav.movementCount;
  if (count > 0) {
    const Movimiento& m = nav.movementTable[0];
    out.print("#  Initial Movement: -  Time Interval:   %s  -  Final Depth:  %8.2f  m -  Integrated Angle: "
              "%10.1fdegrees-  Acel Corrections: %3d\n",
              interval(date, m.startTime, m.endTime).c_str(), depthAt(m.startTime), m.integratedAngle,
              m.acelCorrections);
  }
  out.put("# Movement#                 Time Interval                Depth Interval  Integrated Angle        Well "
          "Error    Position Drift           QUALITY  Acel Corrections\n");
  for (int i = 1; i <= count - 2; ++i) {
    const Movimiento& m = nav.movementTable[i];
    const double minutes = minutesOf(m);
    const double drift = minutes > 0 ? m.attitudeError / minutes : 0;
    const double quality = clampPercent(100 - m.attitudeError * 10);
    const std::string head = format("#%10d %s  %10.2f m to %8.2f m  %10.1fdegrees    %8.2fdegrees  ", i,
                                    interval(date, m.startTime, m.endTime).c_str(), depthAt(m.startTime),
                                    depthAt(m.endTime), m.integratedAngle, m.attitudeError);
    if (minutes >= 1)
      out.print("%s  %8.2fdeg/min     %8.1f %%  %16d\n", head.c_str(), drift, quality, m.acelCorrections);
    else
      out.print("%s(Short Movement)  (Short Movement)  %16d\n", head.c_str(), m.acelCorrections);
  }
  if (count >= 2) {
    const Movimiento& m = nav.movementTable[count - 1];
    out.print("#  Final Movement: -  Time Interval:   %s  -  Initial Depth:  %8.2f  m -  Integrated Angle: "
              "%10.1fdegrees -  Acel Corrections: %3d\n",
              interval(date, m.startTime, m.endTime).c_str(), depthAt(m.startTime), m.integratedAngle,
              m.acelCorrections);
  }
  out.put(kRuler);
  out.put("~CURVE INFORMATION BLOCK\n");
  out.put("#MNEM.UNIT      API CODE      CURVE DESCRIPTION\n");
  out.put("#---------    -------------   ------------------------------\n");
  out.put("ELTIM.secs                    : Sample Time\n");
  out.put("TEMP.degC                     : Temperature\n");
  out.put("DEVI.degrees                        : Vertical Deviation  0/180degrees\n");
  out.put("HAZI.degrees                        : Horizontal Azimuth\n");
  out.put("HSTF.degrees                        : High Side Tool Face\n");
  out.put("TFACE.degrees                       : Tool Face\n");
  out.put("#WELL DATA\n");
  out.put("#       Time     TEMP     DEVI    HAZI    HSTF   TFACE \n");
  out.put("~A      secs    degC  degrees degrees degrees degrees \n");
  CNavikor& reader = *c.navikor;
  const auto turn = [](double a) { return a < 0 ? a + 360 : a; };
  // The attitudes of the next block are worked out on a second thread while this block's
  // rows are written (reading the tables only, as the rows do).
  constexpr std::size_t kBlock = 32768;
  const std::size_t n = c.samples.size();
  std::vector<POS_PARAM> current(std::min(n, kBlock)), next(current.size());
  const auto attitudes = [&reader, n](std::vector<POS_PARAM>& into, std::size_t from) {
    for (std::size_t k = from; k < std::min(n, from + kBlock); ++k)
      reader.WELLPOSindex(static_cast<long>(k), &into[k - from]);
  };
  attitudes(current, 0);
  for (std::size_t from = 0; from < n; from += kBlock) {
    std::jthread ahead;
    if (from + kBlock < n) ahead = std::jthread(attitudes, std::ref(next), from + kBlock);
    for (std::size_t k = from; k < std::min(n, from + kBlock); ++k) {
      const POS_PARAM& p = current[k - from];
      const MUESTRA& s = c.samples[k];
      // "%8.2f    %8.2f  %8.2f %8.2f %8.2f %8.2f\n"
      out.fixed(s.time, 8, 2);
      out.put("    ");
      out.fixed((s.ag.gyroTemp.x + s.ag.gyroTemp.y) / 2, 8, 2);
      out.put("  ");
      out.fixed(p.Devi * kRadToDeg, 8, 2);
      out.put(" ");
      out.fixed(turn(p.Azi * kRadToDeg), 8, 2);
      out.put(" ");
      out.fixed(turn(p.Hstf * kRadToDeg), 8, 2);
      out.put(" ");
      out.fixed(turn(p.Tf * kRadToDeg), 8, 2);
      out.put("\n");
    }
    if (ahead.joinable()) ahead.join();
    std::swap(current, next);
  }
  return out.close();
}

bool writeDepthLas(const OutputContext& c, const std::string& path) {
  TextOutput out;
  if (!out.create(path)) return false;
  out.put("~Version Information\n");
  out.put("VERS.  2.0                :CWLS Log ASCII Standard - VERSION 2.0\n");
  out.put("WRAP.  NO                 :One line per depth step\n");
  out.put("DLM.  SPACE               :Column Data Section Delimiter\n");
  out.put("PROG. KVR PostProcess      :LAS Program name and version\n");
  out.print("SOURCE.%s :KVR Data File Name\n", titleOf(c.eventLogPath).c_str());
  out.print("DATE. %02d/%02d/%d  %02d:%02d:%02d \n", c.now.month, c.now.day, c.now.year, c.now.hour, c.now.minute,
            c.now.second);
  out.put("# Synchronized File\n");
  out.put("~Curve Information Section\n");
  out.put("\n\n");
  out.put("ELTIM.sec                 :Elapsed Time\n");
  out.put("DEPT.mt                   :Depth mts\n");
  out.put("SPEED.m/m                 :Speed mts/min\n");
  out.put("Tension.Lbs               :Tension Lbs\n");
  out.put("\n");
  out.put("~A      Time     Depth   Speed    Tension\n");
  for (const MUESTRA& s : c.samples) {
    // "%10.2f  %8.2f  %7.1f     %8.0f\n" with speed and tension 0
    out.fixed(s.time, 10, 2);
    out.put("  ");
    out.fixed(s.depth, 8, 2);
    out.put("      0.0            0\n");
  }
  return out.close();
}

bool writeReport(const OutputContext& c, const std::string& path) {
  TextOutput out;
  if (!out.create(path)) return false;
  const CNavikor& nav = *c.navikor;
  const DepthAt depthAt(c.samples);
  const std::string date = dateText(c.now);
  out.print("#Source File: %s\n", titleOf(c.eventLogPath).c_str());
  out.put("#Configuration:\n");
  out.print("  #Well Latitude: %.4fdegrees\n", c.latitude);
  out.print("  #Housing Axis : %.2fdegrees,%.2fdegrees\n\n", nav.imuTilt, nav.imuDirection);
  out.put("  #Deviation scale: 0degrees/180degrees\n");
  out.put("  #Match NS Stations ON       #Min Correction Step: 0.05degrees\n");
  out.print("  #Acelerometer Correction %s    #Min Correction Step: %.2fdegrees\n", nav.acelCorrOn ? "ON" : "OFF",
            nav.minCorrStep);
  out.print("    #Kick Off Angle: %.2fdegrees\n", 3.0);
  out.print("    #Acelerometer Filter: %d samples\n", nav.acelFilterSamples);
  out.print("    #Acelerometer Correction: %d samples\n", nav.acelCorrSamples);
  out.print("    #Acelerometer Threshold: %.2fdegrees\n\n", static_cast<double>(nav.acelThreshold));
  const int count = nav.movementCount;
  if (count <= 0 || c.samples.empty()) {
    out.put("No movement data available.\n");
    return out.close();
  }
  {
    const Movimiento& m = nav.movementTable[0];
    double depth = c.samples.front().depth;
    depthAt.find(m.endTime, &depth);
    out.put("Initial Movement:\n");
    out.print("  Time Interval:   %s\n", interval(date, m.startTime, m.endTime).c_str());
    out.print("  Final Depth:     %.2f  m\n", depth);
    out.print("  Integrated Angle:    %.1fdegrees\n", m.integratedAngle);
    out.print("  Acel Corrections:  %d\n\n", m.acelCorrections);
  }
  for (int i = 1; i <= count - 2; ++i) {
    const Movimiento& m = nav.movementTable[i];
    const double minutes = minutesOf(m);
    const double drift = minutes > 0 ? m.axisError / minutes : 0;
    out.print("Movement N: %d\n", i);
    out.print("  Time  Interval:   %s\n", interval(date, m.startTime, m.endTime).c_str());
    out.print("  Depth Interval:     %.2f m to    %.2f m\n", depthAt(m.startTime), depthAt(m.endTime));
    out.print("  Integrated Angle :     %.1fdegrees\n", m.integratedAngle);
    out.print("  Well Error:          %.2fdegrees\n", m.attitudeError);
    out.print("  Position Error:      %.2fdeg\n", m.axisError);
    out.print("  Position Drift:      %.2fdeg/min   -  QUALITY :      %.1f %%\n", drift,
              clampPercent(100 - std::fabs(drift) * 10));
    out.print("  Acel Corrections:   %d\n\n", m.acelCorrections);
  }
  if (count >= 2) {
    const Movimiento& m = nav.movementTable[count - 1];
    out.put("Final Movement:\n");
    out.print("  Time Interval:   %s\n", interval(date, m.startTime, m.endTime).c_str());
    out.print("  Initial Depth:   %.2f  m\n", depthAt(m.startTime));
    out.print("  Integrated Angle:    %.1fdegrees\n", m.integratedAngle);
    out.print("  Acel Corrections:  %d\n", m.acelCorrections);
  }
  return out.close();
}

}  // namespace kvr::postprocess
