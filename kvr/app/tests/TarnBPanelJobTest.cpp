// The TARN-B task panel on the simulated TARN-B tool, wired as the program wires it: station
// logs from its button, the station files analysed, and the reports checked against the well
// and the calibration errors the simulation was given.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <functional>
#include <sstream>

#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/tarnb/CTARNBInRunParameters.h"
#include "kvr/tarnb/CTARN_B_TaskDlg.h"
#include "platform/TextFormat.h"

namespace kvr::testing {
namespace {

using tarnb::CTARN_B_TaskDlg;

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<double> valuesAfter(const std::string& text, const std::string& label) {
  std::vector<double> out;
  for (std::size_t at = text.find(label); at != std::string::npos; at = text.find(label, at + 1))
    out.push_back(std::strtod(text.c_str() + at + label.size(), nullptr));
  return out;
}

double angleError(double a, double b) { return std::fabs(std::remainder(a - b, 360.0)); }

struct TarnBJob {
  explicit TarnBJob(panelsim::SimConfig config) : job(withTarnB(std::move(config)), 9) {
    job.declare({"TARNB-FSK"});
    panel = job.station->tarnBPanel();
    tarnb::CTARNBInRunParameters params(job.station->library());
    params.latitude = latitude;
    EXPECT_TRUE(params.accept(job.prompter));
    job.telemetry();
  }
  static panelsim::SimConfig withTarnB(panelsim::SimConfig c) {
    c.winch.english = true;
    c.winch.startDepth = 5000;
    c.winch.direction = panelsim::Direction::Still;
    c.well.latitudeDeg = 30;
    return c;
  }
  // One station log from the panel's button with the tool standing in the well given.
  std::filesystem::path station(const panelsim::Well& well, int seconds) {
    job.station->link().simulator->setWell(well);
    panel->stationButton();
    EXPECT_STREQ(panel->stationButtonText(), "&Stop Station");
    job.loop.advance(seconds * 1000);
    panel->stationButton();
    EXPECT_STREQ(panel->stationButtonText(), "&Start Station");
    job.loop.advance(500);
    return job.dlg().outputFile();
  }
  panelsim::Well well(double inclination, double azimuth, double toolface) const {
    panelsim::Well w;
    w.latitudeDeg = latitude, w.inclinationDeg = inclination, w.azimuthDeg = azimuth, w.toolfaceDeg = toolface;
    return w;
  }

  double latitude = 30;
  Job job;
  CTARN_B_TaskDlg* panel = nullptr;
};

TEST(TarnBPanel, AMultishotReportGivesTheAzimuthsOfTheSimulatedWell) {
  TarnBJob t({});
  ASSERT_NE(t.panel, nullptr) << "the factory opens the panel for a TARN-B string";
  struct Station {
    double inclination, azimuth, toolface;
  };
  const Station wellPath[] = {{5, 20, 300}, {15, 95, 10}, {25, 180, 120}, {35, 265, 200}, {35, 340, 45}};
  std::vector<std::filesystem::path> files;
  for (const auto& s : wellPath) files.push_back(t.station(t.well(s.inclination, s.azimuth, s.toolface), 60));
  t.panel->addStations(files);
  ASSERT_EQ(t.panel->stations().size(), files.size());
  t.panel->generateLas = true;
  const auto report = t.panel->seeReport();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->filename(), "MultishotReport.txt");
  const std::string text = readAll(*report);
  EXPECT_EQ(text.rfind("TARN-B Directional Survey Station Report\r\n\r\nWell Name    : W-1\r\nWell Latitude: 30 0' 0\"\r\n", 0), 0u)
      << text.substr(0, 200);
  const auto azimuths = valuesAfter(text, "Hole Azimuth  : ");
  const auto deviations = valuesAfter(text, "Deviation     : ");
  ASSERT_EQ(azimuths.size(), files.size());
  // 60 s stations of 480 rows with 0.6 deg/h of gyro noise a row: the azimuth to within
  // half a degree up to 35 degrees of inclination, the deviation to 0.05 degrees.
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_LT(angleError(azimuths[i], wellPath[i].azimuth), 0.5) << "station " << i + 1 << ": " << azimuths[i];
    EXPECT_NEAR(deviations[i], wellPath[i].inclination, 0.05) << "station " << i + 1;
  }
  const std::string las = readAll(report->parent_path() / "MultishotReport.LAS");
  EXPECT_EQ(las.rfind("DEPTH       DEVI     HAZI\r\n", 0), 0u);
  EXPECT_EQ(std::count(las.begin(), las.end(), '\n'), static_cast<long>(files.size() + 1));
  EXPECT_TRUE(t.job.prompter.saw("", "Directional Survey .LAS file has been created along with the standard report file."));

  auto& options = t.panel->reportOptions();
  options.autoDepth = 1, options.depthStart = 1000, options.depthIncrement = -30;
  ASSERT_TRUE(options.ok(t.job.prompter));
  t.panel->generateLas = false;
  const auto second = t.panel->seeReport();
  ASSERT_TRUE(second);
  EXPECT_EQ(second->filename(), "MultishotReport_1.txt") << "a report never replaces another";
  const auto depths = valuesAfter(readAll(*second), "Measured Depth: ");
  ASSERT_EQ(depths.size(), files.size());
  EXPECT_EQ(depths[2], 940) << "the automatic station depth of the third station";
}

// The grades of the roll-test summary by their line: "Gyro X Offset", "Symmetry Check", ...
std::vector<std::pair<std::string, std::string>> grades(const std::string& report) {
  std::vector<std::pair<std::string, std::string>> out;
  const std::regex line("(Temperature|Gyro [XY] \\w+|Symmetry Check)[^\r\n]*- (PASS|FAIR|NOT PASS)\r\n");
  for (std::sregex_iterator i(report.begin(), report.end(), line), end; i != end; ++i) out.emplace_back((*i)[1], (*i)[2]);
  return out;
}

std::string gradeOf(const std::vector<std::pair<std::string, std::string>>& g, const std::string& label, int nth = 0) {
  for (const auto& [l, grade] : g)
    if (l == label && nth-- == 0) return grade;
  return "missing";
}

TEST(TarnBPanel, TheRollTestGradesTheCalibrationErrorsOfTheTool) {
  struct Case {
    const char* what;
    std::function<void(panelsim::TarnBTruth&)> inject;
    const char* line;
    const char* grade;
  };
  const Case cases[] = {
      {"a tool as calibrated", [](panelsim::TarnBTruth&) {}, "Gyro X Offset", "PASS"},
      {"X offset 18 uV off", [](panelsim::TarnBTruth& m) { m.offsetMv[0] = 0.018; }, "Gyro X Offset", "FAIR"},
      {"Y offset 30 uV off", [](panelsim::TarnBTruth& m) { m.offsetMv[1] = -0.03; }, "Gyro Y Offset", "NOT PASS"},
      {"X gain 1.25 % off", [](panelsim::TarnBTruth& m) { m.gainDegPerHourPerMv[0] = 30 * 1.0125; }, "Gyro X Gain", "FAIR"},
      {"Y gain 2 % off", [](panelsim::TarnBTruth& m) { m.gainDegPerHourPerMv[1] = 30 / 1.02; }, "Gyro Y Gain", "NOT PASS"},
      {"DXx 25 uV/g off", [](panelsim::TarnBTruth& m) { m.gravity[0] = 0.025 * 30 / 15.041; }, "Gyro X DXx", "FAIR"},
      {"DYy 35 uV/g off", [](panelsim::TarnBTruth& m) { m.gravity[3] = -0.035 * 30 / 15.041; }, "Gyro Y DYy", "NOT PASS"},
  };
  for (const auto& c : cases) {
    panelsim::SimConfig config;
    // 10 uV of pick-off noise a frame over 160 rows a station: the gains to about 0.1 %.
    config.tarnb.gyroNoiseMv = 0.01;
    c.inject(config.tarnb);
    TarnBJob t(config);
    std::vector<std::filesystem::path> files;
    for (int k = 0; k < 8; ++k) files.push_back(t.station(t.well(90, k < 4 ? 90 : 270, 90.0 * (k % 4)), 20));
    t.panel->addStations(files);
    const auto report = t.panel->rollTest();
    ASSERT_TRUE(report) << c.what;
    const auto g = grades(readAll(*report));
    ASSERT_EQ(g.size(), 13u) << c.what << "\n" << readAll(*report);
    EXPECT_EQ(gradeOf(g, c.line), c.grade) << c.what;
    // Every other line of the tool passes.
    for (const auto& [label, grade] : g)
      if (label != c.line) {
        EXPECT_EQ(grade, "PASS") << c.what << ": " << label;
      }
  }
}

TEST(TarnBPanel, StationFilesAndTheirIntervalsFollowTheOperatorsEdits) {
  TarnBJob t({});
  const auto a = t.station(t.well(10, 30, 0), 10);
  // While a log records, its file is refused by name.
  t.panel->stationButton();
  const auto recording = t.job.dlg().outputFile();
  t.panel->addStations({recording});
  EXPECT_TRUE(t.job.prompter.saw("ERROR", "You cannot add the current logging file !!"));
  EXPECT_TRUE(t.panel->stations().empty());
  t.job.loop.advance(10000);
  t.panel->stationButton();
  t.job.loop.advance(500);
  const auto b = recording;

  t.panel->addStations({a, b, t.job.paths.dataRoot() / "missing.kvr"});
  EXPECT_TRUE(t.job.prompter.saw("FATAL ERROR", "The requested file could not be opened"));
  ASSERT_EQ(t.panel->stations().size(), 2u);
  EXPECT_EQ(t.panel->selectedStation(), 1u);
  const auto& rows = t.panel->intervalRows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].label, "Int. 1");
  EXPECT_EQ(rows[0].comment, "Analisys Interval");
  const double last = t.panel->currentFile().lastTime;

  struct Edit {
    int column;
    std::string text;
    bool accepted;
  };
  const Edit edits[] = {{1, "2.5", true}, {2, "abc", false}, {2, "3x", false}, {2, "999", false}, {2, "8", true}};
  for (const auto& e : edits) EXPECT_EQ(t.panel->editCell(0, e.column, e.text), e.accepted) << e.text;
  EXPECT_TRUE(t.job.prompter.saw("ATTENTION", "The input value is out of the data file range"));
  EXPECT_EQ(t.panel->intervalRows()[0].start, "2.5") << "an accepted value shows as typed";
  ASSERT_TRUE(t.panel->addInterval());
  EXPECT_EQ(t.panel->intervalRows()[1].end, platform::format("%.2f", last));

  // The intervals go with their station when another is selected, and come back with it.
  t.panel->selectStation(0);
  EXPECT_EQ(t.panel->intervalRows().size(), 1u);
  t.panel->selectStation(1);
  ASSERT_EQ(t.panel->intervalRows().size(), 2u);
  EXPECT_EQ(t.panel->intervalRows()[0].start, "2.50");
  EXPECT_EQ(t.panel->intervalRows()[0].end, "8.00");

  // "Save Station Report" asks only after a good write.
  t.job.prompter.queue(platform::Answer::No);
  const auto saved = t.panel->saveStationReport();
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->filename().string(), b.filename().string() + ".txt");
  EXPECT_TRUE(t.job.prompter.saw("FATAL ERROR", "A report ASCII file for this station has been saved\nDo you want to create view it ?"));
  EXPECT_NE(readAll(*saved).find("Interval #1 from 2.50 to 8.00 sec"), std::string::npos);

  // A double click removes a station; the one after it, or else the one before, is current.
  t.panel->removeStation(1);
  EXPECT_EQ(t.panel->selectedStation(), 0u);
  t.panel->removeStation(0);
  EXPECT_FALSE(t.panel->haveCurrentFile());
  t.job.prompter.clear();
  EXPECT_FALSE(t.panel->seeReport());
  EXPECT_TRUE(t.job.prompter.saw("ATTENTION", "You must load a station data file before attempting create a report"));
}

TEST(TarnBPanel, AnIntervalWithoutRowsIsRefusedInsteadOfPrintingNumbers) {
  TarnBJob t({});
  const auto file = t.station(t.well(10, 30, 0), 5);
  t.panel->addStations({file});
  t.panel->addInterval();
  ASSERT_TRUE(t.panel->editCell(1, 1, "4.00"));
  ASSERT_TRUE(t.panel->editCell(1, 2, "4.01"));  // between two rows
  ASSERT_TRUE(t.panel->editCell(0, 1, "3"));
  ASSERT_TRUE(t.panel->editCell(0, 2, "1"));     // start after end
  const auto report = t.panel->seeReport();
  ASSERT_TRUE(report);
  const std::string text = readAll(*report);
  EXPECT_TRUE(t.job.prompter.saw("", "The specified interval has a greater start value than its end. Please corret this in order to continue."));
  EXPECT_TRUE(t.job.prompter.saw("", "The specified interval holds no data rows of the file."));
  EXPECT_EQ(text.find("nan"), std::string::npos) << text;
  EXPECT_EQ(text.find("Hole Azimuth"), std::string::npos) << "no block without an analysis";
}

TEST(TarnBPanel, SevenStationsAbortTheRollTest) {
  TarnBJob t({});
  std::vector<std::filesystem::path> files;
  for (int k = 0; k < 7; ++k) files.push_back(t.station(t.well(90, 90, 90.0 * (k % 4)), 5));
  t.panel->addStations(files);
  const auto report = t.panel->rollTest();
  ASSERT_TRUE(report);
  const std::string text = readAll(*report);
  EXPECT_NE(text.find("\r\n\r\nRoll Test Aborted - Not enough station files have been specified !\r\n\r\n"),
            std::string::npos);
  EXPECT_TRUE(t.job.prompter.saw("ATTENTION", "You must have a minimum of 8 stations to complete a roll test."));
}

}  // namespace
}  // namespace kvr::testing
