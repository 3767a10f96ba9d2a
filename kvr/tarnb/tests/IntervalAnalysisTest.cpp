#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "kvr/tarnb/IntervalAnalysis.h"
#include "kvr/tarnb/TarnBReports.h"
#include "panelsim/ToolModels.h"

namespace kvr::tarnb {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(FilteredMean, ReplacesOutliersAfterTheFifthValueOnlyAndNaNAlways) {
  struct Case {
    const char* what;
    std::vector<double> values;
    double threshold;
    bool filter, circular;
    double mean;
  };
  const Case cases[] = {
      {"the first five are never replaced", {100, 0, 0, 0, 0}, 1, true, false, 20},
      {"the sixth beyond the threshold is", {0, 0, 0, 0, 0, 100}, 1, true, false, 0},
      {"exactly the threshold away stays", {0, 0, 0, 0, 0, 1}, 1, true, false, 1.0 / 6},
      {"without the filter every value counts", {0, 0, 0, 0, 0, 100}, 1, false, false, 100.0 / 6},
      {"a missing value is the mean so far", {2, kNaN, 2}, 1, true, false, 2},
      {"angles average across north", {359, 1, 359, 1}, 0.25, true, true, 0},
      {"angles stay in their range", {179, -179}, 0.25, true, true, 180},
      {"a signed range stays signed", {-170, -10, -170, -10}, 360, true, true, -90},
      {"an outlier across north is caught", {359.9, 0.1, 359.9, 0.1, 0, 90}, 0.25, true, true, 0},
  };
  for (const auto& c : cases) {
    FilteredMean m(c.threshold, c.circular);
    for (double v : c.values) m.add(v, c.filter);
    EXPECT_NEAR(m.mean(), c.mean, 1e-9) << c.what;
  }
}

TEST(StationHeading, GivesTheAzimuthAndToolfaceOfTheSimulatedWell) {
  struct Case {
    double latitude, inclination, azimuth, toolface, expectedToolface;
  };
  const Case cases[] = {{30, 30, 45, 0, 45}, {30, 10, 200, 77, 277.190937}, {-20, 60, 300, 150, 70.893395},
                        {45, 89, 100, 10, 184.347417}};
  for (const auto& c : cases) {
    panelsim::Well well;
    well.latitudeDeg = c.latitude, well.inclinationDeg = c.inclination, well.azimuthDeg = c.azimuth,
    well.toolfaceDeg = c.toolface;
    const auto t = panelsim::sensorTruth(well);
    // The tool's axes: z up-hole.
    const Heading h = stationHeading(t.rate[0], -t.rate[1], t.gravity[0], -t.gravity[1], -t.gravity[2], c.latitude);
    EXPECT_NEAR(h.azimuth, c.azimuth, 1e-6);
    EXPECT_NEAR(h.toolface, c.expectedToolface, 1e-5);
  }
}

TEST(TarnBReports, LatitudesAreTruncatedTowardZeroAndGradesTakeTheirLimitsInclusive) {
  EXPECT_EQ(latitudeText("Well Latitude", 10.5), "Well Latitude: 10 30' 0\"\n\n");
  EXPECT_EQ(latitudeText("Well Latitude", -10.5), "Well Latitude: -10 -30' 0\"\n\n");
  EXPECT_STREQ(grade(0.015, 0.015, 0.02), "PASS");
  EXPECT_STREQ(grade(-0.019, 0.015, 0.02), "FAIR");
  EXPECT_STREQ(grade(0.021, 0.015, 0.02), "NOT PASS");
  EXPECT_STREQ(grade(std::numeric_limits<double>::infinity(), 0.015, 0.02), "NOT PASS") << "a zero denominator";
  EXPECT_STREQ(grade(kNaN, 0.015, 0.02), "NOT PASS");
}

}  // namespace
}  // namespace kvr::tarnb
