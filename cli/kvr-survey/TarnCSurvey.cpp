#include "cli/kvr-survey/TarnCSurvey.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "cli/kvr-survey/RollTestSurvey.h"
#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "kvr/utilities/BatchPrompter.h"
#include "panelsim/Faults.h"
#include "platform/RootPaths.h"
#include "platform/SystemClock.h"
#include "platform/testing/ManualLoop.h"
#include "toolslib/tarnc/SensorCalibration.h"

namespace kvr::survey {

namespace {

std::size_t doneStations(const tarnc::CTARN_C_TaskDlg& panel) {
  std::size_t n = 0;
  for (const auto& r : panel.list().rows()) n += static_cast<int>(r.row.get(8)) == tarnc::kDone;
  return n;
}

}  // namespace

int runTarnCSurvey(const SurveyArgs& a, std::ostream& out, std::ostream& err) {
  auto fail = [&](const std::string& text) {
    err << "kvr-survey: " << text << '\n';
    return 1;
  };
  panelsim::SimConfig config;
  for (const auto& f : a.faults) {
    if (auto e = panelsim::applyFault(config.faults, f)) return fail(*e);
  }
  if (!a.sct.empty()) {
    std::ifstream in(a.sct, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    if (!in && text.empty()) return fail("cannot read " + a.sct);
    auto r = tools::tarnc::parseSct(text);
    if (!r.calibration) return fail(a.sct + ": " + r.error);
    config.tarnc.calibration = r.calibration;
  }
  config.winch.english = false;
  config.winch.startDepth = a.startDepth;
  config.winch.speed = a.speed;
  config.winch.direction = panelsim::Direction::Still;
  config.well.latitudeDeg = a.latitude;
  config.well.inclinationDeg = a.inclination;
  config.well.azimuthDeg = a.azimuth;
  config.well.toolfaceDeg = a.toolface;
  if (a.gyroNoise) config.tarnc.gyroNoise = *a.gyroNoise;
  if (a.acelNoise) config.tarnc.acelNoise = *a.acelNoise;
  if (a.gyroBias) {
    for (int i = 0; i < 3; ++i) config.tarnc.gyroBias[i] = (*a.gyroBias)[static_cast<std::size_t>(i)];
  }

  platform::RootPaths paths(a.root);
  ProgramSettings program = CKVRApp::batchSettings(paths, records::kModeMetric | records::kModeHigh);
  // The simulated winch stands at the start depth and follows the continuous survey's log.
  program.systemParameters[records::kSimStartDepth].value = static_cast<float>(a.startDepth);
  program.systemParameters[records::kSimSpeed].value = static_cast<float>(a.speed);
  utilities::BatchPrompter batch(err, a.yes ? platform::Answer::Ok : platform::Answer::Cancel);
  OperatorPrompter prompter(batch);
  platform::testing::ManualLoop loop;
  loop.clock().setCalendarBase(platform::SystemClock().localTime());  // reports carry the real date
  PanelLink link = simulatedPanelLink(config, loop.clock());
  link.winchFollowsLog = true;
  LoggingStation station({loop, loop.clock(), prompter, paths, program}, std::move(link), true);

  if (auto e = station.startBatchJob(a.user, a.client, a.well, a.tools)) return fail(*e);
  auto* panel = station.tarnCPanel();
  if (!panel) return fail("the string has no TARN-C tool");
  if (!a.sct.empty()) {
    auto* family = dynamic_cast<tools::TarnC*>(station.library().family(records::kTarnC));
    std::string why;
    if (!family || !family->loadCorrectionTable(a.sct, &why)) return fail(a.sct + ": " + why);
  }
  auto& dialog = station.dialog();
  if (!dialog.startTelemetry()) return fail("telemetry did not start");
  loop.advance(1000);

  auto options = panel->options();
  options.latitude = a.latitude;
  if (a.stationTime) options.stationTime = *a.stationTime;
  if (!panel->acceptOptions(options)) return fail("the survey options were refused");
  if (!a.procedure.empty()) {
    const int result = runRollProcedure(a, station, *panel, loop, prompter, out, err);
    dialog.stopTelemetry();
    loop.advance(0);
    return result;
  }
  // A station takes two halves, four moves and two stabilisations; the first also initializes.
  const std::int64_t stationBudgetMs =
      static_cast<std::int64_t>((2 * options.stationTime * 0.5 + 2 * options.stabilisationTime + 60) * 1000);
  auto runUntil = [&](auto done, std::int64_t budgetMs) {
    for (std::int64_t t = 0; t < budgetMs && !done(); t += 250) loop.advance(250);
    return done();
  };
  auto settled = [&] { return !panel->stationRunning() && station.library().globals().TARNC_SurveyMode == 0; };

  for (int i = 0; i < a.stations; ++i) {
    const std::size_t before = doneStations(*panel);
    if (!panel->stationRunning()) panel->northSeeking();
    if (!runUntil([&] { return doneStations(*panel) > before && settled(); }, stationBudgetMs)) {
      dialog.stopTelemetry();
      return fail("station " + std::to_string(i + 1) + " was not taken");
    }
    if (i == 0 && !a.survey.empty() && a.stations >= 2) {
      // The station's end is logged 5 s after its processing: the tool stays still past it.
      loop.advance(7000);
      // The tool turns from the survey's start to its stop, as those events are logged.
      if (a.toolfaceRate != 0) station.link().simulator->setToolfaceRate(a.toolfaceRate);
      if (a.survey == "up") panel->surveyUp();
      else panel->surveyDown();
      if (!runUntil([&] { return dialog.depthLogRunning(); }, 10'000)) return fail("the continuous survey did not start");
      const double from = station.tools().panelDepth();
      const auto budget = static_cast<std::int64_t>(a.length / a.speed * 60'000 * 2 + 30'000);
      runUntil([&] { return std::fabs(station.tools().panelDepth() - from) >= a.length; }, budget);
      out << "file: " << dialog.outputFile().string() << '\n';
      if (a.toolfaceRate != 0) station.link().simulator->setToolfaceRate(0);
      panel->stopSurvey();  // with --yes the reset station starts by itself
      loop.advance(500);
    }
  }
  dialog.stopTelemetry();
  loop.advance(0);

  out << "file: " << panel->reportPath().string() << '\n';
  out << "file: " << tarnc::rawPathOf(panel->reportPath()).string() << '\n';
  out << "file: " << panel->eventLogPath().string() << '\n';
  out << "file: "
      << (station.session().sessionFolder() / "Output" /
          ("DataSession" + std::to_string(station.telemetrySession().sessionNumber) + ".raw"))
             .string()
      << '\n';
  for (const auto& r : panel->list().rows()) {
    if (static_cast<int>(r.row.get(8)) != tarnc::kDone) continue;
    char line[160];
    std::snprintf(line, sizeof line, "station %.0f: deviation %.2f azimuth %.2f toolface %.2f hstf %.2f quality %.1f\n",
                  r.row.get(0), r.row.get(3), r.row.get(4), r.row.get(6), r.row.get(5), r.row.get(7));
    out << line;
  }
  return 0;
}

}  // namespace kvr::survey
