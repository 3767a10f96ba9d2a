#pragma once
// The TARN-C survey options ("Options") and filter options ("Filter Options"): what the
// panel reads when it acts, kept in the settings section "Options" (numbers as "%.2f" text,
// switches as 0/1), the latitude and the high-side toolface convention in the TARN-C tool
// parameter list, and a few switches as TOOLS globals.

#include <optional>
#include <string>
#include <vector>

#include "common/records/ToolParameter.h"
#include "platform/Settings.h"
#include "toolslib/Globals.h"

class CNavikor;

namespace kvr::tarnc {

struct SurveyOptions {
  bool createStationFiles = true;
  double latitude = 0;
  double stationTime = 80;       // s, each half
  double stabilisationTime = 5;  // s
  double initialDepth = 100;
  double depthIncrement = 100;
  bool autoDepth = false;
  bool verticalOnly = false;
  double resetInterval = 10;  // minutes
  bool calibrationStation = false;
  double toolFaceOffset = 0;  // degrees
  bool toolFaceOffsetEnabled = false;
  bool useDllOutput = false;
  bool accelCorrection = false;
  bool hstfPlusMinus180 = false;
};

struct FilterOptions {
  bool stationKalman = true;
  double initialGain = 0.9;
  bool dynamicKalman = false;
  double initialErrEs = 0.04;
  double initialErrM = 0.04;
  int quickKalmanTime = 60;
  bool onlineCorrection = true;
  int correctionInterval = 60;
  bool feedbackX = false, feedbackY = false, feedbackZ = false;
  int dtgDivisor = 3;
};

// What the options dialogs change beside the settings.
struct OptionTargets {
  platform::Settings& settings;
  tools::Globals& globals;
  std::vector<records::ToolParameterS>* parameters;  // the TARN-C tool parameter list; null: none
  CNavikor& navikor;
};

SurveyOptions loadSurveyOptions(const OptionTargets& t);
// The dialog framework's range prompt for the first value out of range, or nothing.
std::optional<std::string> checkSurveyOptions(const SurveyOptions& o);
// "Aceptar": the parameter list, Navikor's latitude, the globals and the settings. Checks first.
std::optional<std::string> applySurveyOptions(const SurveyOptions& o, const OptionTargets& t);

// The six drift-correction values from the settings (with their defaults) into the globals.
void loadDriftOptions(const platform::Settings& settings, tools::Globals& globals);
FilterOptions loadFilterOptions(const platform::Settings& settings);
std::optional<std::string> checkFilterOptions(const FilterOptions& o);
// "OK": the drift values into the settings and the globals.
std::optional<std::string> applyFilterOptions(const FilterOptions& o, platform::Settings& settings,
                                              tools::Globals& globals);
// "Quick Kalman": the time it runs for (20-180 s); seeds the filter globals.
int startQuickKalman(FilterOptions& o, tools::Globals& globals);

}  // namespace kvr::tarnc
