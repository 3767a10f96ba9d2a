// The TARN-C task panel as the program wires it, against the simulated TARN-C tool on
// virtual time: stations on a simulated well, the turning test, refusals and questions, the
// survey report pair and its continuation, continuous survey brackets, the session event log.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/app/tests/RunProgram.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "kvr/logging/LoggingMessages.h"
#include "kvr/tarnc/TaskPanelTexts.h"

namespace {

using kvr::tarnc::CTARN_C_TaskDlg;
namespace text = kvr::tarnc::text;
using platform::Answer;

constexpr double kLatitude = 40, kInclination = 30, kAzimuth = 123.4, kToolface = 50;

panelsim::SimConfig simulatedWell() {
  panelsim::SimConfig c;
  c.winch.english = false;
  c.winch.startDepth = 1500;
  c.winch.speed = 10;
  c.winch.direction = panelsim::Direction::Still;
  c.well.latitudeDeg = kLatitude;
  c.well.inclinationDeg = kInclination;
  c.well.azimuthDeg = kAzimuth;
  c.well.toolfaceDeg = kToolface;
  // The flip cancels the x and y biases; a bias along the tool's axis moves the heading by
  // b / (15.041 cos(lat) sin I) (0.2 degrees for 0.02 deg/h here), which no station can tell.
  c.tarnc.gyroBias[2] = 0;
  // The flip angle goes to Navikor in whole degrees of counts: an indexer stopping a count or
  // two off (0.35 degrees each) moves the heading by up to half that. These stops are exact.
  c.tarnc.accuracy = 0;
  return c;
}

using kvr::testing::lines;
using kvr::testing::readAll;

// The event names of the session event log, in order.
std::vector<std::string> events(const std::filesystem::path& log) {
  std::vector<std::string> out;
  auto all = lines(readAll(log));
  for (std::size_t i = 1; i < all.size(); ++i) out.push_back(all[i].substr(all[i].find_last_of(',') + 1));
  return out;
}

struct Survey : kvr::testing::Job {
  explicit Survey(panelsim::SimConfig config = simulatedWell(), bool stationFiles = false) : Job(std::move(config), 10) {
    declare({"TARNC-NSG"});
    telemetry();
    panel = station->tarnCPanel();
    auto o = panel->options();
    o.latitude = kLatitude;
    o.stationTime = 20;
    o.createStationFiles = stationFiles;
    EXPECT_TRUE(panel->acceptOptions(o));
    prompter.clear();
  }
  const std::filesystem::path& folder() { return station->session().sessionFolder(); }
  // A station request answered Yes to the calibration question, then time to finish it.
  void takeStation(int seconds = 70) {
    prompter.queue(Answer::Yes);
    panel->northSeeking();
    loop.advance(seconds * 1000);
  }
  std::vector<std::uint8_t> codesSent() {
    std::vector<std::uint8_t> codes;
    for (const auto& m : station->link().simulator->messagesTo(227)) codes.push_back(m.back());
    return codes;
  }
  CTARN_C_TaskDlg* panel = nullptr;
};

// Reads one station line of the survey report back.
struct ReportLine {
  int station = 0;
  std::string file;
  double depth = 0, devi = 0, azi = 0, hstf = 0, tf = 0, quality = 0;
};
ReportLine stationOf(const std::string& line) {
  ReportLine r;
  std::istringstream in(line);
  in >> r.station >> r.file >> r.depth >> r.devi >> r.azi >> r.hstf >> r.tf >> r.quality;
  return r;
}

double angleDiff(double a, double b) { return std::remainder(a - b, 360.0); }

}  // namespace

// Gyro noise 0.05 deg/h per frame, 150 frames a position: the heading's standard deviation is
// sqrt(2) 0.05 / sqrt(150) / (2 x 15.041 cos 40 x sqrt(1 - (sin 30 sin 123.4)^2)) = 0.016 degrees; the
// bound is four of those plus the 0.01-degree search grid, 0.08 degrees.
TEST(TarnCSurvey, AStationAgreesWithTheSimulatedWell) {
  Survey s;
  s.takeStation();
  ASSERT_EQ(s.prompter.texts(), (std::vector<std::string>{text::kNoCalibration.text}));
  EXPECT_FALSE(s.panel->stationRunning());
  const auto report = lines(readAll(s.folder() / "TARNC_SurveyReport.txt"));
  ASSERT_EQ(report.size(), 12u);
  EXPECT_EQ(report[0], "Northseeking Gyroscopic Survey Report - version: 1.0");
  EXPECT_EQ(report[2], "Well Name    : W-1");
  EXPECT_EQ(report[3], "Well Latitude: 40 0' 0\"");
  const auto r = stationOf(report[11]);
  EXPECT_EQ(r.station, 1);
  EXPECT_EQ(r.file, "-NA-");
  EXPECT_NEAR(r.depth, 1500, 0.5);
  EXPECT_NEAR(r.devi, kInclination, 0.08);
  EXPECT_NEAR(angleDiff(r.azi, kAzimuth), 0, 0.08);
  EXPECT_NEAR(angleDiff(r.hstf, kToolface), 0, 0.08);
  EXPECT_GT(r.quality, 60);
  EXPECT_EQ(report[11].substr(report[11].size() - 5), " 20.0");
  // The raw report: both positions, the earth rate of a calibrated tool close to 1.
  const auto raw = lines(readAll(s.folder() / "TARNC_SurveyReport.raw"));
  ASSERT_GE(raw.size(), 20u);
  EXPECT_EQ(raw[11].rfind("POSITION   0: 001    -NA-    ", 0), 0u) << raw[11];
  EXPECT_EQ(raw[12].rfind("POSITION 180: 001    -NA-     524", 0), 0u) << raw[12];
  double earth = 0;
  ASSERT_EQ(std::sscanf(raw[13].c_str(), "INERTIAL VECTOR CALCULATIONS: Earth Rate: %lf", &earth), 1);
  EXPECT_NEAR(earth, 1.0, 0.01);
  EXPECT_EQ(raw[14], "CONTINUOS MODE CORRECTED ANGLES: (Last Survey File: NO_PRESVIOUS_SURVEY_FILE)");
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION", "END_STATION"}));
  EXPECT_EQ(s.station->library().globals().TARNC_SurveyMode, 0);
  EXPECT_EQ(s.panel->resetText().rfind("09m, ", 0), 0u) << s.panel->resetText();
  EXPECT_TRUE(std::filesystem::exists(s.folder() / "Output" / "DataSession1.raw"));
  EXPECT_FALSE(lines(readAll(s.panel->rawDataLog().path())).empty());
}

// The turning test from 0 goes 90, 270, 180 and back to 0 and says so.
TEST(TarnCSurvey, TheTurningTestVisitsEveryPosition) {
  Survey s;
  s.panel->initialize();
  s.loop.advance(30'000);
  EXPECT_EQ(s.codesSent(), (std::vector<std::uint8_t>{0x99, 0x70, 0x72, 0x71, 0x6F}));
  EXPECT_TRUE(s.prompter.saw(text::kInitDone.title, text::kInitDone.text));
  EXPECT_TRUE(s.panel->toolInitialized());
  EXPECT_EQ(s.panel->positionTable(), (std::array<int, 4>{12, 268, 524, 780}));
  EXPECT_FALSE(s.panel->initializationRunning());
}

TEST(TarnCSurvey, RefusalsAndQuestionsCarryTheirTexts) {
  struct Case {
    const char* name;
    const char* fault;
    std::function<void(Survey&)> act;
    text::Box expected;
    double countsPerSecond = 300;  // the indexer's speed
  };
  auto initialized = [](Survey& s) {
    s.panel->initialize();
    s.loop.advance(30'000);
    s.prompter.clear();
  };
  const Case cases[] = {
      {"no telemetry", nullptr,
       [&](Survey& s) {
         initialized(s);
         s.dlg().stopTelemetry();
         s.panel->northSeeking();
       },
       text::kNoTelemetry},
      {"latitude zero", nullptr,
       [&](Survey& s) {
         initialized(s);
         auto o = s.panel->options();
         o.latitude = 0;
         s.panel->acceptOptions(o);
         s.panel->northSeeking();
       },
       text::kLatitudeZero},
      {"depth logging", nullptr,
       [&](Survey& s) {
         initialized(s);
         s.dlg().startLog(1, false);
         s.prompter.queue(Answer::Yes);
         s.panel->surveyDown();
       },
       text::kDepthLogging},
      {"not initialized", nullptr,
       [&](Survey& s) {
         s.station->library().globals();
         s.dlg().stopTelemetry();
         s.panel->northSeeking();
       },
       text::kNotInitialized},
      {"initialization running", nullptr,
       [&](Survey& s) {
         s.panel->initialize();
         s.panel->initialize();
       },
       text::kInitRunning},
      {"noise", "tarnc-vibration",
       [&](Survey& s) {
         initialized(s);
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
       },
       text::kNoiseHigh},
      {"short table", "tarnc-short-table", [&](Survey& s) { s.panel->initialize(), s.loop.advance(30'000); },
       text::kInitTimeOut},
      {"endless table", "tarnc-endless-table", [&](Survey& s) { s.panel->initialize(), s.loop.advance(30'000); },
       text::kInitTimeOut},
      {"IMU silent", "tarnc-imu-silent", [&](Survey& s) { s.panel->initialize(); }, text::kImuMissing},
      {"not ready", "tarnc-imu-silent",
       [&](Survey& s) {
         s.prompter.queue(Answer::Yes);  // go on without the inertial pack
         initialized(s);
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
       },
       text::kNotReady},
      {"move time-out", nullptr,
       [&](Survey& s) {
         initialized(s);
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
         s.loop.advance(40'000);
       },
       text::kMoveTimeOut, 40},
      {"raw stream taken", nullptr,
       [&](Survey& s) {
         std::filesystem::create_directories(s.folder() / "Output");
         std::ofstream(s.folder() / "Output" / "DataSession1.raw") << "x";
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
         s.loop.advance(5000);
       },
       text::kRawFile},
      {"uploaded report", nullptr,
       [&](Survey& s) {
         const auto file = s.folder() / "TARNC_SurveyReport.txt";
         std::ofstream(file, std::ios::binary) << kvr::tarnc::surveyHeader({});
         s.prompter.queueFile(file.string());
         s.panel->upload();
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
         s.loop.advance(5000);
       },
       text::kContinueUploaded},
      {"existing report", nullptr,
       [&](Survey& s) {
         std::ofstream(s.folder() / "TARNC_SurveyReport.txt", std::ios::binary) << kvr::tarnc::surveyHeader({});
         s.prompter.queue(Answer::Yes);
         s.panel->northSeeking();
         s.loop.advance(5000);
       },
       text::kContinueExisting},
      {"low quality", nullptr,
       [&](Survey& s) {
         const auto file = s.folder() / "TARNC_SurveyReport.txt";
         std::ofstream(file, std::ios::binary)
             << kvr::tarnc::surveyHeader({})
             << "001         -NA-      100.0       30.00      123.40       50.00      173.40       40.0    10:00:00    "
                "01/02/2026     20.0\r\n";
         s.prompter.queueFile(file.string());
         s.panel->upload();
         s.prompter.queue(Answer::Yes);  // no calibration
         s.prompter.queue(Answer::Yes);  // no station since the reset interval
         s.panel->surveyUp();
       },
       text::kLowQuality},
      {"reset recommended", nullptr,
       [&](Survey& s) {
         initialized(s);
         s.prompter.queue(Answer::Yes);
         s.panel->surveyUp();
       },
       text::kResetRecommended},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto config = simulatedWell();
    if (c.fault) {
      ASSERT_EQ(panelsim::applyFault(config.faults, c.fault), std::nullopt);
    }
    config.tarnc.countsPerSecond = c.countsPerSecond;
    Survey s(config);
    c.act(s);
    EXPECT_TRUE(s.prompter.saw(c.expected.title, c.expected.text)) << ::testing::PrintToString(s.prompter.texts());
    // The panel stays usable: no initialization hangs on.
    s.loop.advance(15'000);
    EXPECT_FALSE(s.panel->initializationRunning());
  }
}

// An indexer that stops short misses the turning test's first position.
TEST(TarnCSurvey, AMissedPositionEndsTheTurningTest) {
  auto config = simulatedWell();
  ASSERT_EQ(panelsim::applyFault(config.faults, "tarnc-short-move"), std::nullopt);
  Survey s(config);
  s.panel->initialize();
  s.loop.advance(30'000);
  ASSERT_FALSE(s.prompter.messages().empty());
  EXPECT_EQ(s.prompter.messages().back().title, "ERROR");
  EXPECT_EQ(s.prompter.messages().back().text,
            "Error while trying to reach position 90\xEF\xBF\xBD\nPlease verify the TURN DEVICE and IMU are not jammed\nTry "
            "removing sensor housing to visually check for correct rotation !");
  EXPECT_FALSE(s.panel->initializationRunning());
}

// Equal 0 and 180 counts would divide by zero later: the table is refused with the position error.
TEST(TarnCSurvey, EqualCountsAreRefusedAtInitialization) {
  auto config = simulatedWell();
  ASSERT_EQ(panelsim::applyFault(config.faults, "tarnc-equal-counts"), std::nullopt);
  Survey s(config);
  s.panel->initialize();
  s.loop.advance(10'000);
  EXPECT_FALSE(s.panel->toolInitialized());
  ASSERT_FALSE(s.prompter.messages().empty());
  EXPECT_EQ(s.prompter.messages().back().title, "ERROR");
  EXPECT_NE(s.prompter.messages().back().text.find("180\xEF\xBF\xBD"), std::string::npos);
}

// A station, a continuous survey up to the next station, and that station: the event log
// brackets the survey between two END_STATION rows; the report names the survey's file.
TEST(TarnCSurvey, AContinuousSurveyIsBracketedByTwoStations) {
  auto config = simulatedWell();
  Survey s(config);
  s.takeStation();
  s.prompter.queue(Answer::Yes);  // no calibration: continue
  s.panel->surveyUp();
  s.loop.advance(1000);
  ASSERT_TRUE(s.dlg().depthLogRunning()) << ::testing::PrintToString(s.prompter.texts());
  const auto logFile = s.dlg().outputFile();
  s.loop.advance(20'000);
  s.prompter.queue(Answer::Yes);  // a reset station now
  s.prompter.queue(Answer::Yes);  // no calibration: continue
  s.panel->stopSurvey();
  s.loop.advance(70'000);
  EXPECT_TRUE(s.prompter.saw(text::kResetNow.title, text::kResetNow.text));
  EXPECT_FALSE(s.dlg().logRunning());
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION", "END_STATION", "START_SURVEYUP",
                                                                       "STOP_SURVEY", "START_STATION", "END_STATION"}));
  const auto raw = readAll(s.folder() / "TARNC_SurveyReport.raw");
  EXPECT_NE(raw.find("(Last Survey File: UP" + logFile.filename().string() + ")"), std::string::npos);
  const auto report = lines(readAll(s.folder() / "TARNC_SurveyReport.txt"));
  ASSERT_EQ(report.size(), 13u);
  EXPECT_EQ(stationOf(report[12]).station, 2);
}

// Stop before the processing writes no END_STATION: the analysis would take it for a station.
TEST(TarnCSurvey, ACancelledStationWritesNoEndStation) {
  Survey s;
  s.takeStation(20);
  ASSERT_TRUE(s.panel->stationRunning());
  s.prompter.queue(Answer::Yes);  // no calibration: continue
  s.prompter.queue(Answer::Yes);  // cancel the station
  s.panel->northSeeking();
  s.loop.advance(10'000);
  EXPECT_FALSE(s.panel->stationRunning());
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION"}));
  EXPECT_EQ(s.station->library().globals().TARNC_SurveyMode, 0);
}

// Window timers keep firing while a question is open: the acquisition goes on under the cancel question.
TEST(TarnCSurvey, TimersFireWhileAQuestionIsOpen) {
  Survey s;
  s.takeStation(12);
  ASSERT_TRUE(s.panel->stationRunning());
  int during = -1;
  const int before = s.panel->progressPosition();
  s.prompter.whileAsking([&](const platform::Message& m) {
    if (m.text != text::kCancelStation.text) return;
    s.loop.advance(2000);
    during = s.panel->progressPosition();
  });
  s.prompter.queue(Answer::Yes);
  s.prompter.queue(Answer::No);
  s.panel->northSeeking();
  EXPECT_EQ(during, before + 4);
  EXPECT_TRUE(s.panel->stationRunning());
}

// Station files: the station's file number comes from the recorded station log's name.
TEST(TarnCSurvey, StationFilesNumberTheStation) {
  Survey s(simulatedWell(), true);
  s.takeStation();
  s.takeStation();
  const auto report = lines(readAll(s.folder() / "TARNC_SurveyReport.txt"));
  ASSERT_EQ(report.size(), 13u);
  EXPECT_EQ(stationOf(report[11]).file, "_000");
  EXPECT_EQ(stationOf(report[12]).file, "_001");
  EXPECT_FALSE(s.dlg().logRunning());
}

// An existing report is continued or a new one made, as the operator answers.
TEST(TarnCSurvey, ReportsAreContinuedOrNumbered) {
  struct Case {
    std::vector<int> present;  // report indexes in the folder before the station
    Answer answer;
    int written;  // the report that gets the station
    int station;  // its number there
  };
  const Case cases[] = {{{0}, Answer::Yes, 0, 2}, {{0}, Answer::No, 1, 1}, {{0, 1}, Answer::Yes, 1, 2}, {{0, 1}, Answer::No, 2, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    Survey s;
    for (int i : c.present) {
      std::ofstream(kvr::tarnc::reportPath(s.folder(), i, ".txt"), std::ios::binary)
          << kvr::tarnc::surveyHeader({}) << "001         -NA-      100.0       30.00      123.40       50.00      173.40       99.0    10:00:00    01/02/2026     20.0\r\n";
      std::ofstream(kvr::tarnc::reportPath(s.folder(), i, ".raw"), std::ios::binary) << kvr::tarnc::rawHeader({});
    }
    s.prompter.queue(Answer::Yes);  // no calibration: continue
    s.prompter.queue(c.answer);
    s.panel->northSeeking();
    s.loop.advance(70'000);
    const auto report = lines(readAll(kvr::tarnc::reportPath(s.folder(), c.written, ".txt")));
    EXPECT_EQ(stationOf(report.back()).station, c.station);
    EXPECT_EQ(s.panel->title(), "TARN-C Task Panel - " + kvr::tarnc::reportPath(s.folder(), c.written, ".txt").filename().string());
  }
}

// "Upload" of a report edited by hand: the message, and the rows before the fault stay.
TEST(TarnCSurvey, UploadKeepsTheRowsBeforeAFault) {
  const std::string header = kvr::tarnc::surveyHeader({});
  const std::string good = "001         _007      100.0       30.00      123.40       50.00      173.40       99.0    10:00:00    01/02/2026     20.0\r\n";
  const std::string muleshoe = "002         -NA-      200.0       30.00      123.40       50.00      173.40       99.0    10:00:00    01/02/2026     20.0 *** MULESHOE TOOLFACE OFFSET APPLIED: 5.0 [DEG]\r\n";
  const struct {
    std::string content;
    bool ok;
    std::size_t rows;  // finished rows in the list
  } cases[] = {{header + good + muleshoe, true, 2},
               {header + good + "002         -NA-      2x0.0", false, 1},
               {header + good + "002         -NA-      200.0   30.00", false, 1},
               {"Station\r\nno units\r\n" + good, false, 0},
               {"", false, 0}};
  for (const auto& c : cases) {
    Survey s;
    const auto file = s.folder() / "TARNC_SurveyReport.txt";
    std::ofstream(file, std::ios::binary) << c.content;
    s.prompter.queueFile(file.string());
    s.panel->upload();
    EXPECT_EQ(s.prompter.saw(text::kUploadFailed.title, text::kUploadFailed.text), !c.ok);
    const auto& rows = s.panel->list().rows();
    ASSERT_EQ(rows.size(), c.rows + 1) << c.content;
    if (c.rows >= 1) {
      EXPECT_EQ(s.panel->list().cell(0, 1).text, "007");
    }
    if (c.rows >= 2) {
      EXPECT_TRUE(rows[1].muleshoe);
    }
    if (c.ok) {
      EXPECT_EQ(rows.back().row.get(0), 3);
    }
  }
}

// Settings never written: every option and drift-correction value is its default.
TEST(TarnCSurvey, FreshSettingsGiveTheDefaults) {
  kvr::testing::Job job(simulatedWell(), 10);
  job.declare({"TARNC-NSG"});
  const auto& o = job.station->tarnCPanel()->options();
  EXPECT_EQ(o.stationTime, 80);
  EXPECT_EQ(o.stabilisationTime, 5);
  EXPECT_EQ(o.initialDepth, 100);
  EXPECT_EQ(o.depthIncrement, 100);
  EXPECT_EQ(o.resetInterval, 10);
  EXPECT_EQ(o.toolFaceOffset, 0);
  EXPECT_TRUE(o.createStationFiles);
  EXPECT_FALSE(o.autoDepth);
  const auto& g = job.station->library().globals();
  EXPECT_EQ(g.TARNC_GyroDriftCorrEnable, 1);
  EXPECT_EQ(g.TARNC_GyroDriftCorrInterval, 60);
  EXPECT_EQ(g.TARNC_DTGDriftCorrFeedback_Filter_Division, 3);
}

// "Quick Kalman" seeds the filter and pauses it after its time, limited to 20-180 s.
TEST(TarnCSurvey, QuickKalmanRunsTwentyToOneHundredEightySeconds) {
  Survey s;
  auto& g = s.station->library().globals();
  for (auto [asked, runs] : {std::pair{10, 20}, {500, 180}, {60, 60}}) {
    auto f = s.panel->filterOptions();
    f.quickKalmanTime = asked;
    EXPECT_EQ(s.panel->quickKalman(f), runs);
    EXPECT_EQ(g.Kalman_Pause, 0);
    EXPECT_EQ(g.KG, f.initialGain);
    s.loop.advance(runs * 1000 - 100);
    EXPECT_EQ(g.Kalman_Pause, 0);
    s.loop.advance(200);
    EXPECT_EQ(g.Kalman_Pause, 1);
  }
}

// The options go to the settings and come back with the next panel.
TEST(TarnCSurvey, OptionsRoundTripThroughTheSettings) {
  Survey s;
  auto o = s.panel->options();
  o.latitude = 90;
  o.verticalOnly = true;
  EXPECT_FALSE(s.panel->acceptOptions(o));
  EXPECT_EQ(s.prompter.texts().back(), "Enter a number between -89.99 and 89.99.");
  EXPECT_EQ(s.station->library().globals().TARNC_DisableAccel, 0);
  o.latitude = -89.99;
  o.stationTime = 120.5;
  o.stabilisationTime = 7;
  o.initialDepth = -20;
  o.depthIncrement = 30;
  o.autoDepth = true;
  o.resetInterval = 15;
  o.toolFaceOffset = 12.25;
  o.createStationFiles = false;
  o.verticalOnly = true;
  ASSERT_TRUE(s.panel->acceptOptions(o));
  EXPECT_EQ(s.settings.getString("Options", "TARN-C Station Time", ""), "120.50");
  EXPECT_FLOAT_EQ(s.station->library().family(227)->getParameterList()[0].value, -89.99f);
  EXPECT_EQ(s.panel->latitudeText(), "-89.99000");
  EXPECT_EQ(s.station->library().globals().TARNC_DisableAccel, 1);
  auto f = s.panel->filterOptions();
  f.correctionInterval = 120;
  f.dtgDivisor = 5;
  f.feedbackY = true;
  ASSERT_TRUE(s.panel->acceptFilterOptions(f));
  s.declare({"BRIX-CCL"});  // a new string: a new panel
  const auto& back = s.station->tarnCPanel()->options();
  EXPECT_EQ(back.stationTime, 120.5);
  EXPECT_EQ(back.stabilisationTime, 7);
  EXPECT_EQ(back.initialDepth, -20);
  EXPECT_EQ(back.depthIncrement, 30);
  EXPECT_TRUE(back.autoDepth);
  EXPECT_EQ(back.resetInterval, 15);
  EXPECT_EQ(back.toolFaceOffset, 12.25);
  EXPECT_FALSE(back.createStationFiles);
  const auto& g = s.station->library().globals();
  EXPECT_EQ(g.TARNC_GyroDriftCorrInterval, 120);
  EXPECT_EQ(g.TARNC_DTGDriftCorrFeedback_Filter_Division, 5);
  EXPECT_EQ(g.TARNC_GyroDriftCorrFeedback_y, 1);
  EXPECT_EQ(s.station->tarnCPanel()->filterOptions().correctionInterval, 120);
}

// A program killed in the middle of a station loses no earlier station: the report pair and the
// event log were flushed as each station ended.
TEST(TarnCSurvey, AKilledSessionKeepsEveryFinishedStation) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    Survey s;
    s.takeStation();
    s.takeStation(25);  // the second station is in its first half
    const std::string root = s.paths.dataRoot().string() + "\n" + s.folder().string();
    if (write(fds[1], root.data(), root.size()) != static_cast<ssize_t>(root.size())) _exit(3);
    close(fds[1]);
    raise(SIGKILL);
  }
  close(fds[1]);
  std::string got;
  char b[512];
  for (ssize_t n; (n = read(fds[0], b, sizeof b)) > 0;) got.append(b, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  const auto cut = got.find('\n');
  ASSERT_NE(cut, std::string::npos);
  const std::filesystem::path root = got.substr(0, cut), folder = got.substr(cut + 1);
  const auto report = lines(readAll(folder / "TARNC_SurveyReport.txt"));
  ASSERT_EQ(report.size(), 12u);
  EXPECT_EQ(stationOf(report[11]).station, 1);
  EXPECT_NE(readAll(folder / "TARNC_SurveyReport.raw").find("TFACE: "), std::string::npos);
  EXPECT_EQ(events(folder / "Output" / "Session_1.csv"),
            (std::vector<std::string>{"START_STATION", "END_STATION", "START_STATION"}));
  std::filesystem::remove_all(root);
}

// The corrected tool-face monitor shows the newest toolface less the offset while the options
// apply one, and "wait..." for the toolface while a station holds the indexer.
TEST(TarnCSurvey, TheToolFaceMonitorTakesOffTheOffset) {
  Survey s;
  auto& monitor = s.panel->toolFaceMonitor();
  EXPECT_FALSE(monitor.shown());
  auto o = s.panel->options();
  o.toolFaceOffset = 60;
  o.toolFaceOffsetEnabled = true;
  ASSERT_TRUE(s.panel->acceptOptions(o));
  EXPECT_TRUE(monitor.shown());
  s.loop.advance(5000);
  // The simulated tool: high-side toolface 50, so 350 less the offset in the 0-360 convention.
  double shown = 0;
  ASSERT_EQ(std::sscanf(monitor.text().c_str(), "%lf", &shown), 1) << monitor.text();
  EXPECT_EQ(static_cast<unsigned char>(monitor.text().back()), 0xBA);
  monitor.showHstf(true);
  s.loop.advance(400);
  ASSERT_EQ(std::sscanf(monitor.text().c_str(), "%lf", &shown), 1);
  EXPECT_NEAR(shown, 350, 0.5);
  monitor.showHstf(false);
  s.prompter.queue(Answer::Yes);
  s.panel->northSeeking();
  s.loop.advance(5000);
  EXPECT_EQ(monitor.text(), "wait...");
  o.toolFaceOffsetEnabled = false;
  ASSERT_TRUE(s.panel->acceptOptions(o));
  EXPECT_FALSE(monitor.shown());
}

// A vibrating tool whose noise the operator accepted finishes its station: the return to 0 takes
// status 4 as ready, as the moves did, and END_STATION clears survey mode.
TEST(TarnCSurvey, AcceptedNoiseLetsTheStationEnd) {
  auto config = simulatedWell();
  ASSERT_EQ(panelsim::applyFault(config.faults, "tarnc-vibration"), std::nullopt);
  Survey s(config);
  s.prompter.queue(Answer::Yes);  // no calibration: continue
  s.prompter.queue(Answer::Yes);  // the noise is high: continue
  s.panel->northSeeking();
  s.loop.advance(70'000);
  EXPECT_TRUE(s.prompter.saw(text::kNoiseHigh.title, text::kNoiseHigh.text));
  EXPECT_FALSE(s.panel->stationRunning());
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION", "END_STATION"}));
  EXPECT_EQ(s.station->library().globals().TARNC_SurveyMode, 0);
}

// No sample row during a half: the station fails with a message instead of reporting old averages.
TEST(TarnCSurvey, AHalfWithoutRowsFailsTheStation) {
  Survey s;
  s.prompter.queue(Answer::Yes);
  s.panel->northSeeking();
  for (int i = 0; i < 400 && static_cast<int>(s.panel->list().rows().back().row.get(8)) != kvr::tarnc::kAcquiring0; ++i)
    s.loop.advance(100);
  ASSERT_EQ(static_cast<int>(s.panel->list().rows().back().row.get(8)), kvr::tarnc::kAcquiring0);
  s.dlg().stopTelemetry();
  s.loop.advance(20'000);
  EXPECT_TRUE(s.prompter.saw(text::kNoSamples.title, text::kNoSamples.text));
  EXPECT_FALSE(s.panel->stationRunning());
  EXPECT_EQ(lines(readAll(s.folder() / "TARNC_SurveyReport.txt")).size(), 11u);  // the header only
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION"}));
}

// Either file of the pair failing to be created is the report message; the station still runs.
TEST(TarnCSurvey, AReportPairThatCannotBeCreatedIsSaid) {
  Survey s;
  std::filesystem::create_directory(s.folder() / "TARNC_SurveyReport.raw");
  s.takeStation();
  EXPECT_TRUE(s.prompter.saw(text::kReportFailed.title, text::kReportFailed.text));
  EXPECT_FALSE(s.panel->reportOpen());
  EXPECT_EQ(static_cast<int>(s.panel->list().rows().front().row.get(8)), kvr::tarnc::kDone);
}

// A station log the logging controller refuses (the panel's units are not the program's) leaves
// the station without a file number.
TEST(TarnCSurvey, ARefusedStationLogLeavesNoFileNumber) {
  Survey s(simulatedWell(), true);
  s.station->link().simulator->setEnglish(true);  // switched by hand on a real panel
  s.loop.advance(1000);
  s.takeStation();
  EXPECT_TRUE(s.prompter.saw(kvr::msg::kPanelEnglish.title, kvr::msg::kPanelEnglish.text));
  const auto report = lines(readAll(s.folder() / "TARNC_SurveyReport.txt"));
  ASSERT_EQ(report.size(), 12u);
  EXPECT_EQ(stationOf(report[11]).file, "-NA-") << ::testing::PrintToString(s.prompter.texts());
}

// A continuous survey before any station opens the session's raw stream and event log itself.
TEST(TarnCSurvey, ASurveyBeforeAnyStationOpensTheSessionFiles) {
  Survey s;
  s.prompter.queue(Answer::Yes);  // no calibration
  s.prompter.queue(Answer::Yes);  // no station yet: continue anyway
  s.prompter.queue(Answer::Yes);  // quality of no station: continue anyway
  s.panel->surveyDown();
  s.loop.advance(10'000);
  ASSERT_TRUE(s.dlg().depthLogRunning()) << ::testing::PrintToString(s.prompter.texts());
  s.panel->stopSurvey();  // the reset question: No
  s.loop.advance(1000);
  EXPECT_TRUE(std::filesystem::file_size(s.folder() / "Output" / "DataSession1.raw") > 120 * 100);
  EXPECT_EQ(lines(readAll(s.panel->eventLogPath())).front(), "Tiempo,Tipo,Devi,Azi,Hstf,Tf,Qc,Flag");
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_SURVEYDOWN", "STOP_SURVEY"}));
}

// Stopping telemetry closes the session's stream; the next telemetry start is a new session,
// numbered after the event logs already in "Output", whose first station initializes again.
TEST(TarnCSurvey, EachTelemetryStartIsANewSession) {
  Survey s;
  s.takeStation();
  ASSERT_TRUE(s.dlg().stopTelemetry());
  s.telemetry();
  EXPECT_EQ(s.station->telemetrySession().sessionNumber, 2);
  s.prompter.queue(Answer::Yes);  // no calibration
  s.panel->northSeeking();
  s.loop.advance(70'000);
  // The new session's commands: the table first, then the station's three moves.
  EXPECT_EQ(s.codesSent(), (std::vector<std::uint8_t>{0x99, 0x6F, 0x71, 0x6F}));
  EXPECT_EQ(events(s.folder() / "Output" / "Session_2.csv"), (std::vector<std::string>{"START_STATION", "END_STATION"}));
  EXPECT_TRUE(std::filesystem::exists(s.folder() / "Output" / "DataSession2.raw"));
  EXPECT_EQ(lines(readAll(s.folder() / "TARNC_SurveyReport.txt")).size(), 13u);  // continued: Yes
}

// A survey asked for while the station's return to 0 still runs starts its log only after
// END_STATION has cleared survey mode.
TEST(TarnCSurvey, ASurveyWaitsForTheStationsReturn) {
  Survey s;
  s.prompter.queue(Answer::Yes);
  s.panel->northSeeking();
  for (int i = 0; i < 700 && s.panel->list().rows().size() < 2; ++i) s.loop.advance(100);
  ASSERT_FALSE(s.panel->stationRunning());
  ASSERT_EQ(s.station->library().globals().TARNC_SurveyMode, 1);  // still returning
  s.prompter.queue(Answer::Yes);  // no calibration
  s.panel->surveyUp();
  s.loop.advance(300);
  EXPECT_FALSE(s.dlg().depthLogRunning());
  s.loop.advance(6000);
  EXPECT_TRUE(s.dlg().depthLogRunning());
  EXPECT_EQ(events(s.panel->eventLogPath()), (std::vector<std::string>{"START_STATION", "START_SURVEYUP", "END_STATION"}));
}

// The reset countdown runs from the end of each station, in whole seconds.
TEST(TarnCSurvey, TheResetCountdownRunsFromTheStationsEnd) {
  Survey s;
  auto o = s.panel->options();
  o.resetInterval = 1.5;
  ASSERT_TRUE(s.panel->acceptOptions(o));
  EXPECT_EQ(s.panel->resetText(), "00m, 00s");
  s.prompter.queue(Answer::Yes);
  s.panel->northSeeking();
  for (int i = 0; i < 700 && s.panel->list().rows().size() < 2; ++i) s.loop.advance(100);
  EXPECT_EQ(s.panel->resetText(), "01m, 30s");
  s.loop.advance(60'000);
  EXPECT_EQ(s.panel->resetText(), "00m, 30s");
  s.loop.advance(30'000);
  EXPECT_EQ(s.panel->resetText(), "Reset !");
  EXPECT_EQ(s.panel->resetCountdown(), 0);
}

// The station time rounds half away from zero to ticks of 500 ms; a declined noise question
// changes nothing.
TEST(TarnCSurvey, StationTimeTicksAndADeclinedNoiseQuestion) {
  Survey s;
  auto o = s.panel->options();
  o.stationTime = 80.5;
  ASSERT_TRUE(s.panel->acceptOptions(o));
  s.prompter.queue(Answer::Yes);
  s.panel->northSeeking();
  s.loop.advance(2000);
  EXPECT_EQ(s.panel->progressRange(), 81);

  auto config = simulatedWell();
  ASSERT_EQ(panelsim::applyFault(config.faults, "tarnc-vibration"), std::nullopt);
  Survey noisy(config);
  noisy.panel->initialize();
  noisy.loop.advance(30'000);
  const auto sent = noisy.codesSent().size();
  noisy.prompter.queue(Answer::Yes);  // no calibration; the noise question: No
  noisy.panel->northSeeking();
  noisy.loop.advance(2000);
  EXPECT_TRUE(noisy.prompter.saw(text::kNoiseHigh.title, text::kNoiseHigh.text));
  EXPECT_EQ(noisy.codesSent().size(), sent);
  EXPECT_EQ(noisy.station->library().globals().TARNC_SurveyMode, 0);
  EXPECT_FALSE(noisy.panel->stationRunning());
}

// Without job data there is no session folder: a station writes nowhere else instead.
TEST(TarnCSurvey, NoSessionFolderNoSessionFiles) {
  platform::testing::ScriptedPrompter prompter;
  platform::testing::ManualLoop loop;
  platform::testing::TempPaths paths;
  auto program = kvr::CKVRApp::batchSettings(paths, 10);
  kvr::LoggingStation station({loop, loop.clock(), prompter, paths, program},
                              kvr::simulatedPanelLink(simulatedWell(), loop.clock()), true);
  ASSERT_EQ(station.declareString({"TARNC-NSG"}), std::nullopt);
  ASSERT_TRUE(station.dialog().startTelemetry());
  loop.advance(1000);
  auto* panel = station.tarnCPanel();
  auto o = panel->options();
  o.latitude = kLatitude;
  ASSERT_TRUE(panel->acceptOptions(o));
  prompter.queue(Answer::Yes);
  panel->northSeeking();
  loop.advance(5000);
  EXPECT_TRUE(prompter.saw(text::kReportFailed.title, text::kReportFailed.text));
  EXPECT_TRUE(prompter.saw(text::kRawFile.title, text::kRawFile.text));
  EXPECT_FALSE(panel->stationRunning());
  EXPECT_FALSE(std::filesystem::exists("Output"));
}
