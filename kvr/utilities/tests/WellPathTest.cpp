// Station reading and the minimum-curvature path.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "kvr/utilities/WellPath.h"

namespace kvr::utilities {
namespace {

WellPathResult pathOf(const std::string& text, std::size_t maxRows = kMaxPathRows) {
  StationReader reader(text);
  return computeWellPath(reader, maxRows);
}

TEST(WellPath, VerticalStationsOnlyGainDepth) {
  auto p = pathOf("1000 0 0\n1100 0 0\n");
  ASSERT_EQ(p.outcome, WellPathResult::Outcome::Complete);
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_EQ(p.rows[0].tvd, 0.0f);
  EXPECT_EQ(p.rows[0].md, 1000.0f);
  EXPECT_FLOAT_EQ(p.rows[1].tvd, 100.0f);
  EXPECT_EQ(p.rows[1].ns, 0.0f);
  EXPECT_EQ(p.rows[1].ew, 0.0f);
}

TEST(WellPath, QuarterCircleEndsAtTwoRadiiOverPiTimesSin45OnEachAxis) {
  auto p = pathOf("0 0 0\n100 90 90\n");
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_NEAR(p.rows[1].tvd, 63.66, 0.005);
  EXPECT_NEAR(p.rows[1].ew, 63.66, 0.005);
  EXPECT_NEAR(p.rows[1].ns, 0.0, 1e-5);
  EXPECT_FLOAT_EQ(p.rows[1].tvd, static_cast<float>(200 / kPi));
  EXPECT_EQ(p.rows[1].inclination, 90.0f);
  EXPECT_EQ(p.rows[1].azimuth, 90.0f);
}

// The worked minimum-curvature example of "Formulas and Calculations for Drilling,
// Production and Workover" (second edition): 3500 ft at 15 deg / 20 deg to 3600 ft at
// 25 deg / 45 deg gives North 27.22 ft, East 19.45 ft and TVD 94.01 ft.
TEST(WellPath, ReproducesThePublishedTwoStationExample) {
  auto p = pathOf("3500 15 20\n3600 25 45\n");
  ASSERT_EQ(p.rows.size(), 2u);
  EXPECT_NEAR(p.rows[1].ns, 27.22, 0.005);
  EXPECT_NEAR(p.rows[1].ew, 19.45, 0.005);
  EXPECT_NEAR(p.rows[1].tvd, 94.01, 0.005);
}

// Minimum curvature is exact on a circular arc in a vertical plane: a build of 10 degrees
// per 100 along azimuth 30 lies on a circle of radius R = 100 / (10 deg in radians), with
// TVD = R sin I and horizontal departure R (1 - cos I) at inclination I. Every station
// must land there to the precision of the 32-bit table.
TEST(WellPath, MultiStationBuildArcLandsOnItsCircle) {
  std::string text;
  for (int k = 0; k <= 9; ++k) text += std::to_string(2000 + 100 * k) + " " + std::to_string(10 * k) + " 30\n";
  auto p = pathOf(text);
  ASSERT_EQ(p.rows.size(), 10u);
  const double r = 100 / (10 * kPi / 180);
  const double az = 30 * kPi / 180;
  for (int k = 0; k <= 9; ++k) {
    SCOPED_TRACE(k);
    double inc = 10 * k * kPi / 180;
    double h = r * (1 - std::cos(inc));
    EXPECT_FLOAT_EQ(p.rows[k].tvd, static_cast<float>(r * std::sin(inc)));
    EXPECT_FLOAT_EQ(p.rows[k].ns, static_cast<float>(h * std::cos(az)));
    EXPECT_FLOAT_EQ(p.rows[k].ew, static_cast<float>(h * std::sin(az)));
  }
}

TEST(WellPath, DepthsThatRunBackOrRepeatUseTheDistanceBetweenThem) {
  auto p = pathOf("500 0 0\n400 0 0\n400 0 0\n");
  ASSERT_EQ(p.rows.size(), 3u);
  EXPECT_FLOAT_EQ(p.rows[1].tvd, 100.0f);
  EXPECT_FLOAT_EQ(p.rows[2].tvd, 100.0f);
  EXPECT_FLOAT_EQ(p.rows[2].md, 400.0f);
}

TEST(WellPath, OppositeDirectionsGiveNoDisplacementAndNoNaN) {
  // t1 + t2 is zero: the last divisor is kept and the segment adds nothing.
  auto p = pathOf("0 90 0\n100 90 180\n200 90 180\n");
  ASSERT_EQ(p.rows.size(), 3u);
  EXPECT_FALSE(std::isnan(p.rows[1].ns));
  EXPECT_NEAR(p.rows[1].ns, 0.0, 1e-4);
  EXPECT_NEAR(p.rows[2].ns, -100.0, 1e-4);
}

TEST(WellPath, StopsAtTheRowLimitWhenStationsRemain) {
  std::string text;
  for (int k = 0; k < 10500; ++k) text += std::to_string(k) + " 0 0\n";
  auto p = pathOf(text);
  EXPECT_EQ(p.outcome, WellPathResult::Outcome::Truncated);
  ASSERT_EQ(p.rows.size(), kMaxPathRows);
  EXPECT_FLOAT_EQ(p.rows.back().md, 9999.0f);

  auto exact = pathOf("0 0 0\n1 0 0\n2 0 0\n", 3);
  EXPECT_EQ(exact.outcome, WellPathResult::Outcome::Complete);
  EXPECT_EQ(exact.rows.size(), 3u);
}

TEST(WellPath, ClosureAndItsAzimuthInEveryQuadrant) {
  struct Case {
    float ns, ew;
    double closure, azimuth;
  };
  const Case cases[] = {
      {0, 0, 0, 0},      {0, 10, 10, 90},        {0, -10, 10, 270},        {10, 0, 10, 0},
      {-10, 0, 10, 180}, {10, 10, 14.1421, 45},  {-10, 10, 14.1421, 135},  {-10, -10, 14.1421, 225},
      {10, -10, 14.1421, 315},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.ns) + " " + std::to_string(c.ew));
    PathRow row;
    row.ns = c.ns;
    row.ew = c.ew;
    EXPECT_NEAR(closure(row), c.closure, 1e-4);
    EXPECT_NEAR(closureAzimuth(row), c.azimuth, 1e-9);
  }
}

// What the reader makes of lines that are not plain stations.
TEST(StationReader, SkipsBlankAndCommentLinesAndNamesAnyOtherBadLine) {
  struct Case {
    const char* text;
    std::size_t stations;   // read before the end or the bad line
    std::size_t badLine;    // 0: read to the end
  };
  const Case cases[] = {
      {"", 0, 0},
      {"\n\n   \t\n", 0, 0},
      {"# MD INC AZI\n100 1 2\n  # note\n200 3 4\n", 2, 0},
      {"100 1 2\r\n200 3 4\r\n", 2, 0},
      {"100 1 2\r200 3 4\r", 2, 0},
      {"100\t1\t2", 1, 0},
      {"+100 1.5e1 -2\n", 1, 0},
      {"100 1 2\nDEPTH DEVI HAZI\n300 1 1\n", 1, 2},
      {"100 1\n", 0, 1},
      {"100 1 2 3\n", 0, 1},
      {"100 1 2x\n", 0, 1},
      {"100,1,2\n", 0, 1},
      {"0x10 1 2\n", 0, 1},
      {"++1 1 2\n", 0, 1},
      {"100 nan 2\n", 0, 1},
      {"100 1 inf\n", 0, 1},
      {"1e300 1 2\n", 0, 1},
      {"1e999 1 2\n", 0, 1},
      {"2e9 1 2\n", 0, 1},
      {"\n\n100 1 2\n-\n", 1, 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    StationReader reader(c.text);
    Station s;
    std::size_t n = 0;
    auto status = StationReader::Status::Station;
    while ((status = reader.next(s)) == StationReader::Status::Station) ++n;
    EXPECT_EQ(n, c.stations);
    EXPECT_EQ(reader.badLineNumber(), c.badLine);
    EXPECT_EQ(status, c.badLine ? StationReader::Status::BadLine : StationReader::Status::End);
  }
}

TEST(StationReader, TheMessageNamesTheLineAndShowsIt) {
  StationReader reader("100 1 2\nDEPTH DEVI HAZI\n");
  auto p = computeWellPath(reader);
  EXPECT_EQ(p.outcome, WellPathResult::Outcome::BadLine);
  EXPECT_EQ(p.badLineText,
            "Line 2 of the data file does not hold three numbers (measured depth, inclination, azimuth):\n"
            "DEPTH DEVI HAZI");
  StationReader huge("1 2 1e300\n");
  Station s;
  EXPECT_EQ(huge.next(s), StationReader::Status::BadLine);
  EXPECT_EQ(huge.badLineMessage(),
            "Line 1 of the data file holds a value that is not a finite number between -1e9 and 1e9:\n1 2 1e300");
}

}  // namespace
}  // namespace kvr::utilities
