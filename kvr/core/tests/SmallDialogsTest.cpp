// The serial number input and the About box.
#include <gtest/gtest.h>

#include "kvr/core/AboutBox.h"
#include "kvr/core/CSingleValueInput.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr {
namespace {

TEST(SingleValueInput, AcceptsOnlyNumbersOfItsModeInsideTheRange) {
  platform::testing::ScriptedPrompter p;
  CSingleValueInput serial("Input Serial Number", "Serial Number:", 0, 999, CSingleValueInput::Mode::Integer, 12);
  EXPECT_EQ(serial.initialText(), "12");
  for (const char* bad : {"1000", "-1", "abc", "12.5", ""}) {
    EXPECT_FALSE(serial.accept(bad, p)) << bad;
    EXPECT_EQ(p.messages().back().title, "ATTENTION");
    EXPECT_EQ(p.messages().back().text, "The range of the input value must be between 0 and 999");
  }
  EXPECT_EQ(serial.value(), 12);
  EXPECT_TRUE(serial.accept(" 999 ", p));
  EXPECT_EQ(serial.value(), 999);
  p.clear();
  CSingleValueInput f("T", "P", 0.5, 2, CSingleValueInput::Mode::Float);
  EXPECT_TRUE(f.accept("1.25", p));
  EXPECT_EQ(f.value(), 1.25);
  EXPECT_FALSE(f.accept("2.5", p));
  EXPECT_EQ(p.messages().back().text, "The range of the input value must be between 0.500000 and 2.000000");
}

TEST(AboutBox, ShowsTheProgramAndLibraryVersions) {
  AboutBox box;
  box.toolsVersion = "3.2.0";
  EXPECT_EQ(box.lines(), (std::vector<std::string>{"KVR Version 2.5.2", "TOOLS Library Version 3.2.0"}));
  box.navikorVersion = 1.5;
  EXPECT_EQ(box.lines().back(), "Navikor Library Version 1.50");
}

}  // namespace
}  // namespace kvr
