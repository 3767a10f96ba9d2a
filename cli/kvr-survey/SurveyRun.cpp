#include "cli/common/CommandLine.h"
#include "cli/kvr-survey/SurveyRun.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "panelsim/Faults.h"
#include "platform/SystemClock.h"

namespace kvr::survey {

const char* const kCommonUsage =
    "  --root DIR        data root: the main folder (ToolList.txt) and KVRFolder below it\n"
    "  --user, --client, --well   the job data that name the session folder\n"
    "  --tools           tool names as listed in ToolList.txt, top of the string first\n"
    "  --latitude D      the well's latitude in degrees (default 30, negative south)\n"
    "  --inclination D, --azimuth D, --toolface D   the tool's attitude in the simulated well\n"
    "  --stations N      stations to survey (default 1)\n"
    "  --station-time S  seconds of each station (default 60)\n"
    "  --gyro-bias X,Y,Z   the simulated gyros' biases in deg/h\n"
    "  --gyro-drift X,Y,Z  how fast those biases change, in deg/h per hour\n"
    "  --fault NAME[=V]  a fault of the simulated panel; may be repeated\n"
    "  --yes             answer Yes and OK to the program's questions (default No)\n";

namespace {

bool triple(const char* text, double out[3]) {
  std::stringstream in(text);
  std::string item;
  for (int i = 0; i < 3; ++i)
    if (!std::getline(in, item, ',') || !cli::number(item.c_str(), out[i])) return false;
  return !std::getline(in, item, ',');
}

bool listed(const std::vector<std::string>& names, const std::string& a) {
  return std::find(names.begin(), names.end(), a) != names.end();
}

}  // namespace

bool SurveyOptions::flag(const std::string& name) const { return listed(flags, name); }

std::optional<std::string> SurveyOptions::value(const std::string& name) const {
  for (const auto& [n, v] : values)
    if (n == name) return v;
  return std::nullopt;
}

panelsim::GyroErrors SurveyOptions::gyroErrors(panelsim::GyroErrors defaults) const {
  for (int i = 0; i < 3; ++i) {
    if (biasGiven) defaults.biasDegPerHour[i] = gyroBias[i];
    defaults.driftDegPerHourPerHour[i] = gyroDrift[i];
  }
  return defaults;
}

int fail(const std::string& text) { return cli::fail("kvr-survey", text); }

std::optional<int> readSurveyOptions(int argc, char** argv, const SurveyKind& kind, SurveyOptions& o) {
  if (cli::wantsHelp(argc, argv)) {
    std::cout << kind.usage << kCommonUsage;
    return 0;
  }
  auto err = parseSurveyOptions(argc, argv, kind.flags, kind.valued, o);
  if (!err && kind.check) err = kind.check(o);
  if (!err) return std::nullopt;
  std::cerr << "kvr-survey: " << *err << "\n" << kind.usage << kCommonUsage;
  return 2;
}

std::optional<std::string> parseSurveyOptions(int argc, char** argv, const std::vector<std::string>& flags,
                                              const std::vector<std::string>& valued, SurveyOptions& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
    auto take = [&]() -> const char* {
      if (v) ++i;
      return v;
    };
    double d = 0;
    if (a == "--yes") {
      o.yes = true;
    } else if (listed(flags, a)) {
      o.flags.push_back(a);
    } else if (listed(valued, a)) {
      if (!take()) return a + " needs a value";
      o.values.emplace_back(a, v);
    } else if (a == "--root" || a == "--user" || a == "--client" || a == "--well" || a == "--tools" || a == "--fault") {
      if (!take()) return a + " needs a value";
      if (a == "--root") o.root = v;
      if (a == "--user") o.user = v;
      if (a == "--client") o.client = v;
      if (a == "--well") o.well = v;
      if (a == "--tools") o.tools = cli::splitList(v);
      if (a == "--fault") o.faults.push_back(v);
    } else if (a == "--latitude" || a == "--inclination" || a == "--azimuth" || a == "--toolface" ||
               a == "--station-time" || a == "--stations") {
      if (!take() || !cli::number(v, d)) return a + " needs a number";
      if (a == "--latitude") o.latitude = d;
      if (a == "--inclination") o.inclination = d;
      if (a == "--azimuth") o.azimuth = d;
      if (a == "--toolface") o.toolface = d;
      if (a == "--station-time") {
        if (d <= 0) return std::string("--station-time must be more than 0 seconds");
        o.stationTimeS = d;
      }
      if (a == "--stations") {
        if (d < 1 || d > 1000 || std::floor(d) != d) return std::string("--stations must be a whole number from 1 to 1000");
        o.stations = static_cast<int>(d);
      }
    } else if (a == "--gyro-bias" || a == "--gyro-drift") {
      if (!take() || !triple(v, a == "--gyro-bias" ? o.gyroBias : o.gyroDrift)) return a + " needs three numbers X,Y,Z";
      if (a == "--gyro-bias") o.biasGiven = true;
    } else {
      return "unknown option " + a;
    }
  }
  if (o.root.empty() || o.tools.empty()) return std::string("--root and --tools are needed");
  return std::nullopt;
}

SurveyRun::SurveyRun(const SurveyOptions& o, panelsim::SimConfig config, std::ostream& messages)
    : paths_(o.root), prompter_(messages, o.yes ? platform::Answer::Ok : platform::Answer::Cancel) {
  program_ = CKVRApp::batchSettings(paths_, records::kModeEnglish | records::kModeHigh);
  loop_.clock().setCalendarBase(platform::SystemClock().localTime());  // files carry the real date
  for (const auto& f : o.faults)
    if (auto err = panelsim::applyFault(config.faults, f)) {
      error_ = *err;
      return;
    }
  config.winch.english = true;
  config.winch.direction = panelsim::Direction::Still;
  config.well.latitudeDeg = o.latitude;
  config.well.inclinationDeg = o.inclination;
  config.well.azimuthDeg = o.azimuth;
  config.well.toolfaceDeg = o.toolface;
  station_ = std::make_unique<LoggingStation>(StationPorts{loop_, loop_.clock(), prompter_, paths_, program_},
                                              simulatedPanelLink(std::move(config), loop_.clock()), true);
  records::JobRecord job;
  job.userName = o.user;
  job.client = o.client;
  job.wellName = o.well;
  if (!station_->session().confirmJobData(job)) {
    error_ = "the job data did not start a session";
    return;
  }
  station_->menu().onJobDataConfirmed();
  if (auto err = station_->declareString(o.tools)) {
    error_ = *err;
    return;
  }
  if (!station_->dialog().startTelemetry()) {
    error_ = "telemetry did not start";
    return;
  }
  loop_.advance(1000);  // a few frames, so the panel's unit bit is known
}

SurveyRun::~SurveyRun() {
  if (station_ && station_->dialog().logRunning()) station_->dialog().stopLogging();
  if (station_) station_->dialog().stopTelemetry();
}

}  // namespace kvr::survey
