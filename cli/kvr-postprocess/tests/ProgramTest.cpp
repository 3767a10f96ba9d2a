// kvr-postprocess on sessions recorded on the simulated tool: the files it prints, the
// calibration it is told to take, and its failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "kvr/postprocess/tests/SessionFixture.h"
#include "kvr/postprocess/tests/SimulatedSession.h"
#include "platform/testing/RunCommand.h"

using namespace kvr::postprocess::testing;

namespace {

using platform::testing::shellWord;

// kvr-postprocess with its arguments; standard output and error together.
platform::testing::CommandResult run(const std::string& args) {
  return platform::testing::runCommand(shellWord(std::string(KVR_POSTPROCESS)) + " " + args);
}

}  // namespace

TEST(KvrPostprocess, WritesTheThreeFilesAndNamesThem) {
  TempFolder folder;
  SimulatedSession session(folder.path, SessionPlan{});
  const auto o = run(shellWord(session.logPath) + " --latitude 40");
  EXPECT_EQ(o.status, 0) << o.out;
  for (const char* name : {"MCResults_1.las", "MCDepth_1.las", "MCReport_1.txt"}) {
    EXPECT_NE(o.out.find("file: " + (folder.output() / name).string() + "\n"), std::string::npos) << o.out;
    EXPECT_TRUE(std::filesystem::exists(folder.output() / name));
  }
  // A second run never replaces them and says so.
  const auto again = run(shellWord(session.logPath));
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.out.find("ERROR: Could not create survey LAS file."), std::string::npos) << again.out;
}

TEST(KvrPostprocess, TheCalibrationItIsTold) {
  TempFolder folder;
  SessionPlan plan;
  plan.calibrationInStream = false;
  SimulatedSession session(folder.path, plan);
  const auto raw = run(shellWord(session.logPath) + " --calibration raw");
  EXPECT_EQ(raw.status, 1);
  EXPECT_NE(raw.out.find("ERROR: The RAW file holds no calibration."), std::string::npos) << raw.out;
  const auto kvr = run(shellWord(session.logPath) + " --calibration kvr");
  EXPECT_EQ(kvr.status, 1);
  EXPECT_NE(kvr.out.find("ERROR: No KVR calibration is loaded."), std::string::npos) << kvr.out;
  const auto sct = folder.path / "table.sct";
  writeFile(sct, sampleSct());
  const auto good = run(shellWord(session.logPath) + " --calibration kvr --sct " + shellWord(sct));
  EXPECT_EQ(good.status, 0) << good.out;
}

TEST(KvrPostprocess, AMissingLogIsAnError) {
  TempFolder folder;
  const auto o = run(shellWord(folder.output() / "Session_9.csv"));
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.out.find("ERROR: Could not open the CSV session file."), std::string::npos) << o.out;
}
