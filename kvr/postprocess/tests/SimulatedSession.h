#pragma once
// A TARN-C session recorded on the simulated tool, as the task panel leaves it: the raw
// inertial stream written by the TOOLS library frame by frame, and the event log with a
// north-seeking station (indexer at 0, then 180, then back) between continuous surveys in
// which the tool turns and goes down the hole. The stations report the simulated truth.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "navikor/Navikor.h"
#include "panelsim/TarnCTool.h"
#include "toolslib/Library.h"
#include "toolslib/families/TarnC.h"

namespace kvr::postprocess::testing {

inline std::string sampleSct() {
  std::ifstream in(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct SessionPlan {
  int stations = 2;
  double stationHoldS = 6;      // at each indexer position
  double surveyS = 30;          // of continuous survey between stations
  double toolfaceRateDegPerS = 0.3;  // while surveying
  double speedMPerMin = 10;     // down the hole while surveying
  double acelNoise = 1e-4;      // g
  double gyroNoise = 0.05;      // deg/h
  double gyroBias[3] = {0.04, -0.03, 0.02};  // deg/h, constant: no station removes it
  bool calibrationInStream = true;
  panelsim::Well well{40, 30, 123.4, 60};
};

class SimulatedSession {
 public:
  static constexpr double kFrameS = 1.0 / 15;

  SimulatedSession(const std::filesystem::path& sessionFolder, const SessionPlan& plan) : plan_(plan) {
    auto& tarnC = *static_cast<tools::TarnC*>(lib_.family(records::kTarnC));
    const auto sct = tools::tarnc::parseSct(sampleSct());
    if (plan.calibrationInStream) tarnC.loadCorrectionTableText(sampleSct(), nullptr);
    tarnC.getParameterList()[tools::TarnC::kLatitude].value = static_cast<float>(plan.well.latitudeDeg);
    tarnC.init();
    panelsim::TarnCSettings s;
    s.calibration = sct.calibration;
    s.acelNoise = plan.acelNoise;
    s.gyroNoise = plan.gyroNoise;
    for (int i = 0; i < 3; ++i) s.gyroBias[i] = plan.gyroBias[i];
    tool_ = std::make_unique<panelsim::TarnCTool>(s);
    tarnC.OpenTARN_C_DLLRawDataFile(sessionFolder.string(), "DataSession", "1");
    logPath = (sessionFolder / "Output" / "Session_1.csv").string();
    log_ = "Tiempo,Tipo,Devi,Azi,Hstf,Tf,Qc,Flag\r\n";
    hold(2);  // the stream opens as the session starts, a moment before the first station
    for (int k = 0; k < plan.stations; ++k) {
      station();
      if (k + 1 < plan.stations) survey();
    }
    tarnC.CloseTARN_C_DLLRawDataFile();
    std::ofstream(logPath, std::ios::binary) << log_;
  }

  // The IMU attitude at indexer angle 0 at tool time t.
  POS_PARAM truthAt(double t) const {
    double tf = plan_.well.toolfaceDeg;
    for (std::size_t i = 0; i < toolface_.size() && toolface_[i].first <= t; ++i)
      tf = toolface_[i].second + (t - toolface_[i].first) * rateAfter_[i];
    return Matrix2Param(Param2Matrix(POS_PARAM{rad(plan_.well.inclinationDeg), rad(plan_.well.azimuthDeg),
                                              rad(tf), 0}));
  }
  static double rad(double d) { return d * 3.1415926535898 / 180; }
  static double deg(double r) { return r * 180 / 3.1415926535898; }

  std::string logPath;
  double timeS() const { return frame_ * kFrameS; }

 private:
  void event(const char* name, double t, const POS_PARAM* result = nullptr) {
    char row[512];
    if (result)
      std::snprintf(row, sizeof row, "%g,0,%g,%g,%g,%g,%g,12,524,%s\r\n", t, deg(result->Devi), deg(result->Azi),
                    deg(result->Hstf), deg(result->Tf), 98.5, name);
    else
      std::snprintf(row, sizeof row, "%g,0,0,0,0,0,0,0,0,%s\r\n", t, name);
    log_ += row;
  }
  void hold(double seconds) {
    for (double end = timeS() + seconds; timeS() < end;) frame();
  }
  // A move of half a turn takes under two seconds at 300 counts a second.
  void turnTo(std::uint8_t code) {
    tool_->onMessage({4, 227, 0, code});
    hold(3);
  }
  void station() {
    event("START_STATION", timeS());
    hold(plan_.stationHoldS);
    turnTo(0x71);
    hold(plan_.stationHoldS);
    turnTo(0x6F);
    hold(1);
    const POS_PARAM truth = truthAt(timeS());
    event("END_STATION", timeS() + 5.0, &truth);
    hold(7);  // the tool stays still past the logged end of the station
  }
  void survey() {
    setRate(plan_.toolfaceRateDegPerS);
    event("START_SURVEYDOWN", timeS());
    speed_ = plan_.speedMPerMin / 60;
    hold(plan_.surveyS);
    speed_ = 0;
    setRate(0);
    event("STOP_SURVEY", timeS());
  }
  void setRate(double r) {
    const double t = timeS();
    toolface_.push_back({t, toolfaceAt(t)});
    rateAfter_.push_back(r);
    rate_ = r;
  }
  double toolfaceAt(double t) const {
    if (toolface_.empty()) return plan_.well.toolfaceDeg;
    return toolface_.back().second + (t - toolface_.back().first) * rate_;
  }
  void frame() {
    auto& g = lib_.globals();
    panelsim::Environment env;
    env.timeS = timeS();
    env.frame = static_cast<std::uint32_t>(frame_);
    env.well = plan_.well;
    env.temperatureC = 50;
    // The simulator turns the toolface at rate x time; keep it continuous across rate changes.
    tool_->settings().toolfaceRateDegPerS = rate_;
    env.well.toolfaceDeg = toolfaceAt(env.timeS) - rate_ * env.timeS;
    std::uint8_t bytes[24];
    tool_->produce(env, noise_, bytes);
    for (int i = 0; i < 24; ++i) ring_[static_cast<std::size_t>(i)] = bytes[i];
    g.OnlineTimeTARN = env.timeS;
    g.OnlineDepth = depth_;
    float* p = rows_.data();
    lib_.family(records::kTarnC)->processData(ring_, 0, 0, &p, rows_.data(), rows_.data() + rows_.size() - 1, {});
    depth_ += speed_ * kFrameS;
    ++frame_;
  }

  SessionPlan plan_;
  tools::Library lib_;
  std::unique_ptr<panelsim::TarnCTool> tool_;
  panelsim::Noise noise_{7};
  std::vector<std::uint8_t> ring_ = std::vector<std::uint8_t>(32768, 0);
  std::vector<float> rows_ = std::vector<float>(32, 0.0f);
  std::string log_;
  long frame_ = 0;
  double depth_ = 100, speed_ = 0, rate_ = 0;
  std::vector<std::pair<double, double>> toolface_;  // (time, toolface) where the rate changed
  std::vector<double> rateAfter_;
};

}  // namespace kvr::postprocess::testing
