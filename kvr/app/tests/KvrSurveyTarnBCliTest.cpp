// kvr-survey as scripts use it: a TARN-B multishot and a TARN drift survey end to end, with the
// files each names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kvr/app/tests/RunProgram.h"
#include "platform/testing/TempPaths.h"

namespace {

using kvr::testing::readAll;

int run(const std::vector<std::string>& args, std::string& out) {
  return kvr::testing::runProgram(KVR_SURVEY, args, out);
}


TEST(KvrSurvey, RunsATarnBMultishotAndATarnDriftSurvey) {
  platform::testing::TempPaths paths;
  const std::string root = paths.dataRoot().string();
  std::string out;
  ASSERT_EQ(run({"--root", root, "--tools", "TARNB-FSK", "--stations", "2", "--station-time", "30", "--inclination",
                 "20", "--azimuth", "150", "--las"},
                out),
            0)
      << out;
  auto files = platform::testing::printedFiles(out);
  ASSERT_EQ(files.size(), 4u) << out;  // two stations, the report and its column file
  const std::string report = readAll(files[2]);
  EXPECT_NE(report.find("Hole Azimuth  :  150."), std::string::npos) << report;
  EXPECT_EQ(readAll(files[3]).rfind("DEPTH       DEVI     HAZI\r\n", 0), 0u);

  ASSERT_EQ(run({"--root", root, "--tools", "TARN-GYRO", "--stations", "2", "--gyro-bias", "0.5,0.2,-0.1"}, out),
            0)
      << out;
  files = platform::testing::printedFiles(out);
  ASSERT_EQ(files.size(), 1u) << out;
  EXPECT_NE(readAll(files[0]).find("GYRO Y Offset = 0.19"), std::string::npos) << "the earth's nothing and the bias";

  EXPECT_EQ(run({"--root", root, "--tools", "TARN-GYRO", "--station-time", "90"}, out), 2) << "whole minutes";
  EXPECT_EQ(run({"--root", root, "--tools", "TARNB-FSK", "--gyro-bias", "1,2"}, out), 2);
  // A TARN-C string goes to the TARN-C survey, which needs the well's attitude.
  EXPECT_EQ(run({"--root", root, "--tools", "TARNC-NSG"}, out), 2);
}

}  // namespace
