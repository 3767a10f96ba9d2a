// A TARN-B survey without a window: station logs from the TARN-B task panel on the simulated
// tool, then the panel's multishot report (or, with --roll-test, its roll-test report over the
// eight roll positions).

#include <iostream>

#include "cli/kvr-survey/SurveyRun.h"
#include "common/records/ToolCodes.h"
#include "kvr/tarnb/CTARNBInRunParameters.h"
#include "kvr/tarnb/CTARN_B_TaskDlg.h"
#include "toolslib/calibration/CalibrationKit.h"

namespace {

constexpr const char* kUsage =
    "usage: kvr-survey --root DIR --tools TARNB-NAME[,...] [options]\n"
    "\n"
    "TARN-B: records --stations station logs of --station-time seconds through the TARN-B task panel on\n"
    "the simulated tool and writes the multishot report of the session folder; prints \"file: PATH\" of\n"
    "every station file and report. Exit status 0 when the report was written, 1 on a refusal, 2 on bad\n"
    "arguments.\n"
    "\n"
    "  --roll-test       eight stations at the roll positions (horizontal, east then west, at 0, 90, 180\n"
    "                    and 270 degrees of toolface) and the roll-test report instead\n"
    "  --las             the depth/deviation/azimuth column file beside the report (\"Gen. .LAS\")\n"
    "  --raw             the report of the raw channels (\"Raw Ch.\")\n"
    "  --sct PATH        a TARN-B sensor correction table to load first (the calibration reports grade against)\n";

// "Load Sensor Correction Table" of the TARN-B family, as the calibration dialog runs it.
bool loadTable(tools::Library& library, const std::string& path) {
  auto* family = library.family(records::kTarnB);
  unsigned status = 0;
  char text[tools::cal::kTextBytes] = {};
  if (family->executeCal(2, 0, &status, text) != tools::cal::kOpenFile) return false;
  path.copy(text, sizeof text - 1);
  family->executeCal(2, 1, &status, text);
  std::cerr << text;
  return status != tools::cal::kStatusEnd;
}

}  // namespace

int runTarnBSurvey(int argc, char** argv) {
  using namespace kvr;
  using survey::fail;
  survey::SurveyOptions o;
  if (auto leave = survey::readSurveyOptions(argc, argv, {kUsage, {"--roll-test", "--las", "--raw"}, {"--sct"}, {}}, o))
    return *leave;
  panelsim::SimConfig config;
  config.tarnbGyro = o.gyroErrors(config.tarnbGyro);
  survey::SurveyRun run(o, config, std::cerr);
  if (run.error()) return fail(*run.error());
  auto* panel = run.station().tarnBPanel();
  if (!panel) return fail("the string has no TARN-B tool");
  if (auto sct = o.value("--sct"); sct && !loadTable(run.station().library(), *sct)) return fail("the table was not loaded");

  tarnb::CTARNBInRunParameters params(run.station().library());
  params.latitude = o.latitude;
  if (!params.accept(run.prompter())) return 1;

  const bool rollTest = o.flag("--roll-test");
  const int stations = rollTest ? 8 : o.stations;
  std::vector<std::filesystem::path> files;
  for (int k = 0; k < stations; ++k) {
    panelsim::Well well = run.simulator().config().well;
    if (rollTest) {
      well.inclinationDeg = 90;
      well.azimuthDeg = k < 4 ? 90 : 270;
      well.toolfaceDeg = 90.0 * (k % 4);
    }
    run.simulator().setWell(well);
    panel->stationButton();
    if (!run.station().dialog().stationLogRunning()) return fail("the station log did not start");
    run.loop().advance(static_cast<std::int64_t>(o.stationTimeS * 1000));
    panel->stationButton();
    run.loop().advance(500);
    files.push_back(run.station().dialog().outputFile());
    std::cout << "file: " << files.back().string() << '\n';
  }
  panel->addStations(files);
  if (panel->stations().size() != files.size()) return fail("a station file could not be added");
  panel->generateLas = o.flag("--las");
  panel->rawChannels = o.flag("--raw");
  const auto report = rollTest ? panel->rollTest() : panel->seeReport();
  if (!report) return fail("the report was not written");
  std::cout << "file: " << report->string() << '\n';
  if (panel->generateLas && !rollTest) {
    auto las = *report;
    std::cout << "file: " << las.replace_extension(".LAS").string() << '\n';
  }
  return 0;
}
