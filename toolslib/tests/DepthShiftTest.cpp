// Depth offsets and the shifts that put each sensor's readings on the row's depth.
#include <gtest/gtest.h>

#include "common/records/ToolCodes.h"
#include "toolslib/DepthShifter.h"
#include "toolslib/Library.h"

namespace {

TEST(DepthShift, SetDepthOffsetReturnsTheMeasurePointOfTheFamiliesThatHaveOne) {
  tools::Library lib;
  for (tools::Family* f : lib.families()) {
    const bool expected = f->code() == records::kBrix || f->code() == records::kDune || f->code() == records::kSevo ||
                          f->code() == records::kQuil || f->code() == records::kHavo;
    EXPECT_EQ(f->hasDepthOffset(), expected) << f->name();
  }
  EXPECT_FLOAT_EQ(lib.family(records::kBrix)->setDepthOffset(0, 1000, 100), 450.0f);
  EXPECT_FLOAT_EQ(lib.family(records::kDune)->setDepthOffset(0, 0, 100), 0.0f);
}

TEST(DepthShift, DelaysComeFromTheSensorOffsetTheReferenceAndTheStep) {
  tools::DepthShifter s(1);
  s.configure(/*sensor*/ 3000, /*reference*/ 5000, /*step*/ 1000);
  EXPECT_EQ(s.upRows(), 3u);    // three steps above the string bottom
  EXPECT_EQ(s.downRows(), 2u);  // two steps below the reference sensor
  s.configure(5000, 0, 1000);   // the tool that becomes the reference
  EXPECT_EQ(s.downRows(), 0u);
  s.configure(1e9, 0, 1);       // absurd offsets are limited to the history
  EXPECT_EQ(s.upRows(), tools::DepthShifter::kMaxDelayRows);
}

TEST(DepthShift, ReadingsComeOutTheDelayedNumberOfRowsLater) {
  tools::DepthShifter s(1);
  s.configure(2000, 0, 1000);  // up delay 2
  float out = 0;
  float in = 1;
  s.output(&in, &out);
  EXPECT_EQ(out, 1) << "before any shift the reading is undelayed";
  for (float v : {10.f, 11.f, 12.f, 13.f}) {
    s.output(&v, &out);
    s.push(&v, tools::DepthShifter::Mode::Up);
  }
  float now = 14;
  s.output(&now, &out);
  EXPECT_EQ(out, 12) << "the reading of two kept rows ago";
}

TEST(DepthShift, AToolShiftsItsOwnRowsByLogDirection) {
  tools::Library lib;
  auto* brix = lib.family(records::kBrix);
  brix->init();
  brix->setDepthOffset(0, 550, 1000);  // sensor at 1000 mm: one row up, none down
  std::vector<std::uint8_t> ring(32768, 0);
  std::vector<float> row(5);
  auto frame = [&](std::uint8_t ccl) {
    ring[0] = ccl;
    float* p = row.data();
    brix->processData(ring, 0, 0, &p, row.data(), row.data() + 4, {});
    return row[0];
  };
  EXPECT_EQ(frame(100), 100);
  brix->shiftSensorDataLogUp();
  EXPECT_EQ(frame(101), 100) << "log up: one kept row late";
  brix->shiftSensorDataLogUp();
  EXPECT_EQ(frame(102), 101);
  brix->shiftSensorDataLogDown();  // a new direction starts a new history
  EXPECT_EQ(frame(103), 103);
}

}  // namespace
