#pragma once
// What a headless survey of the older gyro tools shares: the command-line options, and the
// logging station on the simulated panel on virtual time with a session, the declared string
// and the telemetry running.

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kvr/app/LoggingStation.h"
#include "kvr/utilities/BatchPrompter.h"
#include "panelsim/PanelSimulator.h"
#include "platform/RootPaths.h"
#include "platform/testing/ManualLoop.h"

namespace kvr::survey {

struct SurveyOptions {
  std::string root, user = "SURVEY", client = "CLIENT", well = "WELL";
  std::vector<std::string> tools, faults;
  double latitude = 30, inclination = 0, azimuth = 0, toolface = 0;
  int stations = 1;
  double stationTimeS = 60;
  double gyroBias[3] = {0, 0, 0}, gyroDrift[3] = {0, 0, 0};
  bool biasGiven = false;
  bool yes = false;
  // Options of one survey kind: its flags and the options that take a value.
  std::vector<std::string> flags;
  std::vector<std::pair<std::string, std::string>> values;
  bool flag(const std::string& name) const;
  std::optional<std::string> value(const std::string& name) const;
  // The simulated gyros' errors: the biases given (else those of `defaults`) and the drifts.
  panelsim::GyroErrors gyroErrors(panelsim::GyroErrors defaults) const;
};

// The options every survey takes, in their usage text.
extern const char* const kCommonUsage;

// Parses argv; `flags` and `valued` name the survey's own options. An error text for an
// unknown option, a missing or bad value, or a missing --root or --tools.
std::optional<std::string> parseSurveyOptions(int argc, char** argv, const std::vector<std::string>& flags,
                                              const std::vector<std::string>& valued, SurveyOptions& out);
// One kind of survey's command line: its usage, its own options, and a check of the values.
struct SurveyKind {
  const char* usage;
  std::vector<std::string> flags, valued;
  std::function<std::optional<std::string>(const SurveyOptions&)> check;
};
// --help (the usage, 0) or bad options (the reason and the usage on standard error, 2) give the
// exit status to leave with; nullopt: the survey runs with `out`.
std::optional<int> readSurveyOptions(int argc, char** argv, const SurveyKind& kind, SurveyOptions& out);

// Says why on standard error; the exit status of a refused survey.
int fail(const std::string& text);

class SurveyRun {
 public:
  // The station and its session; `error` says why it could not start.
  SurveyRun(const SurveyOptions& o, panelsim::SimConfig config, std::ostream& messages);
  ~SurveyRun();
  const std::optional<std::string>& error() const { return error_; }

  LoggingStation& station() { return *station_; }
  platform::testing::ManualLoop& loop() { return loop_; }
  panelsim::PanelSimulator& simulator() { return *station_->link().simulator; }
  utilities::BatchPrompter& prompter() { return prompter_; }

 private:
  platform::RootPaths paths_;
  ProgramSettings program_;
  utilities::BatchPrompter prompter_;
  platform::testing::ManualLoop loop_;
  std::unique_ptr<LoggingStation> station_;
  std::optional<std::string> error_;
};

}  // namespace kvr::survey
