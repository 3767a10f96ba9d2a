// kvr-survey as scripts use it: a station, a continuous survey and a reset station on the
// simulated well, and the refusals.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/testing/RunCommand.h"
#include "platform/testing/TempPaths.h"

namespace {

// kvr-survey with its arguments: what it printed on standard output, and its status.
std::string run(const std::string& args, int& status) {
  const auto r = platform::testing::runCommand(std::string(KVR_SURVEY) + " " + args,
                                               platform::testing::StandardError::Dropped);
  status = r.status;
  return r.out;
}

}  // namespace

TEST(KvrSurvey, StationsAndAContinuousSurveyGiveTheirFiles) {
  platform::testing::TempPaths paths;
  int status = -1;
  const std::string job = "--root '" + paths.dataRoot().string() + "' --user Ann --client Acme --well W-1 --tools TARNC-NSG";
  const std::string out = run(job + " --latitude 40 --inclination 30 --azimuth 123.4 --toolface 50 --stations 2"
                                    " --survey down --length 10 --station-time 20 --sct '" VAREXA_SOURCE_ROOT
                                    "/data/TCX-0417.sct' --yes",
                              status);
  ASSERT_EQ(status, 0) << out;
  std::istringstream in(out);
  int files = 0, stations = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("file: ", 0) == 0) {
      ++files;
      EXPECT_TRUE(std::filesystem::exists(line.substr(6))) << line;
    }
    double devi = 0, azi = 0, tf = 0, hstf = 0;
    int n = 0;
    if (std::sscanf(line.c_str(), "station %d: deviation %lf azimuth %lf toolface %lf hstf %lf", &n, &devi, &azi, &tf,
                    &hstf) == 5) {
      ++stations;
      EXPECT_NEAR(devi, 30, 0.1);
      EXPECT_NEAR(azi, 123.4, 0.5);  // the indexer stops within two counts (0.7 degrees) of its table
      EXPECT_NEAR(hstf, 50, 1.0);
    }
  }
  EXPECT_EQ(files, 5);  // the continuous log, the report pair, the event log, the raw stream
  EXPECT_EQ(stations, 2);
  EXPECT_EQ(run(job + " --latitude 40 --inclination 30 --azimuth 0 --toolface 0", status), std::string());
  EXPECT_EQ(status, 1);  // no calibration and no --yes: the station is refused
  run("--latitude 40", status);
  EXPECT_EQ(status, 2);
}

// The roll test and the axis correction headless: a simulated operator turns the horizontal
// tool as the prompts ask. A correctly calibrated tool passes its offsets and gains; the
// symmetry lines also see the indexer stopping up to two counts off its table.
TEST(KvrSurvey, RollTestAndAxisCorrectionWriteGradedReports) {
  platform::testing::TempPaths paths;
  const std::string job = "--root '" + paths.dataRoot().string() +
                          "' --user Ann --client Acme --well W-1 --tools TARNC-NSG --latitude 40 --inclination 90"
                          " --azimuth 90 --toolface 0 --station-time 20 --gyro-bias 0,0,0 --sct '" VAREXA_SOURCE_ROOT
                          "/data/TCX-0417.sct' --yes";
  for (const char* procedure : {"--roll-test", "--axis-correction"}) {
    int status = -1;
    const std::string out = run(job + " " + procedure, status);
    ASSERT_EQ(status, 0) << procedure << "\n" << out;
    std::istringstream in(out);
    std::string file;
    int graded = 0;
    for (std::string line; std::getline(in, line);) {
      if (line.rfind("file: ", 0) == 0) file = line.substr(6);
      graded += line.find(" - Limit: ") != std::string::npos || line.rfind("Temperature", 0) == 0;
      // The axis correction reads its turns with the roll test's formulas: only its offsets mean anything.
      const bool roll = std::string(procedure) == "--roll-test";
      if (line.find("Offset") != std::string::npos || (roll && line.find("Gain") != std::string::npos)) {
        EXPECT_NE(line.find(" - PASS - "), std::string::npos) << line;
      }
    }
    EXPECT_EQ(std::filesystem::path(file).filename(),
              std::string(procedure) == "--roll-test" ? "RollTest.txt" : "AxisCorrection.txt");
    EXPECT_TRUE(std::filesystem::exists(file)) << file;
    EXPECT_EQ(graded, 13) << out;  // the temperature and six lines an axis
  }
  int status = -1;
  EXPECT_EQ(run(job + " --roll-test --axis-correction", status), std::string());
  EXPECT_EQ(status, 2);
}
