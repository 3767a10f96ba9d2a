// The TARN task panel on the simulated TARN tool, wired as the program wires it: drift stations
// counted down on the window timers, the drift file they append, and its drifts against the
// biases the simulated gyros were given.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/tarn/CTARNProcessing.h"
#include "kvr/tarn/CTARNTaskPanel.h"
#include "kvr/tarn/DriftFile.h"
#include "common/records/LittleEndian.h"
#include "common/records/ToolCodes.h"
#include "toolslib/families/Tarn.h"

namespace kvr::testing {
namespace {

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

panelsim::SimConfig tarnWell() {
  panelsim::SimConfig c;
  c.winch.english = true;
  c.winch.startDepth = 3000;
  c.winch.direction = panelsim::Direction::Still;
  c.well.latitudeDeg = 30;
  c.tarnGyro = {{0.5, -0.3, 0.2}, {30, 0, -12}};  // deg/h, and deg/h per hour
  return c;
}

TEST(TarnPanel, DriftStationsMeasureTheSimulatedGyroBiasesAndTheirDrift) {
  const auto config = tarnWell();
  Job job(config, 9);
  job.declare({"TARN-GYRO"});
  auto* panel = job.station->tarnPanel();
  ASSERT_NE(panel, nullptr) << "the factory opens the panel for a TARN string";
  job.telemetry();
  tarn::CTTPSetup setup;
  setup.timeBetweenStations = 2;
  ASSERT_TRUE(panel->applySetup(setup));

  const std::int64_t firstStart = job.loop.now();
  panel->driftStation();
  EXPECT_EQ(panel->countdownText(), "01m, 00s");
  EXPECT_EQ(panel->countdownColour(), tarn::CountdownColour::Green);
  job.loop.advance(5000);
  EXPECT_EQ(panel->countdownText(), "00m, 55s");
  job.loop.advance(1000);
  EXPECT_EQ(panel->countdownText(), "Cal. Offset") << "even seconds of the last 55";
  panel->driftStation();
  EXPECT_TRUE(panel->running()) << "a second press changes nothing";
  job.loop.advance(54000);
  EXPECT_TRUE(panel->running()) << "60 ticks";
  job.loop.advance(1000);
  ASSERT_FALSE(panel->running()) << "the station ends on the 61st tick";
  const std::int64_t firstEnd = job.loop.now();
  EXPECT_EQ(panel->countdownText(), "02m, 00s");
  EXPECT_EQ(panel->countdownColour(), tarn::CountdownColour::Red);

  // Still and vertical, x to north: the earth rate and the gyro's bias.
  const auto truth = panelsim::sensorTruth(config.well);
  const double firstMid = (static_cast<double>(firstStart) / 1000 + 33) / 3600;  // hours, mid of the offset average
  for (int a = 0; a < 3; ++a)
    EXPECT_NEAR(panel->drifts()[a], truth.rate[a] + config.tarnGyro.at(a, (firstStart / 1000.0) + 30.5), 0.05) << a;

  job.loop.advance(121000);
  EXPECT_EQ(panel->countdownText(), "Meas. Drift");
  EXPECT_EQ(panel->countdownColour(), tarn::CountdownColour::Blue);
  // A log between the stations does not restart the frame numbers.
  ASSERT_TRUE(job.dlg().startLog(kLogStation, true));
  job.loop.advance(2000);
  job.dlg().stopLogging();
  const std::int64_t secondStart = job.loop.now();
  panel->driftStation();
  job.loop.advance(61000);
  ASSERT_FALSE(panel->running());
  EXPECT_EQ(panel->measurementsSaved(), 2);

  const std::string text = readAll(panel->driftFile());
  EXPECT_NE(text.find("\r\nGYRO X Offset = "), std::string::npos) << "lines end in CR LF";
  const auto read = tarn::parseDriftFile(text);
  ASSERT_EQ(read.error, "");
  ASSERT_EQ(read.measurements.size(), 2u);
  const auto& m1 = read.measurements[0];
  const auto& m2 = read.measurements[1];
  EXPECT_EQ(m1.durationMinutes, 1);
  EXPECT_NEAR(m1.depth, 3000, 1);
  EXPECT_NEAR(static_cast<double>(m2.frame - m1.frame), 15.0 * static_cast<double>(job.loop.now() - firstEnd) / 1000, 20)
      << "one counter of received frames";
  const double secondMid = (static_cast<double>(secondStart) / 1000 + 30.5) / 3600;
  for (std::size_t a = 0; a < 3; ++a) {
    // The first station's offsets are its earth rate and bias; the second reads the bias's drift since.
    EXPECT_NEAR(m1.offset[a], truth.rate[a] + config.tarnGyro.at(static_cast<int>(a), firstMid * 3600), 0.05) << a;
    const double change = config.tarnGyro.driftDegPerHourPerHour[a] * (secondMid - firstMid);
    EXPECT_NEAR(m2.drift[a], change, 0.05) << a;
  }
  EXPECT_NEAR(job.station->library().family(records::kTarn)->getParameterList()[tools::Tarn::kGyroOffsetX].value,
              m2.offset[0], 1e-4) << "the drift file quotes the offsets now in use";
}

// A TARN string with telemetry running and one drift station measured.
struct MeasuredTarn {
  MeasuredTarn() : job(tarnWell(), 9) {
    job.declare({"TARN-GYRO"});
    panel = job.station->tarnPanel();
    job.telemetry();
    panel->driftStation();
    job.loop.advance(61000);
  }
  Job job;
  tarn::CTARNTaskPanel* panel = nullptr;
};

TEST(TarnPanel, TheRawFileOfADepthLogNumbersItsFramesAsTheDriftFileDoes) {
  MeasuredTarn t;
  auto& job = t.job;
  auto* panel = t.panel;
  ASSERT_EQ(panel->measurementsSaved(), 1);
  const auto measured = tarn::parseDriftFile(readAll(panel->driftFile()));
  ASSERT_EQ(measured.measurements.size(), 1u);

  ASSERT_TRUE(job.dlg().startLog(kLogUp, false));
  job.loop.advance(2000);
  job.dlg().stopLogging();
  auto raw = job.dlg().outputFile();
  raw.replace_extension(".bin");
  const std::string bytes = readAll(raw);
  ASSERT_GE(bytes.size(), 27u * 20) << raw;
  ASSERT_EQ(bytes.size() % 27, 0u);
  auto frameAt = [&](std::size_t record) {
    return static_cast<long>(records::le::getU32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + record * 27));
  };
  EXPECT_GT(frameAt(0), measured.measurements[0].frame) << "the count goes on across the log start";
  for (std::size_t r = 1; r < bytes.size() / 27; ++r) ASSERT_EQ(frameAt(r), frameAt(r - 1) + 1);
}

TEST(TarnPanel, ProcessingRewritesTheAzimuthOfALogWithTheMeasuredDrifts) {
  MeasuredTarn t;
  auto& job = t.job;
  auto* panel = t.panel;
  ASSERT_TRUE(job.dlg().startLog(kLogUp, false));
  job.loop.advance(20000);
  job.dlg().stopLogging();
  const auto data = job.dlg().outputFile();
  auto raw = data;
  raw.replace_extension(".bin");

  kvr::PosixFileSystem fs;
  tarn::CTARNProcessing processing(job.prompter, fs, job.station->library(), false);
  EXPECT_FALSE(processing.setFreeze(true));
  EXPECT_TRUE(job.prompter.saw("ACTION REJECTED", "During Normal TARN Survey GX and GY must not be Frozen"));
  EXPECT_FALSE(processing.process()) << "nothing loaded yet";
  ASSERT_TRUE(processing.loadDriftFile(panel->driftFile()));
  ASSERT_TRUE(processing.loadDataFile(data));
  EXPECT_FALSE(processing.loadRawFile(data)) << "a data file is no raw file";
  ASSERT_TRUE(processing.loadRawFile(raw));
  processing.initialAzimuth = 100;
  const auto out = processing.process();
  ASSERT_TRUE(out);
  EXPECT_EQ(out->filename(), "ProcessOut.KVR");
  EXPECT_TRUE(job.prompter.saw("MESSAGE", "Proccess Finished !\nResults have been written to file ProcessOut.KVR"));
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 0;
  ASSERT_EQ(job.readBack(*out, rows, width, direction), 0);
  ASSERT_GT(rows.size(), width);
  std::size_t hazi = 0;
  for (const auto& c : job.station->tools().channels())
    if (c.mnemonic == "HAZI") hazi = c.column();
  // A still tool whose drifts are taken out keeps its azimuth: the initial one less 7.5 degrees.
  for (std::size_t r = 0; r < rows.size() / width; ++r) EXPECT_NEAR(rows[r * width + hazi], 92.5, 0.05) << r;
  EXPECT_FALSE(processing.process()) << "ProcessOut.KVR is never replaced";
}

TEST(TarnPanel, ResetHaziAsksFirstAndTheSurveyModeSwitchSetsTheLibrary) {
  Job job(tarnWell(), 9);
  job.declare({"TARN-GYRO"});
  auto* panel = job.station->tarnPanel();
  ASSERT_NE(panel, nullptr);
  auto& globals = job.station->library().globals();
  EXPECT_EQ(globals.TARNSurveyMode, 0);
  panel->setSurveyMode(true);
  EXPECT_EQ(globals.TARNSurveyMode, 1);

  auto* tarn = static_cast<tools::Tarn*>(job.station->library().family(records::kTarn));
  tarn->getParameterList()[tools::Tarn::kInitialAzimuth].value = 42;
  job.prompter.queue(platform::Answer::Cancel);
  panel->resetHazi();
  EXPECT_NE(tarn->holeAzimuth(), 42);
  job.prompter.queue(platform::Answer::Ok);
  panel->resetHazi();
  EXPECT_DOUBLE_EQ(tarn->holeAzimuth(), 42);
  EXPECT_EQ(job.prompter.messages().back().title, "ATTENTION");

  tarn::CTTPSetup bad;
  bad.outputFileName = "../outside";
  EXPECT_FALSE(panel->applySetup(bad));
  EXPECT_EQ(panel->setup().outputFileName, "GyroDriftMeas");
}

}  // namespace
}  // namespace kvr::testing
