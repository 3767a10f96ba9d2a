#include "cli/kvr-survey/RollTestSurvey.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "kvr/tarnc/RollTestTexts.h"
#include "panelsim/PanelSimulator.h"

namespace kvr::survey {

int runRollProcedure(const SurveyArgs& a, LoggingStation& station, tarnc::CTARN_C_TaskDlg& panel,
                     platform::testing::ManualLoop& loop, OperatorPrompter& prompter, std::ostream& out,
                     std::ostream& err) {
  auto* sim = station.link().simulator.get();
  if (!sim) {
    err << "kvr-survey: the panel is not simulated\n";
    return 1;
  }
  // The operator at the tool: points it EAST, then WEST at the first HSTF, or turns it about
  // its axis from the toolface it was left at, and waits the ten seconds asked for.
  panelsim::Well well = sim->config().well;
  const double toolface = a.toolface;
  prompter.setOperator([&](const platform::Message& m) {
    if (m.title != tarnc::text::kPromptTitle) return;
    double hstf = 0;
    int angle = 0;
    if (m.text.find("pointing EAST") != std::string::npos) {
      well.inclinationDeg = 90;
      well.azimuthDeg = 90;
    } else if (m.text.find("point WEST") != std::string::npos) {
      const auto at = m.text.find("HSTF of ");
      if (at != std::string::npos) hstf = std::strtod(m.text.c_str() + at + 8, nullptr);
      well.azimuthDeg = 270;
      well.toolfaceDeg = hstf;
    } else if (std::sscanf(m.text.c_str(), "Please rotate the tool to %d", &angle) == 1) {
      well.toolfaceDeg = toolface + angle;
    } else {
      return;
    }
    sim->setWell(well);
    loop.advance(10'000);
  });

  const bool roll = a.procedure == "roll-test";
  roll ? panel.rollTest() : panel.axisCorrection();
  // Eight measurements, each with its move, settling and stabilisation, and two waits of the operator.
  const auto budget = static_cast<std::int64_t>(8 * (panel.options().stationTime * 0.5 +
                                                     panel.options().stabilisationTime + 20) * 1000 + 60'000);
  for (std::int64_t t = 0; t < budget && (panel.rollStep() || panel.axisStep() || panel.stationRunning()); t += 250) {
    loop.advance(250);
  }
  loop.advance(10'000);  // the indexer's way home
  prompter.setOperator(nullptr);
  if (panel.procedureReport().empty()) {
    err << "kvr-survey: the " << (roll ? "roll test" : "axis correction") << " wrote no report\n";
    return 1;
  }
  out << "file: " << panel.procedureReport().string() << '\n';
  std::ifstream in(panel.procedureReport(), std::ios::binary);
  bool summary = false;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    summary = summary || line == "Test Results Summary:";
    if (summary && !line.empty()) out << line << '\n';
  }
  return 0;
}

}  // namespace kvr::survey
