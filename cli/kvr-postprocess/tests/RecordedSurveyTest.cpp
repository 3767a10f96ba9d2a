// A session recorded by kvr-survey on the simulated tool (station, continuous survey with the
// tool turning, reset station), post-processed by kvr-postprocess: every sample's attitude in
// MCResults against the simulated well.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/testing/RunCommand.h"
#include "platform/testing/TempPaths.h"

namespace {

using platform::testing::printedFiles;
using platform::testing::runCommand;
using platform::testing::shellWord;

// The time of the first event of that name in the session event log.
double eventTime(const std::string& log, const std::string& name) {
  std::ifstream in(log, std::ios::binary);
  for (std::string line; std::getline(in, line);)
    if (line.find("," + name) != std::string::npos) return std::atof(line.c_str());
  return -1;
}

// Field 'field' (from 0) of the last row of that name.
double lastEventField(const std::string& log, const std::string& name, int field) {
  std::ifstream in(log, std::ios::binary);
  double value = -1;
  for (std::string line; std::getline(in, line);) {
    if (line.find("," + name) == std::string::npos) continue;
    const char* p = line.c_str();
    for (int i = 0; i < field && p; ++i) {
      p = std::strchr(p, ',');
      if (p) ++p;
    }
    if (p) value = std::atof(p);
  }
  return value;
}

double angleDiff(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

}  // namespace

// The simulated well: latitude 40, inclination 30, azimuth 123.4, toolface 40; white gyro noise
// 0.05 deg/h and accelerometer noise 1e-4 g per frame. During the 50 m survey down the tool turns
// at 0.15 deg/s (45 degrees). The stations alone are the bounds' floor: the indexer's positions
// go to the station in whole degrees and its stops are within two counts (0.7 degree), which
// moves a station's azimuth by up to about 0.2 degree and its toolface by up to 1 degree.
// The reset station's move to 0 is made before it starts, so the indexer turns (three counts,
// 1.05 degrees, here) between moving samples, where the gyros saturate: it must be followed from
// the indexer angle, or the station match spreads it over the survey as a toolface ramp.
// Measured: inclination within 0.01 degree on every sample, azimuth within 0.25; the toolface
// error is the reset station's own (0.70 degree: it stops two counts off its table), brought in
// over the survey by the station match, so no sample is further off than that station plus a
// hundredth.
TEST(RecordedSurvey, EverySampleOfAContinuousSurveyTracksTheSimulatedWell) {
  platform::testing::TempPaths paths;
  const std::string sct = std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct";
  const auto survey =
      runCommand(shellWord(KVR_SURVEY) + " --root " + shellWord(paths.dataRoot()) +
                 " --user Ann --client Acme --well W-1 --tools TARNC-NSG --latitude 40 --inclination 30 --azimuth 123.4"
                 " --toolface 40 --stations 2 --survey down --length 50 --speed 10 --gyro-noise 0.05 --acel-noise 1e-4"
                 " --toolface-rate 0.15 --yes --sct " + shellWord(sct));
  ASSERT_EQ(survey.status, 0) << survey.out;
  const auto logs = printedFiles(survey.out, ".csv");
  ASSERT_FALSE(logs.empty()) << survey.out;
  const std::string log = logs.front();
  const auto processed = runCommand(shellWord(KVR_POSTPROCESS) + " " + shellWord(log) +
                                    " --latitude 40 --calibration raw --sct " + shellWord(sct));
  ASSERT_EQ(processed.status, 0) << processed.out;
  const auto outputs = printedFiles(processed.out, ".las");
  ASSERT_FALSE(outputs.empty()) << processed.out;
  const std::string results = outputs.front();
  ASSERT_NE(results.find("MCResults"), std::string::npos) << processed.out;

  const double start = eventTime(log, "START_SURVEYDOWN"), stop = eventTime(log, "STOP_SURVEY");
  ASSERT_GT(stop, start + 200) << "the survey runs 300 s";
  std::ifstream in(results, std::ios::binary);
  bool data = false;
  int samples = 0, turning = 0;
  double worstInclination = 0, worstAzimuth = 0, worstToolface = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("~A", 0) == 0) {
      data = true;
      continue;
    }
    double t = 0, temp = 0, devi = 0, azi = 0, hstf = 0, tf = 0;
    if (!data || std::sscanf(line.c_str(), "%lf %lf %lf %lf %lf %lf", &t, &temp, &devi, &azi, &hstf, &tf) != 6) continue;
    ++samples;
    const double turned = 0.15 * (std::clamp(t, start, stop) - start);
    if (t > start && t < stop) ++turning;
    worstInclination = std::max(worstInclination, std::fabs(devi - 30));
    worstAzimuth = std::max(worstAzimuth, angleDiff(azi, 123.4));
    worstToolface = std::max(worstToolface, angleDiff(hstf, 40 + turned));
  }
  EXPECT_GT(samples, 6000);
  EXPECT_GT(turning, 4000);
  EXPECT_LT(worstInclination, 0.05);
  EXPECT_LT(worstAzimuth, 0.3);
  const double closing = angleDiff(lastEventField(log, "END_STATION", 4), 40 + 0.15 * (stop - start));
  EXPECT_LT(closing, 0.8) << "the reset station's toolface";
  EXPECT_LT(worstToolface, closing + 0.02);
}
