#include <gtest/gtest.h>

#include "platform/SettingsText.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"

using namespace platform;
using platform::testing::MemorySettings;
using platform::testing::ScriptedPrompter;

TEST(ScriptedPrompter, AnswersInOrderThenFallsBackToTheSafeButton) {
  ScriptedPrompter p;
  p.queue(Answer::Yes);
  EXPECT_EQ(p.ask({"QUESTION", "first", Buttons::YesNo}), Answer::Yes);
  EXPECT_EQ(p.ask({"QUESTION", "second", Buttons::YesNo}), Answer::No);
  EXPECT_EQ(p.ask({"ERROR", "third", Buttons::Ok}), Answer::Ok);
  EXPECT_EQ(p.ask({"ERROR", "fourth", Buttons::OkCancel}), Answer::Cancel);
  EXPECT_EQ(p.texts(), (std::vector<std::string>{"first", "second", "third", "fourth"}));
  EXPECT_TRUE(p.saw("QUESTION", "second"));
  EXPECT_FALSE(p.saw("ERROR", "second"));
}

TEST(ScriptedPrompter, RunsTheHookWhileAQuestionIsOpen) {
  ScriptedPrompter p;
  int during = 0;
  p.whileAsking([&](const Message& m) { during += m.text == "wait" ? 1 : 0; });
  p.ask({"MESSAGE", "wait"});
  EXPECT_EQ(during, 1);
}

TEST(SettingsText, OnlyWholeNumbersInRangeAreRead) {
  struct Case {
    const char* text;
    int want;
  } cases[] = {{"12", 12}, {" -7 ", -7}, {"+3", 3}, {"", 99}, {"abc", 99}, {"12abc", 99},
               {"99999999999", 99}, {"1.5", 99}, {"0x10", 99}};
  for (const auto& c : cases) EXPECT_EQ(parseSettingInt(c.text, 99), c.want) << c.text;
}

TEST(MemorySettings, GarbageStoredTextReadsAsTheDefault) {
  MemorySettings s;
  s.setRaw("Options", "StartUp", "seven");
  EXPECT_EQ(s.getInt("Options", "StartUp", 7), 7);
  s.setInt("Options", "StartUp", 3);
  EXPECT_EQ(s.getInt("Options", "StartUp", 7), 3);
  EXPECT_EQ(s.getString("Program Folders", "Main Folder", "dflt"), "dflt");
}
