// A TARN drift survey without a window: drift stations from the TARN task panel on the
// simulated tool, each appended to the drift file of the session folder.

#include <cmath>
#include <cstdio>
#include <iostream>

#include "cli/kvr-survey/SurveyRun.h"
#include "kvr/tarn/CTARNTaskPanel.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-survey --root DIR --tools TARN-NAME[,...] [options]\n"
    "\n"
    "TARN: runs --stations drift stations of --station-time seconds (whole minutes) through the TARN\n"
    "task panel on the simulated tool, each started when the countdown to the next one has run out;\n"
    "prints each station's drifts and \"file: PATH\" of the drift file. Exit status 0 when every\n"
    "measurement was saved, 1 on a refusal, 2 on bad arguments.\n"
    "\n"
    "  --between M       minutes from the end of one drift station to the next (default 1)\n"
    "  --output NAME     the drift file's name in the session folder, without \".txt\" (default GyroDriftMeas)\n";

}  // namespace

int runTarnSurvey(int argc, char** argv) {
  using namespace kvr;
  using survey::fail;
  tarn::CTTPSetup setup;
  setup.timeBetweenStations = 1;
  auto check = [&setup](const survey::SurveyOptions& o) -> std::optional<std::string> {
    if (std::floor(o.stationTimeS / 60) * 60 != o.stationTimeS) return "--station-time must be whole minutes";
    setup.driftStationTime = static_cast<int>(o.stationTimeS / 60);
    if (auto b = o.value("--between")) {
      char* end = nullptr;
      setup.timeBetweenStations = static_cast<int>(std::strtol(b->c_str(), &end, 10));
      if (b->empty() || *end != '\0') return "--between needs whole minutes";
    }
    if (auto n = o.value("--output")) setup.outputFileName = *n;
    return std::nullopt;
  };
  survey::SurveyOptions o;
  if (auto leave = survey::readSurveyOptions(argc, argv, {kUsage, {}, {"--between", "--output"}, check}, o)) return *leave;
  panelsim::SimConfig config;
  config.tarnGyro = o.gyroErrors(config.tarnGyro);
  survey::SurveyRun run(o, config, std::cerr);
  if (run.error()) return fail(*run.error());
  auto* panel = run.station().tarnPanel();
  if (!panel) return fail("the string has no TARN tool");
  if (!panel->applySetup(setup)) return 1;

  for (int k = 0; k < o.stations; ++k) {
    const int saved = panel->measurementsSaved();
    panel->driftStation();
    run.loop().advance((setup.driftStationTime * 60 + 1) * 1000);
    if (panel->running() || panel->measurementsSaved() != saved + 1) return fail("the drift measurement was not saved");
    const auto& d = panel->drifts();
    std::printf("station %d: drift X %+.4f, Y %+.4f, Z %+.4f deg/h\n", k + 1, d[0], d[1], d[2]);
    if (k + 1 < o.stations) run.loop().advance((setup.timeBetweenStations * 60 + 1) * 1000);
  }
  std::cout << std::flush;
  std::printf("file: %s\n", panel->driftFile().c_str());
  return 0;
}
