#include <gtest/gtest.h>

#include "kvr/utilities/CTimeDiffCalc.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr::utilities {
namespace {

using platform::Answer;

struct Calc : ::testing::Test {
  platform::testing::ScriptedPrompter prompter;
  platform::testing::VirtualClock clock;
  float offset = -1;
};

TEST_F(Calc, PickersStartNowAndTheDifferenceAtZero) {
  clock.setCalendarBase({2024, 3, 5, 6, 7, 8, 0});
  CTimeDiffCalc calc(prompter, clock);
  EXPECT_EQ(calc.startDate.year, 2024);
  EXPECT_EQ(calc.endDate.day, 5);
  EXPECT_EQ(calc.endTime.second, 8);
  EXPECT_EQ(calc.difference(), 0.0);
  calc.setTarget(&offset);
  prompter.queue(Answer::Yes);
  EXPECT_TRUE(calc.ok());  // before "<- Cal": the 0 stands
  EXPECT_EQ(offset, 0.0f);
}

TEST_F(Calc, HoursBetweenTheMomentsStoredAsScaledSeconds) {
  CTimeDiffCalc calc(prompter, clock);
  calc.startDate = {2024, 1, 1};
  calc.startTime = {10, 0, 0};
  calc.endDate = {2024, 1, 2};
  calc.endTime = {11, 30, 0};
  calc.calculate();
  EXPECT_DOUBLE_EQ(calc.difference(), 25.5);
  calc.setTarget(&offset);
  prompter.queue(Answer::Yes);
  EXPECT_TRUE(calc.ok());
  EXPECT_EQ(offset, 91800.0f);
  EXPECT_TRUE(prompter.saw("QUESTION", "Do you want to use the calculated time offset ?"));
  // The converter's scale: minutes.
  calc.setScale(1.0 / 60.0);
  prompter.queue(Answer::Yes);
  calc.ok();
  EXPECT_EQ(offset, 1530.0f);
}

TEST_F(Calc, AnEarlierEndIsNegativeAndNoKeepsTheTarget) {
  CTimeDiffCalc calc(prompter, clock);
  calc.startDate = {2024, 3, 1};
  calc.startTime = {0, 0, 0};
  calc.endDate = {2024, 2, 28};  // 2024 is a leap year: two days back
  calc.endTime = {0, 0, 0};
  calc.calculate();
  EXPECT_DOUBLE_EQ(calc.difference(), -48.0);
  calc.setTarget(&offset);
  prompter.queue(Answer::No);
  EXPECT_FALSE(calc.ok());
  EXPECT_EQ(offset, -1.0f);
}

}  // namespace
}  // namespace kvr::utilities
