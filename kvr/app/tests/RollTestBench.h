#pragma once
// A horizontal TARN-C tool on the simulated panel whose sensor block differs from the loaded
// calibration by chosen errors, and an operator who turns it as the panel's prompts ask.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "common/records/ToolCodes.h"
#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/app/tests/RunProgram.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "kvr/tarnc/RollTestTexts.h"
#include "toolslib/families/TarnC.h"

namespace kvr::testing::roll {

using kvr::tarnc::CTARN_C_TaskDlg;
using kvr::tarnc::RollKind;
namespace text = kvr::tarnc::text;
using platform::Answer;
namespace tc = tools::tarnc;

inline constexpr double kLatitude = 40;

using kvr::testing::lines;
using kvr::testing::readAll;

inline std::string sampleSct() { return readAll(std::filesystem::path(VAREXA_SOURCE_ROOT) / "data" / "TCX-0417.sct"); }

// What is wrong with the sensor block compared with the calibration the panel loads.
struct Injected {
  double offsetX = 0, offsetY = 0;  // mV
  double gainX = 1, gainY = 1;      // factor on the true gain
  double dxx = 0, dyy = 0;          // deg/h on the first gravity terms
  double temperaturePerHour = 0;
  double toolface = 20;  // where the operator leaves the tool: the first HSTF
};

inline panelsim::SimConfig horizontalTool(const Injected& e) {
  panelsim::SimConfig c;
  c.winch.english = false;
  c.winch.startDepth = 0;
  c.winch.direction = panelsim::Direction::Still;
  c.well.latitudeDeg = kLatitude;
  c.well.inclinationDeg = 90;
  c.well.azimuthDeg = 90;
  c.well.toolfaceDeg = e.toolface;
  c.tarnc.gyroBias[0] = c.tarnc.gyroBias[1] = c.tarnc.gyroBias[2] = 0;
  c.tarnc.accuracy = 0;
  c.tarnc.temperatureDriftPerHour = e.temperaturePerHour;
  auto truth = *tc::parseSct(sampleSct()).calibration;
  for (auto& r : truth.gyroOffset) r.x += e.offsetX, r.y += e.offsetY;
  for (auto& r : truth.gyroGain) r.x *= e.gainX, r.y *= e.gainY;
  for (auto& g : truth.gyroGravity) g.Gx[0] += e.dxx, g.Gy[1] += e.dyy;
  c.tarnc.calibration = truth;
  return c;
}

// The operator at the tool: turns it as each prompt asks, then waits the ten seconds the
// prompt asks for before clicking OK.
struct Bench : kvr::testing::Job {
  explicit Bench(const Injected& e = {}, const std::string& version = "3.1") : Job(horizontalTool(e), 10) {
    well = horizontalTool(e).well;
    toolface = e.toolface;
    declare({"TARNC-NSG"});
    auto* family = dynamic_cast<tools::TarnC*>(station->library().family(records::kTarnC));
    std::string sct = sampleSct(), why;
    sct.replace(sct.find("TYPE 2.0"), 8, "TYPE " + version);
    EXPECT_TRUE(family->loadCorrectionTableText(sct, &why)) << why;
    telemetry();
    panel = station->tarnCPanel();
    auto o = panel->options();
    o.latitude = kLatitude;
    o.stationTime = 20;
    EXPECT_TRUE(panel->acceptOptions(o));
    prompter.clear();
    prompter.whileAsking([this](const platform::Message& m) { operate(m); });
  }
  void operate(const platform::Message& m) {
    if (m.title != text::kPromptTitle) return;
    double hstf = 0;
    int angle = 0;
    if (m.text.find("pointing EAST") != std::string::npos) {
      well.azimuthDeg = 92;  // within the +/-15 asked for
    } else if (std::sscanf(m.text.c_str(), "Please turn the whole toolstring by 180\xEF\xBF\xBD in order to point "
                                           "WEST.\nThen, adjust to reach an HSTF of %lf",
                           &hstf) == 1) {
      well.azimuthDeg = 272;
      well.toolfaceDeg = hstf + 0.2;
    } else if (std::sscanf(m.text.c_str(), "Please rotate the tool to %d", &angle) == 1) {
      well.toolfaceDeg = toolface + angle + 0.3;
    } else {
      return;
    }
    station->link().simulator->setWell(well);
    prompts.push_back(m.text);
    loop.advance(10'000);
  }
  const std::filesystem::path& folder() { return station->session().sessionFolder(); }
  // Runs a whole procedure; false when it did not end.
  bool run(RollKind kind) {
    kind == RollKind::RollTest ? panel->rollTest() : panel->axisCorrection();
    for (int t = 0; t < 600 && (panel->rollStep() || panel->axisStep() || panel->stationRunning()); ++t) {
      loop.advance(500);
    }
    loop.advance(5'000);  // the indexer's way home
    return !panel->stationRunning() && station->library().globals().TARNC_SurveyMode == 0;
  }
  std::vector<std::uint8_t> codesSent() {
    std::vector<std::uint8_t> codes;
    for (const auto& m : station->link().simulator->messagesTo(227)) codes.push_back(m.back());
    return codes;
  }
  panelsim::Well well;
  double toolface = 0;
  std::vector<std::string> prompts;
  CTARN_C_TaskDlg* panel = nullptr;
};

// The grade of the summary line that starts with the label (the n-th of that label).
inline std::string gradeOf(const std::string& report, const std::string& label, int n = 0) {
  for (const auto& l : lines(report)) {
    if (l.rfind(label, 0) != 0 || n-- > 0) continue;
    auto end = l.find(" - Limit:");
    if (end == std::string::npos) end = l.size();
    const auto start = l.rfind("- ", end - 1);
    return l.substr(start + 2, end - start - 2);
  }
  return "no line " + label;
}

}  // namespace kvr::testing::roll
