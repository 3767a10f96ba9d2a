// A survey recorded on the simulated tool and processed as the manager does: a straight
// hole at latitude 40, inclination 30, azimuth 123.4; three north-seeking stations; two
// continuous surveys of three minutes going down the hole with the tool turning at 0.3
// degrees a second; accelerometer noise 1e-4 g, gyro noise 0.5 deg/h per frame and a gyro
// bias of a few tenths of a degree an hour that no station removes. Each sample's attitude
// in MCResults is held against the simulated truth, once anchored at every station and
// once from the first station alone, which shows the drift the later stations take out.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/tests/ProgramSide.h"
#include "kvr/postprocess/tests/SessionFixture.h"
#include "kvr/postprocess/tests/SimulatedSession.h"

namespace pp = kvr::postprocess;
using namespace kvr::postprocess::testing;

namespace {

double angleDiff(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d < -180) d += 360;
  return std::fabs(d);
}

struct Errors {
  double devi = 0, azi = 0, hstf = 0;
  void take(double d, double a, double h) { devi = std::max(devi, d), azi = std::max(azi, a), hstf = std::max(hstf, h); }
};

// Processes the session's log as it is now and compares MCResults with the truth: the worst
// over every sample, and the worst over the samples between `from` and `to` seconds.
struct Processed {
  Errors all, window;
  int movements = 0;
};

Processed process(const SimulatedSession& session, double from, double to) {
  ProgramSide program(sampleSct());
  auto& manager = program.manager;
  Processed p;
  EXPECT_TRUE(manager.load(session.logPath));
  const auto r = manager.process();
  EXPECT_EQ(r.outputs.size(), 3u);
  if (r.outputs.empty()) return p;
  std::ifstream in(r.outputs[0], std::ios::binary);
  std::string line;
  while (std::getline(in, line) && line.rfind("~A", 0) != 0) {
  }
  const auto& samples = manager.run().samples();
  std::size_t k = 0;
  for (; std::getline(in, line) && k < samples.size(); ++k) {
    double time, temp, devi, azi, hstf, tf;
    std::istringstream row(line);
    EXPECT_TRUE(row >> time >> temp >> devi >> azi >> hstf >> tf) << line;
    const POS_PARAM truth = session.truthAt(samples[k].time);
    const double d = std::fabs(devi - SimulatedSession::deg(truth.Devi));
    const double a = angleDiff(azi, SimulatedSession::deg(truth.Azi));
    const double h = angleDiff(hstf, SimulatedSession::deg(truth.Hstf));
    p.all.take(d, a, h);
    if (samples[k].time >= from && samples[k].time <= to) p.window.take(d, a, h);
  }
  EXPECT_EQ(k, samples.size());
  p.movements = manager.run().navikor().movementCount;
  for (auto which : {pp::Output::SurveyLas, pp::Output::DepthLas, pp::Output::Report})
    std::filesystem::remove(pp::outputPath(session.logPath, which));
  return p;
}

}  // namespace

TEST(Accuracy, ContinuousSurveyTracksTheSimulatedWell) {
  TempFolder folder;
  SessionPlan plan;
  plan.stations = 3;
  plan.surveyS = 180;
  plan.gyroNoise = 0.5;
  plan.gyroBias[0] = 0.3, plan.gyroBias[1] = -0.2, plan.gyroBias[2] = 0.1;
  SimulatedSession session(folder.path, plan);
  std::ifstream in(session.logPath, std::ios::binary);
  const std::string log{std::istreambuf_iterator<char>(in), {}};
  // The second station: where the first survey closes.
  const auto second = log.find("END_STATION", log.find("END_STATION") + 1);
  const double closing = std::stod(log.substr(log.rfind('\n', second) + 1));

  const Processed anchored = process(session, closing - 1, closing);
  EXPECT_EQ(anchored.movements, 4);
  // Measured: inclination 0.01, azimuth 0.02, high-side toolface 0.03 degrees at worst (the
  // rows carry two decimals).
  EXPECT_LE(anchored.all.devi, 0.02);
  EXPECT_LE(anchored.all.azi, 0.04);
  EXPECT_LE(anchored.all.hstf, 0.06);

  // Only the first station kept: the attitude runs free through the first survey, and the
  // error where it would have closed is what the station match removes.
  std::string firstOnly = log;
  for (auto at = firstOnly.find("END_STATION", firstOnly.find("END_STATION") + 1); at != std::string::npos;
       at = firstOnly.find("END_STATION", at + 1))
    firstOnly.replace(at, 11, "END_STATIOX");
  writeFile(session.logPath, firstOnly);
  const Processed free = process(session, closing - 1, closing);
  EXPECT_EQ(free.movements, 2);
  // Measured: inclination 0.00, azimuth 0.01, high-side toolface 0.00 degrees in the last
  // second before the closing station.
  EXPECT_LE(free.window.devi, 0.02);
  EXPECT_LE(free.window.azi, 0.03);
  EXPECT_LE(free.window.hstf, 0.03);
  std::printf("anchored at every station, worst per sample: inclination %.3f, azimuth %.3f, high-side toolface "
              "%.3f deg\nfrom the first station alone, at the closing station: inclination %.3f, azimuth %.3f, "
              "high-side toolface %.3f deg\n",
              anchored.all.devi, anchored.all.azi, anchored.all.hstf, free.window.devi, free.window.azi,
              free.window.hstf);
}
