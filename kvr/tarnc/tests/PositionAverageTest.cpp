// The averaging window of a station position over a sample ring.
#include <gtest/gtest.h>

#include <cmath>

#include "kvr/tarnc/PositionAverage.h"

namespace {

const char* const kNames[] = {"RATEX", "RAWRATEGX", "DEVI", "HAZI", "HSTF", "TFACE"};

records::ChannelList channels() {
  records::ChannelList list;
  std::uint32_t i = 0;
  for (const char* n : kNames) {
    records::ChannelStruct c;
    c.mnemonic = n;
    c.index = i++;
    list.push_back(c);
  }
  return list;
}

void addRow(kvr::SampleRing& ring, std::initializer_list<float> values) {
  std::size_t at = ring.write();
  for (float v : values) ring.data()[at++] = v;
  ring.setWrite(ring.advance(ring.write(), ring.rowWidth()));
}

}  // namespace

// Angles are averaged on the circle, in the convention of their samples; other channels plainly.
TEST(PositionAverage, AnglesAreMeanedOnTheCircle) {
  struct Case {
    float first, second;
    float mean;
  } cases[] = {{359, 1, 0}, {350, 20, 5}, {-179, 179, 180}, {-10, 20, 5}, {100, 120, 110}, {170, -170, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    kvr::SampleRing ring;
    ring.allocate(6);
    kvr::tarnc::RawDataLog log("");
    kvr::tarnc::PositionAverager averager;
    averager.reset(ring, channels(), log);
    addRow(ring, {1, 10, 3, c.first, c.first, c.first});
    addRow(ring, {3, 30, 5, c.second, c.second, c.second});
    averager.accumulate(ring, log);
    kvr::tarnc::PositionAverage a;
    ASSERT_TRUE(averager.finish(a, 77, log));
    EXPECT_DOUBLE_EQ(a.rates[0], 2);
    EXPECT_DOUBLE_EQ(a.rawRates[0], 20);
    EXPECT_FLOAT_EQ(a.angles[0], 4);
    for (int k = 1; k < 4; ++k) EXPECT_NEAR(std::remainder(a.angles[k] - c.mean, 360.0f), 0, 1e-3) << k;
    EXPECT_EQ(a.motorPosition, 77u);
    EXPECT_EQ(a.sampleCount, 2u);
    EXPECT_NEAR(a.rawNoise[0], std::sqrt(200.0), 1e-9);
  }
}

// One row has no noise to speak of: the window refuses it and keeps its previous contents.
TEST(PositionAverage, FewerThanTwoRowsLeaveTheRecordAlone) {
  kvr::SampleRing ring;
  ring.allocate(6);
  kvr::tarnc::RawDataLog log("");
  kvr::tarnc::PositionAverager averager;
  averager.reset(ring, channels(), log);
  addRow(ring, {1, 10, 3, 4, 5, 6});
  averager.accumulate(ring, log);
  kvr::tarnc::PositionAverage a;
  a.rates[0] = 42;
  EXPECT_FALSE(averager.finish(a, 0, log));
  EXPECT_EQ(a.rates[0], 42);
}
