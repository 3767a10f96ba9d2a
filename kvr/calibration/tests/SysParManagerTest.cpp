#include "kvr/calibration/CSysParManager.h"

#include <gtest/gtest.h>

namespace {

TEST(SysParManager, EditsTheMainOrThePlaybackRecordsInADraftUntilOk) {
  auto table = records::defaultSystemParameters(9);
  kvr::CSysParManager main(table, kvr::CSysParManager::Range::Main);
  EXPECT_STREQ(main.title(), "Main System Parameters");
  ASSERT_EQ(main.rowCount(), 4u);
  EXPECT_EQ(main.record(0).code, "SVYMODE");
  EXPECT_EQ(main.valueText(1), "NO");
  EXPECT_EQ(main.valueText(3), "1800.00000");
  // Choosing "YES" for "SIMDEPTH" sets its value to 1.
  ASSERT_TRUE(main.commitChoice(1, 1));
  EXPECT_EQ(main.valueText(1), "YES");
  EXPECT_EQ(table[records::kSimDepth].value, 0.0f) << "nothing changes before OK";
  main.ok();
  EXPECT_EQ(table[records::kSimDepth].selectedChoice, 1);
  EXPECT_EQ(table[records::kSimDepth].value, 1.0f);

  kvr::CSysParManager playback(table, kvr::CSysParManager::Range::Playback);
  EXPECT_STREQ(playback.title(), "Playback Options");
  ASSERT_EQ(playback.rowCount(), 7u);
  EXPECT_EQ(playback.record(0).code, "PBDOFF");
  EXPECT_EQ(playback.record(6).code, "PBCOMP");
  EXPECT_FALSE(playback.commitChoice(0, 1)) << "a number takes no choice";
  EXPECT_FALSE(playback.commitChoice(4, 2)) << "PBCHSRC has two choices";
  EXPECT_FALSE(playback.commitNumber(4, "1")) << "a choice list takes no number";
  EXPECT_TRUE(playback.commitChoice(5, 1));
  playback.ok();
  EXPECT_EQ(table[records::kPbOutputFile].selectedChoice, 1);
}

TEST(SysParManager, OnlyAWholeFiniteNumberReplacesTheValue) {
  auto table = records::defaultSystemParameters(9);
  kvr::CSysParManager editor(table, kvr::CSysParManager::Range::Playback);
  struct Case {
    const char* text;
    bool taken;
    float value;
  } cases[] = {{"12.5", true, 12.5f}, {"12x", false, 12.5f}, {"", false, 12.5f},   {"-3e2", true, -300.0f},
               {"nan", false, -300.0f}, {"inf", false, -300.0f}, {"1e39", false, -300.0f}, {" 7", true, 7.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(editor.commitNumber(0, c.text), c.taken);
    EXPECT_EQ(editor.record(0).value, c.value);
  }
  EXPECT_EQ(editor.valueText(0), "7.00000");
}

}  // namespace

namespace {

TEST(SysParManager, ChoosingASurveyModeKeepsTheModeWordInItsValue) {
  auto table = records::defaultSystemParameters(9);
  kvr::CSysParManager main(table, kvr::CSysParManager::Range::Main);
  ASSERT_TRUE(main.commitChoice(0, 1));
  main.ok();
  EXPECT_EQ(table[records::kSvyMode].selectedChoice, 1);
  EXPECT_EQ(table[records::kSvyMode].value, 9.0f) << "the next file still records mode word 9";
}

}  // namespace
