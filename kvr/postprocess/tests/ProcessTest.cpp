// "Process" over sessions recorded on the simulated tool: the stations handed to Navikor,
// the calibration choice with its question, the switches, and the refusals.
#include <gtest/gtest.h>

#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/PostProcessManager.h"
#include "kvr/postprocess/tests/ProgramSide.h"
#include "kvr/postprocess/tests/SessionFixture.h"
#include "kvr/postprocess/tests/SimulatedSession.h"

namespace pp = kvr::postprocess;
using namespace kvr::postprocess::testing;
using platform::Answer;
using platform::testing::ScriptedPrompter;

namespace {

std::string withLine(std::string sct, const std::string& key, const std::string& value) {
  const auto at = sct.find("\n" + key + " ");
  const auto end = sct.find_first_of("\r\n", at + 1);
  return sct.replace(at + 1, end - at - 1, key + " " + value);
}

}  // namespace

TEST(Process, TheCalibrationChoice) {
  const std::string same = sampleSct();
  const std::string otherDate = withLine(same, "DATE", "2026-12-01");
  struct Case {
    const char* name;
    bool inStream;
    std::string kvr;
    std::vector<Answer> answers;
    bool asked, rawUsed;
    const char* date;  // in the results header
  };
  const std::vector<Case> cases = {
      {"equal calibrations", true, same, {}, false, false, "2026-11-03"},
      {"mismatch, Yes takes the stream's", true, otherDate, {Answer::Yes}, true, true, "2026-11-03"},
      {"mismatch, No keeps the program's", true, otherDate, {Answer::No}, true, false, "2026-12-01"},
      {"no program calibration", true, "", {}, false, true, "2026-11-03"},
      {"no calibration in the stream", false, same, {}, false, false, "2026-11-03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    SessionPlan plan;
    plan.calibrationInStream = c.inStream;
    SimulatedSession session(folder.path, plan);
    ProgramSide program(c.kvr);
    ASSERT_TRUE(program.manager.load(session.logPath));
    // "Test Complete!" comes first, then the question.
    for (Answer a : c.answers) program.prompter.queue(Answer::Ok), program.prompter.queue(a);
    const auto r = program.manager.process();
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.outputs.size(), 3u);
    EXPECT_EQ(r.rawCalibrationUsed, c.rawUsed);
    EXPECT_EQ(program.prompter.saw("Calibration Selection",
                                   "Calibration mismatch detected.\n\nKVR Calibration:\n  SN: TCX-0417\n  Date: "
                                   "2026-12-01\n\nRAW Calibration:\n  SN: TCX-0417\n  Date: 2026-11-03\n\nDo you "
                                   "want to use RAW calibration?\n\nSelecting NO will keep using the KVR calibration."),
              c.asked);
    EXPECT_EQ(program.traced("RAW calibration could not be loaded. Keeping current KVR calibration."), !c.inStream);
    EXPECT_EQ(program.prompter.unusedAnswers(), 0u);
    std::ifstream las(r.outputs.at(0), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(las), {}};
    EXPECT_NE(text.find(std::string("# Calibration Date: ") + c.date + " \r\n"), std::string::npos);
    // The program's own calibration is back in force after the run.
    EXPECT_EQ(program.tarnC.CheckTARN_C_CorrectionTableActive(), c.kvr.empty() ? 0 : 1);
  }
}

TEST(Process, StationsInLogOrderAndTheMessagesOfARun) {
  TempFolder folder;
  SessionPlan plan;
  plan.stations = 3;
  plan.surveyS = 20;
  SimulatedSession session(folder.path, plan);
  ProgramSide program(sampleSct());
  ASSERT_TRUE(program.manager.load(session.logPath));
  ASSERT_EQ(program.manager.rows().size(), 2u);
  EXPECT_EQ(program.manager.rows()[1][0], "Session_1 [2]");
  EXPECT_EQ(program.manager.rows()[1][1], "N/A");
  EXPECT_EQ(program.manager.rows()[1][3], "123.40");
  EXPECT_EQ(program.manager.rows()[1][9], "0.00");
  program.prompter.clear();
  const auto r = program.manager.process();
  ASSERT_TRUE(r.completed);
  const CNavikor& nav = program.manager.run().navikor();
  ASSERT_EQ(nav.stopCount, 3);
  const auto& events = program.manager.events();
  const auto& stations = program.manager.segments().stations;
  for (int k = 0; k < 3; ++k) {
    const std::size_t i = static_cast<std::size_t>(stations[static_cast<std::size_t>(k)]);
    EXPECT_EQ(events[i - 1].Flag, "START_STATION");
    EXPECT_EQ(nav.stopTable[k].start, events[i - 1].Time);
    EXPECT_EQ(nav.stopTable[k].end, events[i].Time);
  }
  std::vector<std::string> titles;
  for (const auto& m : program.prompter.messages()) titles.push_back(m.title);
  EXPECT_EQ(titles, (std::vector<std::string>{"Test Results", "Survey LAS Complete", "Depth LAS Complete",
                                              "Report Complete"}));
  const long n = static_cast<long>(program.manager.run().samples().size());
  EXPECT_EQ(program.prompter.messages()[0].text,
            pp::format("Test Complete!\n\nCSV Events: %d\nRAW Samples: %ld (%.1f sec)\n\nCheck Output window for "
                       "details.",
                       static_cast<int>(events.size()), n, n / 15.0));
  EXPECT_EQ(program.prompter.messages()[1].text,
            "Survey LAS exported to:\n" + (folder.output() / "MCResults_1.las").string());
  EXPECT_EQ(r.outputs.at(2), (folder.output() / "MCReport_1.txt").string());
  EXPECT_TRUE(program.traced("ProcesarMC complete. Movimientos: 4")) << "one before, two between the stations, one after";
}

TEST(Process, AxisCorrectionTakesTheMountingOfTheCalibrationOrNone) {
  TempFolder folder;
  SessionPlan plan;
  plan.calibrationInStream = false;
  SimulatedSession session(folder.path, plan);
  const std::string tilted = withLine(withLine(sampleSct(), "IMU_TILT", "2"), "IMU_DIRECTION", "30");
  for (bool on : {true, false}) {
    SCOPED_TRACE(on);
    ProgramSide program(tilted);
    ASSERT_TRUE(program.manager.load(session.logPath));
    program.manager.options.axisCorrection = on;
    ASSERT_EQ(program.manager.process().outputs.size(), 3u);
    std::ifstream in(folder.output() / "MCReport_1.txt", std::ios::binary);
    const std::string report{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(report.find(on ? "#Housing Axis : 2.00degrees,30.00degrees" : "#Housing Axis : 0.00degrees,0.00degrees"),
              std::string::npos);
    EXPECT_EQ(program.traced("Applying axis correction based on IMU angle and direction from calibration."), on);
    for (auto which : {pp::Output::SurveyLas, pp::Output::DepthLas, pp::Output::Report})
      std::filesystem::remove(pp::outputPath(session.logPath, which));
  }
}

TEST(Process, RefusalsAndSkippedOutputs) {
  TempFolder folder;
  SimulatedSession session(folder.path, SessionPlan{});
  std::ifstream in(session.logPath, std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(in), {}};
  const auto variant = [&](const std::string& from, const std::string& to) {
    std::string v = log;
    for (auto at = v.find(from); at != std::string::npos; at = v.find(from, at + to.size())) v.replace(at, from.size(), to);
    writeFile(session.logPath, v);
  };
  struct Case {
    const char* name;
    std::string from, to;
    std::string title, text;  // the last message
    std::size_t outputs;
  };
  const std::vector<Case> cases = {
      {"equal positions", ",12,524,", ",12,12,", "ERROR", "Pos0 and Pos180 are the same value. Cannot compute RotPos.", 0},
      {"no END_STATION", "END_STATION", "ANY_STATION", "WARNING",
       "Need at least 2 END_STATION events to define a CONTINUO segment.", 0},
      {"the 180-degree count below the 0-degree one", ",12,524,", ",524,12,", "Report Complete", "", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    variant(c.from, c.to);
    ProgramSide program;
    ASSERT_TRUE(program.manager.load(session.logPath));
    program.prompter.clear();
    const auto r = program.manager.process();
    EXPECT_EQ(r.outputs.size(), c.outputs);
    ASSERT_FALSE(program.prompter.messages().empty());
    EXPECT_EQ(program.prompter.messages().back().title, c.title);
    if (!c.text.empty()) {
      EXPECT_EQ(program.prompter.messages().back().text, c.text);
    }
    if (c.outputs == 0) {
      EXPECT_FALSE(std::filesystem::exists(pp::outputPath(session.logPath, pp::Output::SurveyLas)));
    } else {
      // Signed: count 12 is half a turn from 524, not a wrapped count.
      EXPECT_EQ(program.manager.run().samples().front().rotpos, 180);
      for (auto which : {pp::Output::SurveyLas, pp::Output::DepthLas, pp::Output::Report})
        std::filesystem::remove(pp::outputPath(session.logPath, which));
    }
  }
  // A survey file already there is never replaced; the other two are still written.
  writeFile(session.logPath, log);
  const std::string survey = pp::outputPath(session.logPath, pp::Output::SurveyLas);
  writeFile(survey, "kept");
  ProgramSide program;
  ASSERT_TRUE(program.manager.load(session.logPath));
  const auto r = program.manager.process();
  EXPECT_TRUE(program.prompter.saw("ERROR", "Could not create survey LAS file."));
  EXPECT_EQ(r.outputs.size(), 2u);
  std::ifstream kept(survey, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

TEST(Process, AStreamTooLongForTheTablesIsRefusedBeforeAnythingIsRead) {
  TempFolder folder;
  SimulatedSession session(folder.path, SessionPlan{});
  // A sparse file claiming 2^31 samples: more than Navikor can count.
  const auto raw = folder.output() / "DataSession1.raw";
  std::filesystem::remove(raw);
  writeFile(raw, rawBytes(0xAA, 7, {}));
  std::filesystem::resize_file(raw, 7 + 120 * (std::uintmax_t{1} << 31));
  ProgramSide program;
  ASSERT_TRUE(program.manager.load(session.logPath));
  const auto r = program.manager.process();
  EXPECT_FALSE(r.completed);
  EXPECT_TRUE(program.prompter.saw("ERROR", "Not enough memory for the 2147483648 samples of the RAW file."));
  EXPECT_TRUE(program.manager.run().samples().empty());
}
