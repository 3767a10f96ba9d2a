#pragma once
// The command line of kvr-survey: the job, the tool string, the simulated well and tool,
// and what to survey.

#include <optional>
#include <string>
#include <vector>

namespace kvr::survey {

struct SurveyArgs {
  std::string root, user, client, well;
  std::vector<std::string> tools, faults;
  double latitude = 0, inclination = 0, azimuth = 0, toolface = 0;
  int stations = 1;
  std::string survey;  // "", "up" or "down": a continuous survey between the first two stations
  double length = 50;  // metres of the continuous survey
  double speed = 10;   // m/min
  double startDepth = 1500;
  std::optional<double> stationTime;
  std::optional<double> gyroNoise;
  std::optional<double> acelNoise;
  double toolfaceRate = 0;  // deg/s while the continuous survey runs
  std::optional<std::vector<double>> gyroBias;
  std::string sct;
  bool yes = false;
  std::string procedure;  // "", "roll-test" or "axis-correction" instead of stations
};

extern const char* const kUsage;

// Nothing on a bad or missing argument.
std::optional<SurveyArgs> parseSurveyArgs(int argc, char** argv);

}  // namespace kvr::survey
