// The frame dispatch: known bytes to a known row, the panel block, speed, row selection and
// gap filling by log direction, station logs, simulated depth, wrapped positions.
#include <gtest/gtest.h>

#include <cmath>

#include "common/records/ToolCodes.h"
#include "kvr/core/tests/ToolStringFixture.h"
#include "toolslib/families/Tarn.h"

namespace kvr {
namespace {

using testing::StringRig;
constexpr std::int32_t kEnglishLow = 1;  // depth step 1 ft

TEST(FrameDispatch, AFrameOfKnownBytesBecomesTheKnownRow) {
  StringRig rig;
  rig.declare({"BRIX-CCL", "DUNE-ROLA"});
  rig.pushFrame(panelBlockFrom(1234.56, 100, 1200, 180.5, 250, false),
                {{127, 200, 50, 127, 100}, {0x03, 0xE8, 0, 0x09, 0xC4, 0}});
  const auto r = rig.manager.dispatchFrames();
  EXPECT_EQ(r.frames, 1u);
  EXPECT_EQ(r.rowsAdded, 1u) << "without a log every row stays";
  EXPECT_FALSE(r.rowsToDraw);
  const auto row = rig.newestRow();
  ASSERT_EQ(row.size(), 15u);
  EXPECT_FLOAT_EQ(row[0], static_cast<float>(1234.56 - 1.65));  // log down: less the reference offset
  EXPECT_FLOAT_EQ(row[1], 0);      // no log: no line speed
  EXPECT_FLOAT_EQ(row[2], 1200);
  EXPECT_FLOAT_EQ(row[3], 0);      // no log: no log time
  EXPECT_FLOAT_EQ(row[4], 180.5f);
  EXPECT_FLOAT_EQ(row[5], static_cast<float>(128 * 1.955078));
  EXPECT_EQ(std::vector<float>(row.begin() + 6, row.begin() + 11), (std::vector<float>{127, 200, 50, 127, 30}));
  EXPECT_FLOAT_EQ(row[11], 10.0f);  // SPINNER
  EXPECT_FLOAT_EQ(row[13], 25.0f);  // STEMP
  EXPECT_DOUBLE_EQ(rig.lib.globals().OnlineDepth, 1234.56);
  EXPECT_EQ(rig.frames.read(), rig.frames.write());
}

TEST(FrameDispatch, ThePanelBlockFieldsAreHighByteFirstAndSigned) {
  const std::uint8_t bytes[12] = {0xFF, 0xFE, 0xCE, 0xFF, 0xFA, 0x99, 0xFC, 0x18, 12, 7, 0x23, 0xFF};
  std::vector<std::uint8_t> ring(FrameRing::kSize, 0);
  for (int i = 0; i < 12; ++i) ring[(FrameRing::kSize - 5 + i) % FrameRing::kSize] = bytes[i];
  const auto b = decodePanelBlock(ring, FrameRing::kSize - 5, FrameRing::kMask);  // straddles the end
  EXPECT_DOUBLE_EQ(b.depth(), -2.5);
  EXPECT_EQ(b.counter, 65530);
  EXPECT_EQ(b.tension, -1000);
  EXPECT_DOUBLE_EQ(b.headVolts(), 12.7);
  EXPECT_TRUE(b.englishUnits());
  EXPECT_EQ(b.status(), 0x20);
  EXPECT_DOUBLE_EQ(b.headCurrentMa(), 1023 * 1.955078);
  const auto again = encodePanelBlock(b);
  for (int i = 0; i < 12; ++i)
    if (i != 5) {  // byte 5 is not used
      EXPECT_EQ(again[static_cast<std::size_t>(i)], bytes[i]) << i;
    }
}

TEST(FrameDispatch, ACounterThatWrapsCountsTheFramesThatPassed) {
  StringRig rig;
  rig.declare({"PLOV-TENS"}, kEnglishLow);
  rig.manager.startLog(kLogStation, false, 0, 0);
  rig.pushDepth(10, 65530);
  rig.pushDepth(10, 4);
  rig.manager.dispatchFrames();
  EXPECT_EQ(rig.manager.framesElapsed(), 9);
  EXPECT_FLOAT_EQ(rig.manager.logTime(), (1 + 9) * (1.0f / 15.0f));
  EXPECT_NEAR(rig.lib.globals().OnlineTimeTARN, 10.0 / 15.0, 1e-6);
}

TEST(FrameDispatch, LineSpeedIsTheSumOfThirtySamplesAndAStillCounterAddsNone) {
  StringRig rig;
  rig.declare({"PLOV-TENS"});
  rig.manager.startLog(kLogDown, false, 0, 0);
  for (int i = 0; i <= 30; ++i) rig.pushDepth(100 + 0.01 * i, static_cast<std::uint16_t>(i));
  rig.manager.dispatchFrames();
  EXPECT_NEAR(rig.newestRow()[1], 0.3 * 30, 1e-3);  // 0.01 m per frame = 9 m/min
  // d = 0: the same count again, a metre deeper: no sample, the ring keeps its sum.
  rig.pushDepth(101.30, 30);
  rig.manager.dispatchFrames();
  EXPECT_NEAR(rig.newestRow()[1], 9, 1e-3);
  EXPECT_EQ(rig.manager.framesElapsed(), 1);
  // The next moving frame carries the whole change since the last sample.
  rig.pushDepth(101.50, 31);
  rig.manager.dispatchFrames();
  EXPECT_NEAR(rig.newestRow()[1], (29 * 0.01 + 1.20) * 30, 1e-3);
}

// The depth jump to the simulated start depth (or of the depth offset) at a log start is no
// movement of the tool: the first rows' speed comes from the log's own frames.
TEST(FrameDispatch, TheFirstRowsOfALogTakeTheirSpeedOnlyFromItsOwnFrames) {
  StringRig rig;
  rig.declare({"PLOV-TENS"});
  for (int i = 0; i < 40; ++i) rig.pushDepth(100, static_cast<std::uint16_t>(i));  // standing before the log
  rig.manager.dispatchFrames();
  rig.manager.startLog(kLogDown, true, 5000, 0.05);  // 4900 m deeper, then 0.05 m a frame: 45 m/min
  for (int i = 40; i < 60; ++i) {
    rig.pushDepth(100, static_cast<std::uint16_t>(i));
    ASSERT_EQ(rig.manager.dispatchFrames().frames, 1u);
    EXPECT_LE(std::fabs(rig.newestRow()[1]), 45.01f) << "frame " << i;
  }
  EXPECT_NEAR(rig.newestRow()[1], 45, 1e-2);
}

TEST(FrameDispatch, ADownLogFillsAGapWithCopiesOfTheNewestRow) {
  StringRig rig;
  rig.declare({"PLOV-TENS"}, kEnglishLow);
  rig.manager.startLog(kLogDown, false, 0, 0);
  rig.pushDepth(9.5, 1);   // first row: next = 10
  rig.pushDepth(10.0, 2);  // kept, next = 11
  rig.manager.dispatchFrames();
  ASSERT_EQ(rig.rowsWritten(), 2u);
  EXPECT_DOUBLE_EQ(rig.manager.nextSampleDepth(), 11.0);
  rig.pushFrame(panelBlockFrom(13.5, 3, 777, 100, 100, true));
  const auto r = rig.manager.dispatchFrames();
  EXPECT_EQ(r.rowsAdded, 3u);
  EXPECT_TRUE(r.rowsToDraw);
  ASSERT_EQ(rig.rowsWritten(), 5u);
  for (std::size_t row = 2; row < 5; ++row) {
    EXPECT_FLOAT_EQ(rig.cell(row, 0), 13.5f);
    EXPECT_FLOAT_EQ(rig.cell(row, 2), 777.0f);
  }
  EXPECT_DOUBLE_EQ(rig.manager.nextSampleDepth(), 14.0);
}

TEST(FrameDispatch, AnUpLogDropsAFrameAboveTheNextSampleDepth) {
  StringRig rig;
  rig.declare({"PLOV-TENS"}, kEnglishLow);
  rig.manager.startLog(kLogUp, false, 0, 0);
  rig.pushDepth(100.3, 1);
  rig.manager.dispatchFrames();
  EXPECT_DOUBLE_EQ(rig.manager.nextSampleDepth(), 100.0);
  const auto before = std::vector<float>(rig.manager.ring().data(), rig.manager.ring().data() + 3 * rig.manager.ring().rowWidth());
  rig.pushDepth(100.2, 2);
  EXPECT_EQ(rig.manager.dispatchFrames().rowsAdded, 0u);
  EXPECT_EQ(rig.rowsWritten(), 1u);
  rig.pushDepth(99.9, 3);
  EXPECT_EQ(rig.manager.dispatchFrames().rowsAdded, 1u);
  EXPECT_DOUBLE_EQ(rig.manager.nextSampleDepth(), 99.0);
  EXPECT_FLOAT_EQ(rig.cell(1, 0), 99.9f);
  EXPECT_FLOAT_EQ(rig.cell(0, 0), before[0]);
  // An up log fills a gap upwards.
  rig.pushDepth(96.5, 4);
  EXPECT_EQ(rig.manager.dispatchFrames().rowsAdded, 3u);
  EXPECT_DOUBLE_EQ(rig.manager.nextSampleDepth(), 96.0);
}

TEST(FrameDispatch, AStationLogKeepsOneRowPerEighthOfASecondOfLogTime) {
  StringRig rig;
  rig.declare({"PLOV-TENS"});
  rig.manager.startLog(kLogStation, false, 0, 0);
  for (int i = 0; i < 30; ++i) rig.pushDepth(500, static_cast<std::uint16_t>(i + 1));
  rig.manager.dispatchFrames();
  // Two seconds of frames: the first two rows at 0 and 1/15, then one per 0.125 s.
  EXPECT_EQ(rig.rowsWritten(), 2u + 15u);
  EXPECT_FLOAT_EQ(rig.cell(0, 0), 0.0f);
  EXPECT_FLOAT_EQ(rig.cell(2, 0), 2 * (1.0f / 15.0f));
  EXPECT_FLOAT_EQ(rig.cell(2, 3), rig.cell(2, 0)) << "TIME is the log time too";
}

TEST(FrameDispatch, SimulatedDepthMovesBySpeedPerFrameInTheLogDirection) {
  StringRig rig;
  rig.declare({"PLOV-TENS"});
  rig.manager.startLog(kLogDown, true, 100.0, 0.5);
  rig.pushDepth(3000, 1);
  rig.pushDepth(3000, 2);
  rig.manager.dispatchFrames();
  EXPECT_FLOAT_EQ(rig.cell(0, 0), 100.0f);
  EXPECT_FLOAT_EQ(rig.cell(1, 0), 100.5f);
  EXPECT_DOUBLE_EQ(rig.manager.simulatedDepth(), 101.0);
  rig.manager.startLog(kLogStation, true, 100.0, 0.5);
  EXPECT_FALSE(rig.manager.simulatedDepthOn()) << "a station log never simulates depth";
}

TEST(FrameDispatch, FramesAcrossTheRingEndsAreReadWithWrappedPositions) {
  StringRig rig;
  rig.declare({"BRIX-CCL", "SEVO-PT"});
  rig.frames.setRead(FrameRing::kSize - 7);
  rig.frames.setWrite(FrameRing::kSize - 7);
  // Put the sample ring's write position on its last row.
  rig.manager.ring().setWrite(rig.manager.ring().size() - rig.manager.ring().rowWidth());
  rig.pushFrame(panelBlockFrom(50, 1, 10, 10, 10, false), {{1, 2, 3, 4, 40}});
  rig.manager.dispatchFrames();
  EXPECT_EQ(rig.manager.ring().write(), 0u);
  const auto row = rig.newestRow();
  EXPECT_EQ(std::vector<float>(row.begin() + 6, row.begin() + 10), (std::vector<float>{1, 2, 3, 4}));
  EXPECT_EQ(rig.frames.read(), rig.frames.write());
}

TEST(FrameDispatch, APartFrameWaitsForTheRest) {
  StringRig rig;
  rig.declare({"BRIX-CCL"});
  rig.pushDepth(10, 1);
  rig.frames.append(std::vector<std::uint8_t>(5, 0xAA));
  EXPECT_EQ(rig.manager.dispatchFrames().frames, 1u);
  EXPECT_EQ(rig.frames.pending(), 5u);
}

TEST(FrameDispatch, KeptRowsShiftEachSensorOntoTheRowDepth) {
  StringRig rig;
  rig.declare({"SEVO-PT", "BRIX-CCL"});  // SEVO fixes the reference; BRIX's coil is 8 steps below it
  rig.manager.startLog(kLogDown, false, 0, 0);
  for (int i = 0; i < 20; ++i)
    rig.pushFrame(panelBlockFrom(100.0 + 0.1 * i, static_cast<std::uint16_t>(i + 1), 0, 0, 0, false),
                  {{}, {static_cast<std::uint8_t>(i), 0, 0, 0, 0}});
  rig.manager.dispatchFrames();
  ASSERT_EQ(rig.rowsWritten(), 20u);
  const std::size_t ccl1 = 6 + 10;
  for (std::size_t row = 9; row < 20; ++row) EXPECT_FLOAT_EQ(rig.cell(row, ccl1), static_cast<float>(row - 8)) << row;
}

TEST(FrameDispatch, TarnKeepsItsRawFramesOnlyDuringADepthLog) {
  StringRig rig;
  rig.declare({"TARN-GYRO"});
  auto* tarn = static_cast<tools::Tarn*>(rig.lib.family(records::kTarn));
  rig.pushDepth(10, 1);
  rig.manager.dispatchFrames();
  EXPECT_EQ(tarn->rawFramesSaved(), 0u);
  rig.manager.startLog(kLogUp, false, 0, 0);
  rig.pushFrame(panelBlockFrom(20, 2, 0, 0, 0, false), {{9, 8, 7}});
  rig.manager.dispatchFrames();
  EXPECT_EQ(tarn->rawFramesSaved(), 1u);
  EXPECT_EQ(tarn->lastRawFrame()[0], 9);
  EXPECT_DOUBLE_EQ(tarn->lastRawDepth(), 20.0);
}

}  // namespace
}  // namespace kvr
