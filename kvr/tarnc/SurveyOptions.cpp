#include "kvr/tarnc/SurveyOptions.h"

#include <algorithm>
#include <cstdlib>

#include "navikor/Navikor.h"
#include "platform/TextFormat.h"

namespace kvr::tarnc {

namespace {

constexpr const char* kSection = "Options";

double readNumber(const platform::Settings& s, const char* name, const char* fallback) {
  const std::string text = s.getString(kSection, name, fallback);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end == text.c_str() ? std::strtod(fallback, nullptr) : v;
}

void writeNumber(platform::Settings& s, const char* name, double v) {
  s.setString(kSection, name, platform::format("%.2f", v));
}

std::optional<std::string> outside(double v, double lo, double hi) {
  if (v >= lo && v <= hi) return std::nullopt;
  return platform::format("Enter a number between %g and %g.", lo, hi);
}

struct Drift {
  const char* name;
  int fallback;
  int tools::Globals::*global;
};
constexpr Drift kDrift[6] = {
    {"TARN-C AutoDriftCorrection", 1, &tools::Globals::TARNC_GyroDriftCorrEnable},
    {"TARN-C AutoDriftCorr Interval", 60, &tools::Globals::TARNC_GyroDriftCorrInterval},
    {"TARN-C FeedbackDriftGx", 0, &tools::Globals::TARNC_GyroDriftCorrFeedback_x},
    {"TARN-C FeedbackDriftGy", 0, &tools::Globals::TARNC_GyroDriftCorrFeedback_y},
    {"TARN-C FeedbackDriftGz", 0, &tools::Globals::TARNC_GyroDriftCorrFeedback_z},
    {"TARN-C DTG FeedbackDrift Divisor", 3, &tools::Globals::TARNC_DTGDriftCorrFeedback_Filter_Division},
};

int driftValue(const platform::Settings& settings, const Drift& d) { return settings.getInt(kSection, d.name, d.fallback); }

}  // namespace

SurveyOptions loadSurveyOptions(const OptionTargets& t) {
  SurveyOptions o;
  if (t.parameters && !t.parameters->empty()) o.latitude = (*t.parameters)[0].value;
  if (t.parameters && t.parameters->size() > 1) o.hstfPlusMinus180 = (*t.parameters)[1].selectedChoice != 0;
  const auto& s = t.settings;
  o.createStationFiles = s.getInt(kSection, "TARN-C AutoSave KVR Stations", 1) != 0;
  o.stationTime = readNumber(s, "TARN-C Station Time", "80");
  o.stabilisationTime = readNumber(s, "TARN-C Mid-Station Stabilization Time", "5");
  o.initialDepth = readNumber(s, "TARN-C InitDepth", "100");
  o.depthIncrement = readNumber(s, "TARN-C DepthInc", "100");
  o.autoDepth = s.getInt(kSection, "TARN-C AutoDepth", 0) != 0;
  o.resetInterval = readNumber(s, "TARN-C Time Between Reset Stations", "10");
  o.toolFaceOffset = readNumber(s, "TARN-C Tool Face Offset Correction", "0");
  o.useDllOutput = t.globals.usarDatosDLL > 0;
  o.accelCorrection = t.globals.usarCorreccionAcelerometro != 0;
  return o;
}

std::optional<std::string> checkSurveyOptions(const SurveyOptions& o) {
  if (auto e = outside(o.latitude, -89.99, 89.99)) return e;
  if (auto e = outside(o.stationTime, 20, 1000)) return e;
  if (auto e = outside(o.stabilisationTime, 5, 15)) return e;
  if (auto e = outside(o.initialDepth, -50000, 50000)) return e;
  if (auto e = outside(o.depthIncrement, -10000, 10000)) return e;
  return outside(o.toolFaceOffset, 0, 360);
}

std::optional<std::string> applySurveyOptions(const SurveyOptions& o, const OptionTargets& t) {
  if (auto e = checkSurveyOptions(o)) return e;
  if (t.parameters && !t.parameters->empty()) (*t.parameters)[0].value = static_cast<float>(o.latitude);
  if (t.parameters && t.parameters->size() > 1) (*t.parameters)[1].selectedChoice = o.hstfPlusMinus180 ? 1 : 0;
  t.navikor.SetLatitud(o.latitude);
  t.globals.usarDatosDLL = o.useDllOutput ? 1 : 0;
  auto& s = t.settings;
  s.setInt(kSection, "TARN-C AutoSave KVR Stations", o.createStationFiles ? 1 : 0);
  writeNumber(s, "TARN-C Station Time", o.stationTime);
  writeNumber(s, "TARN-C Mid-Station Stabilization Time", o.stabilisationTime);
  writeNumber(s, "TARN-C InitDepth", o.initialDepth);
  writeNumber(s, "TARN-C DepthInc", o.depthIncrement);
  s.setInt(kSection, "TARN-C AutoDepth", o.autoDepth ? 1 : 0);
  writeNumber(s, "TARN-C Time Between Reset Stations", o.resetInterval);
  writeNumber(s, "TARN-C Tool Face Offset Correction", o.toolFaceOffset);
  t.globals.TARNC_DisableAccel = o.verticalOnly ? 1 : 0;
  return std::nullopt;
}

void loadDriftOptions(const platform::Settings& settings, tools::Globals& globals) {
  for (const auto& d : kDrift) globals.*d.global = driftValue(settings, d);
}

FilterOptions loadFilterOptions(const platform::Settings& s) {
  FilterOptions o;
  o.onlineCorrection = driftValue(s, kDrift[0]) != 0;
  o.correctionInterval = driftValue(s, kDrift[1]);
  o.feedbackX = driftValue(s, kDrift[2]) != 0;
  o.feedbackY = driftValue(s, kDrift[3]) != 0;
  o.feedbackZ = driftValue(s, kDrift[4]) != 0;
  o.dtgDivisor = driftValue(s, kDrift[5]);
  return o;
}

std::optional<std::string> checkFilterOptions(const FilterOptions& o) {
  if (auto e = outside(o.initialGain, 0.01, 0.99)) return e;
  if (auto e = outside(o.initialErrEs, 0.001, 0.1)) return e;
  if (auto e = outside(o.initialErrM, 0.001, 0.1)) return e;
  if (auto e = outside(o.correctionInterval, 1, 3600)) return e;
  return outside(o.dtgDivisor, 1, 10);
}

std::optional<std::string> applyFilterOptions(const FilterOptions& o, platform::Settings& settings,
                                              tools::Globals& globals) {
  if (auto e = checkFilterOptions(o)) return e;
  const int values[6] = {o.onlineCorrection ? 1 : 0, o.correctionInterval, o.feedbackX ? 1 : 0,
                         o.feedbackY ? 1 : 0,        o.feedbackZ ? 1 : 0,  o.dtgDivisor};
  for (int i = 0; i < 6; ++i) {
    settings.setInt(kSection, kDrift[i].name, values[i]);
    globals.*kDrift[i].global = values[i];
  }
  return std::nullopt;
}

int startQuickKalman(FilterOptions& o, tools::Globals& globals) {
  o.quickKalmanTime = std::clamp(o.quickKalmanTime, 20, 180);
  globals.KG = o.initialGain;
  globals.Ees = o.initialErrEs;
  globals.Outes = 0;
  globals.Kalman_Pause = 0;
  return o.quickKalmanTime;
}

}  // namespace kvr::tarnc
