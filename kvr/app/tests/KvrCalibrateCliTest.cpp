// kvr-calibrate as scripts use it: one calibration end to end and the report it names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr/app/tests/RunProgram.h"
#include "platform/testing/TempPaths.h"

namespace {

using kvr::testing::readAll;

int run(const std::vector<std::string>& args, std::string& out) {
  return kvr::testing::runProgram(KVR_CALIBRATE, args, out);
}

TEST(KvrCalibrate, RunsOneCalibrationAndPrintsItsReport) {
  platform::testing::TempPaths paths;
  const std::string root = paths.dataRoot().string();
  std::string text;
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* shows;
  } cases[] = {
      {{"--root", root, "--tools", "BRIX-CCL,SEVO-PT", "--tool", "SEVO-PT", "--calibration", "2", "--yes"}, 0, "PSCALE"},
      {{"--root", root, "--tools", "DUNE-ROLA", "--calibration", "1"}, 0, "Stored calibration: DUNE SN"},
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "2"}, 1, "SEVO Calibration"},  // Cancel
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "1", "--fault", "silent-calibration"}, 1,
       "Timeout Error"},
      {{"--root", root, "--tools", "SEVO-PT", "--calibration", "3"}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[3] + " " + c.args[c.args.size() - 1]);
    EXPECT_EQ(run(c.args, text), c.code) << text;
    EXPECT_NE(text.find(c.shows), std::string::npos) << text;
    if (c.code == 0) {
      const auto at = text.find("file: ");
      ASSERT_NE(at, std::string::npos);
      const std::string path = text.substr(at + 6, text.find('\n', at) - at - 6);
      EXPECT_EQ(readAll(path).find("KVR Calibration Report"), 0u);
    }
  }
  EXPECT_EQ(run({"--help"}, text), 0);
  EXPECT_NE(text.find("usage: kvr-calibrate"), std::string::npos);
  EXPECT_EQ(run({"--root", root, "--tools", "SEVO-PT", "--calibration", "x"}, text), 2);
  EXPECT_EQ(run({"--no-such-option"}, text), 2);
}

}  // namespace
