// Reading ToolList.txt, the shipped one and the ways a hand edit can break it.
#include <gtest/gtest.h>

#include <set>

#include "common/datafile/MemoryFiles.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/ToolListFile.h"
#include "kvr/core/tests/ToolStringFixture.h"

namespace kvr {
namespace {

TEST(ToolListFile, TheShippedListHasAllElevenToolsAndEveryAccessoryKind) {
  const auto& file = testing::shippedToolList();
  EXPECT_TRUE(file.problems.empty()) << file.problems.front();
  std::set<std::uint8_t> codes;
  for (const auto& name : file.tools) {
    const auto* e = file.find(name);
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->name, name);
    EXPECT_EQ(e->kind(), 1u);
    const auto info = records::toolCodeInfo(e->code());
    ASSERT_TRUE(info) << name;
    EXPECT_EQ(e->dataBytes, info->dataBytes) << name;
    EXPECT_EQ(info->frameBytes, e->dataBytes + 2 * e->blockCount) << name;
    EXPECT_GT(e->lengthCm, 0);
    codes.insert(e->code());
  }
  EXPECT_EQ(codes.size(), 11u);
  std::set<std::uint32_t> kinds;
  for (const auto& name : file.accessories) {
    ASSERT_NE(file.find(name), nullptr) << name;
    EXPECT_EQ(name.rfind("**", 0), 0u);
    kinds.insert(file.find(name)->kind());
  }
  EXPECT_EQ(kinds, (std::set<std::uint32_t>{2, 3, 4, 5, 6, 7}));
  // Written with CR LF.
  EXPECT_NE(testing::sourceFile("data/ToolList.txt").find("&ENDLIST\r\n"), std::string::npos);
}

TEST(ToolListFile, AnyLineEndReadsTheSame) {
  const std::string lf =
      "&STARTLIST\nBRIX-CCL\n&ENDLIST\n&STARTACSESORY\n**SWIVEL\n&ENDACSESORY\n&STARTSTRUCT\n"
      "&BRIX-CCL\nBRIX-CCL 5 35 210 2 95.0 43.0 150.0 0.0 1\n&**SWIVEL\n**SWIVEL 0 8 0 0 30 43 0 0 3\n"
      "&ENDSTRUCT\n&END\n";
  std::string crlf, cr;
  for (char c : lf) {
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    cr += c == '\n' ? '\r' : c;
  }
  for (const auto& text : {lf, crlf, cr}) {
    const auto f = parseToolList(text);
    EXPECT_TRUE(f.problems.empty());
    EXPECT_EQ(f.tools, std::vector<std::string>{"BRIX-CCL"});
    EXPECT_EQ(f.accessories, std::vector<std::string>{"**SWIVEL"});
    ASSERT_NE(f.find("BRIX-CCL"), nullptr);
    EXPECT_EQ(f.find("BRIX-CCL")->toolCode, 210u);
    EXPECT_FLOAT_EQ(f.find("**SWIVEL")->lengthCm, 30.0f);
  }
}

TEST(ToolListFile, HandEditsThatBreakItLeaveTheBadPartOutWithAMessage) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t descriptions;
    const char* problem;  // a part of the problem line
  };
  const std::string good = "&GOOD\nGOOD 5 0 210 2 95 43 0 0 1\n";
  const Case cases[] = {
      {"missing blocks", "&STARTSTRUCT\n" + good + "&ENDSTRUCT\n&END\n", 1, "no &STARTLIST"},
      {"unknown key", "&FOO\n&STARTSTRUCT\n" + good + "&ENDSTRUCT\n", 1, "Unknown key \"&FOO\""},
      {"truncated at the end", "&STARTSTRUCT\n" + good + "&CUT\nCUT 5 0 210", 1, "\"CUT\" is incomplete"},
      {"truncated before the next key", "&STARTSTRUCT\n&CUT\nCUT 5 0\n" + good + "&ENDSTRUCT\n", 1,
       "\"CUT\" is incomplete"},
      {"text for a number", "&STARTSTRUCT\n&BAD\nBAD five 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"five\" where a whole number belongs"},
      {"text for a float", "&STARTSTRUCT\n&BAD\nBAD 5 0 210 2 9x5 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"9x5\" where a number belongs"},
      {"negative count", "&STARTSTRUCT\n&BAD\nBAD -5 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "whole number"},
      {"name too long", "&STARTSTRUCT\n&LONG\nTWELVECHARSX 5 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"TWELVECHARSX\" is longer than 11 characters"},
      {"name leaving the folder", "&STARTSTRUCT\n&UP\n../../../X 5 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"../../../X\" holds a path separator"},
      {"name with a separator", "&STARTSTRUCT\n&GR\nGR/CCL 5 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"GR/CCL\" holds a path separator"},
      {"name of the parent", "&STARTSTRUCT\n&UP\n.. 5 0 210 2 95 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"..\" holds a path separator"},
      {"length not a number", "&STARTSTRUCT\n&NAN\nNAN 5 0 210 2 nan 43 0 0 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"nan\" where a number belongs"},
      {"infinite distance", "&STARTSTRUCT\n&INF\nINF 5 0 210 2 95 43 0 -inf 1\n" + good + "&ENDSTRUCT\n", 1,
       "\"-inf\" where a number belongs"},
      {"missing end of list", "&STARTLIST\nA\nB\n&STARTSTRUCT\n" + good + "&ENDSTRUCT\n", 1, "&STARTLIST has no &ENDLIST"},
      {"missing end of descriptions", "&STARTSTRUCT\n" + good, 1, "&STARTSTRUCT has no &ENDSTRUCT"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto f = parseToolList(c.text);
    EXPECT_EQ(f.descriptions.size(), c.descriptions);
    bool found = false;
    for (const auto& p : f.problems) found = found || p.find(c.problem) != std::string::npos;
    EXPECT_TRUE(found) << (f.problems.empty() ? "no problem reported" : f.problems.front());
    if (c.descriptions) {
      EXPECT_NE(f.find("GOOD"), nullptr);
    }
  }
}

TEST(ToolListFile, KeysAreComparedExactlyAndTheFirstDescriptionWins) {
  const auto f = parseToolList(
      "&STARTSTRUCT &A A 1 0 210 2 10 43 0 0 1 &A A 2 0 210 2 20 43 0 0 1 &a a 3 0 210 2 30 43 0 0 1 &ENDSTRUCT");
  EXPECT_EQ(f.find("A")->dataBytes, 1u);
  EXPECT_EQ(f.find("a")->dataBytes, 3u);
  EXPECT_EQ(f.find("B"), nullptr);
  const auto e = f.makeEntry("A", 7);
  ASSERT_TRUE(e);
  EXPECT_EQ(e->serial(), 7u);
  EXPECT_EQ(e->kind(), 1u);
  EXPECT_FALSE(f.makeEntry("B", 0));
}

TEST(ToolListFile, AMissingFileGivesNothing) {
  MemoryFileSystem fs;
  EXPECT_FALSE(loadToolList(fs, "main/ToolList.txt"));
}

}  // namespace
}  // namespace kvr
