#include <gtest/gtest.h>

#include "kvr/tarn/CTARNTaskPanel.h"
#include "kvr/tarn/DriftFile.h"

namespace kvr::tarn {
namespace {

DriftMeasurement sample(long frame, double x) {
  DriftMeasurement m;
  m.depth = 1234.5, m.hour = 9, m.minute = 5, m.second = 7, m.durationMinutes = 1, m.frame = frame;
  m.offset = {x, -2.5, 7.25};
  m.drift = {0.125, -0.0625, 3.4377};
  return m;
}

TEST(DriftFile, MeasurementsReadBackWhateverTheLineEnds) {
  const std::string text = formatDriftMeasurement(sample(900, 1.5)) + "\n" + formatDriftMeasurement(sample(9900, 3.5));
  EXPECT_EQ(text.substr(0, text.find('\n') + 1), "Depth: 1234.500000, Time: 09:05:07, Duration: 1, Frame No: 900\n");
  for (const std::string eol : {"\n", "\r\n", "\r"}) {
    std::string t;
    for (char c : text) t += c == '\n' ? eol : std::string(1, c);
    const auto r = parseDriftFile(t);
    ASSERT_EQ(r.error, "");
    ASSERT_EQ(r.measurements.size(), 2u);
    EXPECT_EQ(r.measurements[1].frame, 9900);
    EXPECT_DOUBLE_EQ(r.measurements[0].offset[0], 1.5);
    EXPECT_DOUBLE_EQ(r.measurements[0].drift[2], 3.4377);
    EXPECT_EQ(r.measurements[0].minute, 5);
  }
  const auto r = parseDriftFile(text);
  EXPECT_DOUBLE_EQ(offsetsAtFrame(r.measurements, 5400)[0], 2.5) << "halfway between the measurements";
  EXPECT_DOUBLE_EQ(offsetsAtFrame(r.measurements, 0)[0], 1.5);
  EXPECT_DOUBLE_EQ(offsetsAtFrame(r.measurements, 1e9)[0], 3.5);
}

TEST(DriftFile, DamagedOrOverfullFilesAreRefused) {
  const std::string one = formatDriftMeasurement(sample(1, 0));
  std::string many;
  for (std::size_t i = 0; i <= kMaxDriftMeasurements; ++i) many += one;
  struct Case {
    const char* what;
    std::string text;
    std::string error;
    std::size_t read;
  };
  const Case cases[] = {
      {"an empty file", "", "", 0},
      {"a cut measurement", one.substr(0, one.size() / 2), "Line 2 is not the GYRO X line of a drift measurement.", 0},
      {"axes out of order", "Depth: 1, Time: 1:2:3, Duration: 1, Frame No: 5\nGYRO Y Offset = 1, Drift = 1 deg/h\n",
       "Line 2 is not the GYRO X line of a drift measurement.", 0},
      {"text after a number", "Depth: 1x, Time: 1:2:3, Duration: 1, Frame No: 5\n",
       "Line 1 is not a drift measurement's first line.", 0},
      {"no number", "Depth: nan, Time: 1:2:3, Duration: 1, Frame No: 5\n", "Line 1 is not a drift measurement's first line.", 0},
      {"201 measurements", many, kTooManyDriftPoints, kMaxDriftMeasurements},
  };
  for (const auto& c : cases) {
    const auto r = parseDriftFile(c.text);
    EXPECT_EQ(r.error, c.error) << c.what;
    EXPECT_EQ(r.measurements.size(), c.read) << c.what;
  }
}

TEST(TarnSetup, TimesOfZeroAndNamesOutsideTheSessionFolderAreRefused) {
  const std::pair<CTTPSetup, bool> cases[] = {
      {{}, true},
      {{10, 0, "GyroDriftMeas"}, false},
      {{0, 1, "GyroDriftMeas"}, false},
      {{10, 1, "../escape"}, false},
      {{10, 1, ".."}, false},
      {{10, 1, "a/b"}, false},
      {{10, 1, ""}, false},
      {{5, 2, "Run 2"}, true},
  };
  for (const auto& [setup, accepted] : cases) EXPECT_EQ(!setup.refusal(), accepted) << setup.outputFileName;
}

}  // namespace
}  // namespace kvr::tarn
