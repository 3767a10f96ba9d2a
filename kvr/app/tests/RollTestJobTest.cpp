// The roll test and the axis correction of the TARN-C task panel as the program wires it:
// a simulated operator turns the simulated horizontal tool as each prompt asks, and the
// report's grades follow the calibration errors put into the simulated sensor block.
#include "kvr/app/tests/RollTestBench.h"

using namespace kvr::testing::roll;

namespace {

const char* const kLines[] = {"Temperature", "Gyro X Offset", "Gyro X Gain", "Gyro X DXx", "Gyro X DXy",
                              "Gyro Y Offset", "Gyro Y Gain", "Gyro Y DYx", "Gyro Y DYy"};

}  // namespace

// Each error inside, between and beyond the limits of its line; every other line passes.
// The simulated gyros are quiet enough (0.05 deg/h a frame) that the measured differences
// stay within a few hundredths of the injected ones.
TEST(RollTest, GradesFollowTheInjectedCalibrationErrors) {
  struct Case {
    Injected error;
    const char* line;
    const char* grade;
  };
  const Case cases[] = {
      {{}, "Gyro X Offset", "PASS"},
      {{.offsetX = 0.12}, "Gyro X Offset", "PASS"},
      {{.offsetX = 0.24}, "Gyro X Offset", "FAIR"},
      {{.offsetX = -0.36}, "Gyro X Offset", "NOT PASS"},
      {{.offsetY = -0.24}, "Gyro Y Offset", "FAIR"},
      {{.offsetY = 0.36}, "Gyro Y Offset", "NOT PASS"},
      {{.gainX = 1.006}, "Gyro X Gain", "PASS"},
      {{.gainX = 1.015}, "Gyro X Gain", "FAIR"},
      {{.gainX = 0.975}, "Gyro X Gain", "NOT PASS"},
      {{.gainY = 0.985}, "Gyro Y Gain", "FAIR"},
      {{.gainY = 1.025}, "Gyro Y Gain", "NOT PASS"},
      {{.dxx = 0.45}, "Gyro X DXx", "PASS"},
      {{.dxx = -0.65}, "Gyro X DXx", "FAIR"},
      {{.dxx = 0.85}, "Gyro X DXx", "NOT PASS"},
      {{.dyy = 0.65}, "Gyro Y DYy", "FAIR"},
      {{.dyy = -0.85}, "Gyro Y DYy", "NOT PASS"},
  };
  for (const auto& c : cases) {
    Bench b(c.error);
    ASSERT_TRUE(b.run(RollKind::RollTest));
    const auto report = readAll(b.folder() / "RollTest.txt");
    for (const char* line : kLines) {
      EXPECT_EQ(gradeOf(report, line), line == std::string(c.line) ? c.grade : "PASS") << c.line << " " << c.grade
                                                                                     << "\n" << report;
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(gradeOf(report, "Symmetry Check", i), "PASS") << i;
  }
}

// The block warming while the test runs: the spread of the eight temperatures grades it.
TEST(RollTest, TheTemperatureSpreadIsGraded) {
  struct Case {
    double perHour;
    const char* grade;
  };
  for (const Case c : {Case{20, "PASS"}, Case{66, "FAIR"}, Case{90, "NOT PASS"}}) {
    Bench b({.temperaturePerHour = c.perHour});
    ASSERT_TRUE(b.run(RollKind::RollTest));
    const auto report = readAll(b.folder() / "RollTest.txt");
    EXPECT_EQ(gradeOf(report, "Temperature"), c.grade) << report;
  }
}

TEST(RollTest, ACorrectCalibrationPassesEveryLine) {
  Bench b;
  ASSERT_TRUE(b.run(RollKind::RollTest)) << ::testing::PrintToString(b.prompter.texts());
  const auto report = readAll(b.folder() / "RollTest.txt");
  ASSERT_FALSE(report.empty());
  EXPECT_EQ(b.panel->procedureReport(), b.folder() / "RollTest.txt");
  for (const char* label : kLines) {
    EXPECT_EQ(gradeOf(report, label), "PASS") << label;
  }
  for (int i = 0; i < 4; ++i) EXPECT_EQ(gradeOf(report, "Symmetry Check", i), "PASS") << i;
}

// Version 3.1 measures the gain at the tool's HSTF; earlier versions assume an HSTF of 0 and
// read it high by 1 / cos H. Left at HSTF 0 the tool's HSTF samples straddle 0/360: their mean
// stays at 0, so the old formula passes too.
TEST(RollTest, TheGainFormulaFollowsTheCalibrationVersion) {
  struct Case {
    const char* version;
    double toolface;
    const char* grade;
  };
  for (const Case c : {Case{"3.1", 20, "PASS"}, Case{"2.0", 20, "NOT PASS"}, Case{"2.0", 0, "PASS"},
                       Case{"3.1", 0, "PASS"}}) {
    Bench b({.toolface = c.toolface}, c.version);
    ASSERT_TRUE(b.run(RollKind::RollTest));
    const auto report = readAll(b.folder() / "RollTest.txt");
    EXPECT_NE(report.find("Calibration Version: " + std::string(c.version) + "\r\n"), std::string::npos);
    EXPECT_EQ(gradeOf(report, "Gyro X Gain"), c.grade) << c.version << " " << c.toolface << "\n" << report;
    EXPECT_EQ(gradeOf(report, "Gyro Y Gain"), c.grade) << c.version << " " << c.toolface;
    const auto hstf = lines(report)[14];
    ASSERT_EQ(hstf.rfind("Bearing Check (HSTF) : ", 0), 0u) << hstf;
    EXPECT_NEAR(std::remainder(std::stod(hstf.substr(23)) - c.toolface, 360.0), 0, 0.5) << hstf;
  }
}

TEST(RollTest, PromptsMovesListAndReportNames) {
  Bench b;
  ASSERT_TRUE(b.run(RollKind::RollTest));
  ASSERT_EQ(b.prompts.size(), 2u);
  EXPECT_EQ(b.prompts[0], text::kPointEast);
  EXPECT_EQ(b.prompts[0].find("+/- 15\xEF\xBF\xBD\n"), 58u);
  EXPECT_EQ(b.prompts[1].rfind("Please turn the whole toolstring by 180\xEF\xBF\xBD in order to point WEST.\nThen, adjust to "
                               "reach an HSTF of 20.",
                               0),
            0u)
      << b.prompts[1];
  EXPECT_TRUE(b.prompter.saw(text::kRollDone.title, text::kRollDone.text));
  const std::vector<std::uint8_t> moves = {0x70, 0x71, 0x72, 0x6F, 0x70, 0x71, 0x72, 0x6F};
  auto sent = b.codesSent();
  sent.erase(std::remove_if(sent.begin(), sent.end(), [](std::uint8_t c) { return c < 0x6F || c > 0x72; }), sent.end());
  sent.erase(std::unique(sent.begin(), sent.end()), sent.end());  // re-sends
  EXPECT_EQ(sent, moves);
  // Eight finished rows with their indexer positions and a ninth waiting.
  const auto& rows = b.panel->list().rows();
  ASSERT_EQ(rows.size(), 9u);
  const double positions[8] = {0, 90, 180, 270, 0, 90, 180, 270};
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(rows[i].row.get(8), kvr::tarnc::kDone) << i;
    EXPECT_EQ(rows[i].row.get(2), positions[i]) << i;
    EXPECT_NEAR(rows[i].row.get(3), b.panel->average(static_cast<int>(2 + i)).rawRates[0], 1e-12);
  }
  EXPECT_EQ(b.panel->list().cell(8, 2).text, "...");
  EXPECT_EQ(b.panel->rollButton(), "Rolltest");
  // The return home writes no END_STATION: no station was processed.
  const auto log = readAll(b.panel->eventLogPath());
  EXPECT_EQ(log.find("END_STATION"), std::string::npos);

  ASSERT_TRUE(b.run(RollKind::RollTest));
  ASSERT_TRUE(b.run(RollKind::RollTest));
  EXPECT_EQ(b.panel->procedureReport(), b.folder() / "Rolltest_2.txt");
  EXPECT_TRUE(std::filesystem::exists(b.folder() / "Rolltest_1.txt"));
}

// Turned by hand to 0, 90, 180 and 270 degrees, the indexer at 0 and 180 at each.
TEST(AxisCorrection, PromptsMovesAndReport) {
  Bench b;
  ASSERT_TRUE(b.run(RollKind::AxisCorrection));
  EXPECT_EQ(b.prompts, (std::vector<std::string>{
                           "Please rotate the tool to 0\xC2\xB0\nThen wait for about 10 seconds before clicking OK...",
                           "Please rotate the tool to 90\xC2\xB0\nThen wait for about 10 seconds before clicking OK...",
                           "Please rotate the tool to 180\xC2\xB0\nThen wait for about 10 seconds before clicking OK...",
                           "Please rotate the tool to 270\xC2\xB0\nThen wait for about 10 seconds before clicking OK..."}));
  auto sent = b.codesSent();
  sent.erase(std::remove_if(sent.begin(), sent.end(), [](std::uint8_t c) { return c < 0x6F || c > 0x72; }), sent.end());
  sent.erase(std::unique(sent.begin(), sent.end()), sent.end());
  EXPECT_EQ(sent, (std::vector<std::uint8_t>{0x71, 0x6F, 0x71, 0x6F, 0x71, 0x6F, 0x71, 0x6F}));
  const auto report = readAll(b.folder() / "AxisCorrection.txt");
  EXPECT_EQ(report.rfind("TARN-C Axis Correction Report\r\n\r\nCurrent Latitude: 40 0' 0\"\r\n", 0), 0u);
  EXPECT_NE(report.find("Assumed Tool Position : EAST 270 [Deg]\r\n"), std::string::npos);
  EXPECT_NE(report.find("Assumed Tool Position : WEST 270 [Deg]\r\n"), std::string::npos);
  const double positions[8] = {0, 0, 90, 90, 180, 180, 270, 270};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(b.panel->list().rows()[i].row.get(2), positions[i]) << i;
  EXPECT_EQ(b.panel->axisButton(), "Axis Correction");
  ASSERT_TRUE(b.run(RollKind::AxisCorrection));
  EXPECT_EQ(b.panel->procedureReport(), b.folder() / "AxisCorrection1.txt");
}

// Cancelled halfway through, either procedure brings the indexer home, writes no report and
// no END_STATION, and the next one runs to its end.
TEST(RollTest, StopLeavesThePanelUsable) {
  for (const RollKind kind : {RollKind::RollTest, RollKind::AxisCorrection}) {
    Bench b;
    const bool roll = kind == RollKind::RollTest;
    roll ? b.panel->rollTest() : b.panel->axisCorrection();
    EXPECT_EQ(roll ? b.panel->rollButton() : b.panel->axisButton(), roll ? "Stop RT" : "Stop AC");
    for (int t = 0; t < 200 && (roll ? b.panel->rollStep() : b.panel->axisStep()) < 4; ++t) b.loop.advance(500);
    ASSERT_EQ(roll ? b.panel->rollStep() : b.panel->axisStep(), 4);
    b.prompter.queue(Answer::Yes);  // cancel this process
    roll ? b.panel->rollTest() : b.panel->axisCorrection();
    EXPECT_TRUE(b.prompter.saw(text::kCancelProcedure.title, text::kCancelProcedure.text));
    EXPECT_EQ(b.panel->rollStep() + b.panel->axisStep(), 0);
    EXPECT_FALSE(b.panel->stationRunning());
    EXPECT_EQ(roll ? b.panel->rollButton() : b.panel->axisButton(), roll ? "Rolltest" : "Axis Correction");
    b.loop.advance(20'000);
    EXPECT_EQ(b.station->library().globals().TARNC_SurveyMode, 0);
    EXPECT_EQ(b.station->library().globals().TARNC_AnglePos, 12);
    EXPECT_TRUE(b.panel->procedureReport().empty());
    EXPECT_EQ(readAll(b.panel->eventLogPath()).find("END_STATION"), std::string::npos);
    ASSERT_TRUE(b.run(kind));
    EXPECT_EQ(b.panel->procedureReport(), b.folder() / (roll ? "RollTest.txt" : "AxisCorrection.txt"));
  }
}

// A report that cannot be created is said so, and the end question does not claim one was.
TEST(RollTest, AReportThatCannotBeCreatedIsNotAnnounced) {
  Bench b;
  b.panel->rollTest();
  for (int t = 0; t < 400 && b.panel->rollStep() < 8; ++t) b.loop.advance(500);
  ASSERT_EQ(b.panel->rollStep(), 8);
  std::filesystem::remove_all(b.folder());
  for (int t = 0; t < 100 && b.panel->rollStep(); ++t) b.loop.advance(500);
  EXPECT_TRUE(b.prompter.saw(text::kRollReportFailed.title, text::kRollReportFailed.text));
  EXPECT_FALSE(b.prompter.saw(text::kRollDone.title, text::kRollDone.text));
  EXPECT_TRUE(b.panel->procedureReport().empty());
  EXPECT_EQ(b.panel->rollButton(), "Rolltest");
}

// Each refusal before a procedure starts, in both procedures' own words; nothing starts.
TEST(RollTest, RefusalsBeforeTheStart) {
  for (const RollKind kind : {RollKind::RollTest, RollKind::AxisCorrection}) {
    const auto& t = kind == RollKind::RollTest ? text::kRollTest : text::kAxisCorrection;
    auto press = [kind](Bench& b) { kind == RollKind::RollTest ? b.panel->rollTest() : b.panel->axisCorrection(); };
    auto idle = [](Bench& b) {
      return b.panel->rollStep() == 0 && b.panel->axisStep() == 0 && !b.panel->stationRunning() &&
             b.station->library().globals().TARNC_SurveyMode == 0;
    };
    {
      Bench b;
      b.dlg().stopTelemetry();
      press(b);
      EXPECT_EQ(b.prompter.texts(), (std::vector<std::string>{t.noTelemetry.text}));
      EXPECT_TRUE(idle(b));
    }
    {
      Bench b;
      dynamic_cast<tools::TarnC*>(b.station->library().family(records::kTarnC))->destroyCorrectionTable();
      b.loop.advance(500);
      press(b);  // "continue anyway ?": No
      EXPECT_EQ(b.prompter.texts(), (std::vector<std::string>{t.noCalibration.text}));
      EXPECT_TRUE(idle(b));
    }
    {
      Bench b;
      b.station->link().simulator->tarnCTool()->settings().faults.vibration = true;
      b.loop.advance(2'000);
      press(b);
      ASSERT_EQ(b.prompter.messages().size(), 1u);
      EXPECT_EQ(b.prompter.messages()[0].title, "WARNING");
      EXPECT_EQ(b.prompter.messages()[0].text, t.notReady.text);
      EXPECT_TRUE(idle(b));
    }
  }
}

// With "Create KVR Station Files" every measurement is recorded as a station log of its own;
// its row carries the log's number.
TEST(RollTest, EachMeasurementRecordsAStationFile) {
  Bench b;
  auto o = b.panel->options();
  o.createStationFiles = true;
  ASSERT_TRUE(b.panel->acceptOptions(o));
  ASSERT_TRUE(b.run(RollKind::RollTest));
  EXPECT_FALSE(b.dlg().stationLogRunning());
  const auto& rows = b.panel->list().rows();
  ASSERT_EQ(rows.size(), 9u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(rows[i].row.get(1), static_cast<double>(i)) << i;
    const std::string name = i == 0 ? "TARNC-NSG_STATION.kvr" : "TARNC-NSG_STATION_" + std::to_string(i) + ".kvr";
    EXPECT_TRUE(std::filesystem::exists(b.folder() / name)) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(b.folder() / "TARNC-NSG_STATION_8.kvr"));
}
