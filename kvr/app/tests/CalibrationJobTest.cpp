// Each family's calibrations end to end: the program's station on the simulated panel, the
// calibration engine driving the TOOLS procedures, the simulated tools answering, the
// report in the session folder; and parameter sends as bytes at the simulated panel.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "kvr/app/CalibrationCommands.h"
#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/calibration/CalibrationMessages.h"
#include "kvr/link/TelemetryMessages.h"
#include "toolslib/families/Dune.h"
#include "toolslib/families/Havo.h"
#include "toolslib/families/Quil.h"
#include "toolslib/families/Sevo.h"
#include "toolslib/families/Tarn.h"

namespace kvr {
namespace {

using platform::Answer;
using testing::Job;

std::string fileText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

float param(Job& job, std::uint8_t code, std::size_t i) {
  return job.station->library().family(code)->getParameterList().at(i).value;
}

struct FamilyCase {
  const char* tool;
  std::uint8_t code;
  const char* title;
  std::vector<Answer> referenceAnswers;  // empty: the family has no reference measurement
  std::function<void(Job&)> before;
  std::function<void(Job&, const std::string& output)> check;
};

TEST(CalibrationJob, EveryFamilyReadsItsStoredCalibrationAndMeasuresItsReference) {
  const Answer ok = Answer::Ok, go = Answer::Continue;
  const std::vector<FamilyCase> cases = {
      {"BRIX-CCL", 210, "BRIX Calibration", {ok, go}, nullptr,
       [](Job&, const std::string& out) { EXPECT_NE(out.find("(nominal 127): within limits"), std::string::npos) << out; }},
      {"TARN-GYRO", 220, "TARN Calibration", {ok, go},
       [](Job& j) { j.station->library().family(220)->getParameterList()[tools::Tarn::kLatitude].value = 30; },
       [](Job& j, const std::string&) {
         // The simulated gyros' biases, found with the earth rate taken out.
         EXPECT_NEAR(param(j, 220, tools::Tarn::kGyroOffsetX), 0.12, 0.15);
         EXPECT_NEAR(param(j, 220, tools::Tarn::kGyroOffsetY), -0.08, 0.15);
         EXPECT_NEAR(param(j, 220, tools::Tarn::kGyroOffsetZ), 0.05, 0.15);
       }},
      {"TARNB-FSK", 224, "TARN B Calibration", {}, nullptr, nullptr},
      {"DUNE-ROLA", 230, "DUNE Calibration", {ok, go}, nullptr,
       [](Job& j, const std::string&) { EXPECT_NEAR(param(j, 230, tools::Dune::kThreshold), 0.05, 1e-6); }},
      {"SEVO-PT", 232, "SEVO Calibration", {ok, go, go}, nullptr,
       [](Job& j, const std::string&) {
         // The bath gauge reads 1.0002 p + 0.8: the calibration undoes it.
         EXPECT_NEAR(param(j, 232, tools::Sevo::kPressureScale), 1 / 1.0002, 2e-5);
         EXPECT_NEAR(param(j, 232, tools::Sevo::kPressureOffset), -0.8 / 1.0002, 0.05);
       }},
      {"QUIL-GR", 235, "QUIL Calibration", {ok, go, go}, nullptr,
       [](Job& j, const std::string&) {
         EXPECT_NEAR(param(j, 235, tools::Quil::kBackground), 4.0, 2.0);
         EXPECT_NEAR(param(j, 235, tools::Quil::kApiPerCps), 150 / 562.5, 0.02);
       }},
      {"VUNT-MG", 240, "VUNT Calibration", {ok, go}, nullptr,
       [](Job&, const std::string& out) { EXPECT_NE(out.find("PSI, gauge error +0.5"), std::string::npos) << out; }},
      {"HAVO", 243, "HAVO Calibration", {ok, go, go}, nullptr,
       [](Job& j, const std::string&) {
         EXPECT_NEAR(param(j, 243, tools::Havo::kWaterFrequency), 22.0, 0.05);
         EXPECT_NEAR(param(j, 243, tools::Havo::kOilFrequency), 40.0, 0.05);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tool);
    Job job;
    job.declare({c.tool});
    job.telemetry();
    if (c.before) c.before(job);
    RecordingCalibrationView view;
    Calibrations dialog(*job.station, job.prompter, job.loop, job.loop.clock(), job.paths, view);
    auto& cal = dialog.manager();
    EXPECT_EQ(cal.title(), c.title);
    ASSERT_NE(cal.report(), nullptr);

    cal.start(0);
    EXPECT_TRUE(view.progressVisible);
    EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 6000));
    const std::string stored = view.output;
    EXPECT_NE(stored.find("Stored calibration: "), std::string::npos) << stored;
    EXPECT_NE(stored.find(" SN "), std::string::npos) << stored;
    EXPECT_EQ(stored.find("Timeout"), std::string::npos);
    EXPECT_FALSE(view.progressVisible);

    if (!c.referenceAnswers.empty()) {
      for (Answer a : c.referenceAnswers) job.prompter.queue(a);
      cal.start(1);
      EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 30000));
      EXPECT_EQ(job.prompter.unusedAnswers(), 0u);
      EXPECT_NE(view.output.find("Point 1: "), std::string::npos) << view.output;
      if (c.check) c.check(job, view.output.substr(stored.size()));
      // The tool was put in its reference state and back.
      const auto sent = job.station->link().simulator->messagesTo(c.code);
      ASSERT_GE(sent.size(), 3u);
      EXPECT_EQ(sent.back(), (std::vector<std::uint8_t>{3, c.code, 0, 0x65}));
    }
    const auto path = cal.report()->path();
    const std::string report = fileText(path);
    EXPECT_EQ(report.find("KVR Calibration Report "), 0u);
    EXPECT_NE(report.find("Stored calibration: "), std::string::npos);
    EXPECT_EQ(path.parent_path(), job.station->session().sessionFolder());
  }
}

TEST(CalibrationJob, ASilentToolTimesOutAfterAboutFiveSecondsAndTheNextCalibrationWorks) {
  panelsim::Faults faults;
  faults.silentCalibration = true;
  Job job(true, 9, faults);
  job.declare({"SEVO-PT"});
  job.telemetry();
  RecordingCalibrationView view;
  Calibrations dialog(*job.station, job.prompter, job.loop, job.loop.clock(), job.paths, view);
  auto& cal = dialog.manager();
  const auto started = job.loop.now();
  cal.start(0);
  EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 8000));
  EXPECT_NEAR(static_cast<double>(job.loop.now() - started), 5000, 300);
  EXPECT_NE(view.output.find(cal_text::kTimeout), std::string::npos);
  EXPECT_EQ(job.station->link().simulator->messagesTo(232).back(), (std::vector<std::uint8_t>{0x03, 0xE8, 0x00, 0x65}));

  // The counter starts again with its timer: the reference measurement works.
  job.prompter.queue(Answer::Ok);
  job.prompter.queue(Answer::Continue);
  job.prompter.queue(Answer::Continue);
  cal.start(1);
  EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 30000));
  EXPECT_NE(view.output.find("PSCALE"), std::string::npos);
}

TEST(CalibrationJob, TarnBTablesLoadThroughTheDialog) {
  Job job;
  job.declare({"TARNB-FSK"});
  job.telemetry();
  const auto table = job.paths.dataRoot() / "gyro.sct";
  std::ofstream(table) << "KVR SENSOR CORRECTION TABLE 1\r\nSN G-17\r\nDATE 2026-03-14\r\nTYPE 2\r\nROWS 1\r\n"
                          "25 0.1 -0.2 30 31\r\n";
  RecordingCalibrationView view;
  Calibrations dialog(*job.station, job.prompter, job.loop, job.loop.clock(), job.paths, view);
  job.prompter.queueFile(table.string());
  dialog.manager().start(1);
  EXPECT_FALSE(dialog.manager().running());
  EXPECT_NE(view.output.find("Sensor correction table loaded: SN G-17"), std::string::npos) << view.output;
  EXPECT_TRUE(job.station->library().family(224)->correctionTableActive());
  EXPECT_EQ(job.station->library().globals().TARNB_Cal_Sensor_SN, "G-17");
}

// The TARN-C list through the engine: each entry runs the procedure it names.
TEST(CalibrationJob, TarnCReadsItsSetupLoadsATableAndTestsTheGyroTurnOn) {
  Job job;
  job.declare({"TARNC-NSG"});
  job.telemetry();
  RecordingCalibrationView view;
  Calibrations dialog(*job.station, job.prompter, job.loop, job.loop.clock(), job.paths, view);
  auto& cal = dialog.manager();
  EXPECT_EQ(cal.title(), "TARN C Calibration");

  cal.start(0);  // "Read Tool Calibration"
  EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 20000));
  EXPECT_NE(view.output.find("Indexer positions: 0 deg 12, 90 deg 268, 180 deg 524, 270 deg 780\n"), std::string::npos)
      << view.output;
  EXPECT_NE(view.output.find("IMU frequency table (degC,code): 10,40 40,45 70,50 100,55 130,60 150,65 170,70 190,75\n"),
            std::string::npos)
      << view.output;
  EXPECT_NE(view.output.find("Moving detection: GyroX "), std::string::npos) << view.output;
  EXPECT_NE(view.output.find("No sensor correction table is loaded."), std::string::npos);
  EXPECT_EQ(view.output.find("Timeout"), std::string::npos) << view.output;

  job.prompter.queueFile(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct");
  cal.start(1);  // "Load Calibration File"
  EXPECT_FALSE(cal.running());
  EXPECT_NE(view.output.find("Sensor correction table loaded: SN TCX-0417"), std::string::npos) << view.output;
  EXPECT_EQ(job.station->library().globals().TARNC_Cal_Sensor_SN, "TCX-0417");

  cal.start(3);  // "Gyro Turn-On Test"
  EXPECT_TRUE(job.loop.advanceUntil([&] { return !cal.running(); }, 20000));
  EXPECT_NE(view.output.find("TURN-ON active at DTG step "), std::string::npos) << view.output;
  EXPECT_NE(view.output.find("Gyro turn-on test: PASS"), std::string::npos) << view.output;
  const auto sent = job.station->link().simulator->messagesTo(227);
  ASSERT_GE(sent.size(), 2u);
  EXPECT_EQ(sent[sent.size() - 2][3], 0x83);
  EXPECT_EQ(sent[sent.size() - 2][4] & 0x40, 0x40);
  EXPECT_EQ(sent.back()[4] & 0x40, 0);
}

TEST(ToolParametersJob, EditsAreSentAsBytesAtTheSimulatedPanel) {
  Job job;
  job.declare({"BRIX-CCL", "QUIL-GR"});
  ToolParameters params(*job.station);
  auto& editor = params.editor();
  ASSERT_EQ(editor.toolCount(), 2u);
  EXPECT_EQ(editor.title(), "Parameters for BRIX-CCL");
  editor.next();
  EXPECT_EQ(editor.title(), "Parameters for QUIL-GR");
  const std::size_t hv = tools::Quil::kHighVoltage;
  EXPECT_EQ(editor.valueText(hv), "1150.00000");
  struct Case {
    const char* text;
    bool taken;
  } cases[] = {{"12x", false}, {"nan", false}, {"70000", false}, {"", false}, {"300.7", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(editor.commitNumber(hv, c.text), c.taken);
  }
  EXPECT_EQ(editor.valueText(hv), "300.70001") << "the refused texts kept the old value";

  EXPECT_EQ(editor.sendSelected({hv}), 0);
  EXPECT_TRUE(job.prompter.saw(tele_text::kTitleAttention, tele_text::kNoTelemetryForSend));
  job.telemetry();
  EXPECT_EQ(editor.sendSelected({hv}), 1);
  editor.previous();
  ASSERT_TRUE(editor.commitChoice(0, 3));  // CCLGAIN X8: only the index changes
  EXPECT_EQ(editor.record(0).value, 1.0f);
  EXPECT_EQ(editor.valueText(0), "X8");
  EXPECT_EQ(editor.sendAll(), 3);  // CCLGAIN, CCLFILT and HVSET go downhole
  job.loop.advance(500);

  using Bytes = std::vector<std::uint8_t>;
  auto* sim = job.station->link().simulator.get();
  EXPECT_EQ(sim->messagesTo(235), (std::vector<Bytes>{{5, 235, 0x51, 0x02, 0x2C, 0x01}, {5, 235, 0x51, 0x02, 0x2C, 0x01}}));
  EXPECT_EQ(sim->messagesTo(210), (std::vector<Bytes>{{3, 210, 0x21, 3}, {3, 210, 0x22, 1}}));
}

TEST(ToolParametersJob, WithoutAToolStringTheEntriesShowAMessageAndAnEmptyList) {
  Job job;
  EXPECT_FALSE(haveToolString(*job.station, job.prompter));
  EXPECT_TRUE(job.prompter.saw(cal_text::kTitleError, cal_text::kNoToolString));
  ToolParameters params(*job.station);
  EXPECT_FALSE(params.editor().hasTools());
  EXPECT_EQ(params.editor().rowCount(), 0u);
  EXPECT_EQ(params.editor().title(), "Parameters");
  EXPECT_EQ(params.editor().sendAll(), 0);
}

TEST(ParameterReportJob, ASecondReportInTheSessionFolderGetsASuffix) {
  Job job;
  job.declare({"SEVO-PT"});
  const auto first = createReportList(*job.station, job.prompter, job.loop.clock(), job.paths, job.program.systemParameters);
  const auto second = createReportList(*job.station, job.prompter, job.loop.clock(), job.paths, job.program.systemParameters);
  EXPECT_EQ(first.filename(), "ParamterReport.txt");
  EXPECT_EQ(second.filename(), "ParamterReport_1.txt");
  EXPECT_EQ(first.parent_path(), job.station->session().sessionFolder());
  EXPECT_NE(fileText(second).find("Parameters For SEVO:"), std::string::npos);
}

}  // namespace
}  // namespace kvr
