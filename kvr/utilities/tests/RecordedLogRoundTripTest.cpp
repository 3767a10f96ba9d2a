// A recorded log converted with the defaults and read back: every line holds the values of
// the row recorded at its depth.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "kvr/utilities/tests/ConverterFixture.h"
#include "kvr/utilities/tests/LasParser.h"

namespace kvr::utilities::testing {
namespace {

class RoundTrip : public ConverterTest {};

TEST_F(RoundTrip, ValuesMatchTheRecordedRows) {
  auto log = RecordedLog::brix(0, false);
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> value(-500, 5000);
  for (int i = 0; i < 3000; ++i) {  // 300 m every 0.1 m, over several ring flushes
    std::vector<float> row(log.width());
    for (auto& v : row) v = value(rng);
    row[0] = 1500.0f + 0.1f * static_cast<float>(i);
    row[1] = std::fabs(row[1]) > 250 ? 12.5f : row[1];  // no line-speed spikes here
    log.rows.push_back(row);
  }
  choose(write(log));
  selectAll();
  converter.fields().stepIndex = 6;  // "0.1 m": every row
  const auto las = parseLas(convertToText());
  EXPECT_TRUE(las.crlf);
  ASSERT_EQ(las.curves.size(), log.width() + 1);
  EXPECT_EQ(las.curves[11], "GR");
  EXPECT_EQ(las.units[2], "Mts/Min");
  ASSERT_EQ(las.rows.size(), log.rows.size());
  for (std::size_t k = 0; k < las.rows.size(); ++k) {
    ASSERT_NEAR(las.rows[k][0], 1500.0 + 0.1 * static_cast<double>(k), 0.005);
    for (std::size_t c = 0; c < log.width(); ++c)
      ASSERT_NEAR(las.rows[k][c + 1], log.rows[k][c], 0.0051) << "line " << k << " channel " << c;
  }
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "1500.00");
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "1799.90");
  EXPECT_EQ(las.sections.at('W').at("COMP").value, "ACME OIL");
  EXPECT_EQ(las.sections.at('W').at("API").value, "");
}

}  // namespace
}  // namespace kvr::utilities::testing
