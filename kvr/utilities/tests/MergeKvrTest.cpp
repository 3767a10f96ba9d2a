// Merge and splice of crafted data files in a memory file system.

#include <gtest/gtest.h>

#include "kvr/utilities/CMergeKvr.h"
#include "kvr/utilities/tests/TestDataFiles.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr::utilities {
namespace {

using platform::Answer;
using testfiles::addBlock;
using testfiles::tool;
constexpr float N = kNullValue;

records::ChannelList surfaceAnd(std::uint32_t code, std::initializer_list<const char*> mnemonics) {
  records::ChannelList list = records::surfaceChannels(false);
  addBlock(list, 6, code, mnemonics);
  return list;
}

// A row: depth, five surface values derived from it, then the tool values.
std::vector<float> row(float depth, std::initializer_list<float> tools) {
  std::vector<float> r{depth, 1, 2, 3, 4, 5};
  r.insert(r.end(), tools);
  return r;
}

struct MergeFixture : ::testing::Test {
  MemoryFileSystem fs;
  platform::testing::ScriptedPrompter prompter;
  bool logRunning = false;
  CMergeKvr merge{prompter, fs, [] { return std::filesystem::path("session"); }, [this] { return logRunning; }};

  testfiles::FileParts fileA(std::uint8_t direction) {
    testfiles::FileParts s;
    s.direction = direction;
    s.tools = {tool("BRIX", 210), tool("**CENTRAL", 0, 4)};
    s.channels = surfaceAnd(210, {"CCL", "GR"});
    s.parameters = {{testfiles::parameter("GAIN", 1)}};
    return s;
  }
  testfiles::FileParts fileB(std::uint8_t direction) {
    testfiles::FileParts s;
    s.direction = direction;
    s.tools = {tool("DUNE", 230), tool("BRIX", 210)};
    s.channels = surfaceAnd(230, {"SPIN", "RPS"});
    s.parameters = {{testfiles::parameter("P1", 2), testfiles::parameter("P2", 3)}, {testfiles::parameter("GAIN", 9)}};
    return s;
  }
  void choose(const testfiles::FileParts& a, const testfiles::FileParts& b) {
    testfiles::write(fs, "in/a.kvr", a);
    testfiles::write(fs, "in/b.kvr", b);
    ASSERT_TRUE(merge.choose(0, "in/a.kvr"));
    ASSERT_TRUE(merge.choose(1, "in/b.kvr"));
  }
};

TEST_F(MergeFixture, PairsRowsWithinAnEighthAndPadsTheRestInLoggingOrder) {
  struct Case {
    std::uint8_t direction;
    std::vector<float> depthsA, depthsB;
    std::vector<std::vector<float>> expected;  // depth, CCL, GR of A; DEPTH_2, SPIN_2 of B
  };
  const Case cases[] = {
      {kLogDown, {100, 100.25f, 100.5f, 100.75f}, {100.1f, 100.45f, 101},
       {{100, 10, 20, 100.1f, 30}, {100.25f, 10, 20, N, N}, {100.5f, 10, 20, 100.45f, 30},
        {100.75f, 10, 20, N, N}, {101, N, N, 101, 30}}},
      {kLogUp, {101, 100.75f, 100.5f}, {100.9f, 100.3f, 100.1f},
       {{101, 10, 20, 100.9f, 30}, {100.75f, 10, 20, N, N}, {100.5f, 10, 20, N, N},
        {100.3f, N, N, 100.3f, 30}, {100.1f, N, N, 100.1f, 30}}},
      {kLogDown, {5, 6}, {}, {{5, 10, 20, N, N}, {6, 10, 20, N, N}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.direction);
    auto a = fileA(c.direction);
    auto b = fileB(c.direction);
    for (float d : c.depthsA) a.rows.push_back(row(d, {10, 20}));
    for (float d : c.depthsB) b.rows.push_back(row(d, {30, 40}));
    if (c.depthsB.empty()) b.rows.push_back(row(1e6f, {30, 40}));  // a row far away, written last
    choose(a, b);
    merge.suffix = "_2";
    ASSERT_TRUE(merge.proceed());
    auto out = testfiles::read(fs, merge.lastOutput());
    ASSERT_EQ(out.contents.summary.rowWidth, 16u);
    std::size_t expectedRows = c.expected.size() + (c.depthsB.empty() ? 1 : 0);
    ASSERT_EQ(out.rows.size(), expectedRows);
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      SCOPED_TRACE(i);
      const auto& r = out.rows[i];
      const auto& e = c.expected[i];
      EXPECT_EQ((std::vector<float>{r[0], r[6], r[7], r[8], r[14]}), e);
      EXPECT_EQ(r[1], e[1] == N ? N : 1.0f);  // the other File 1 channels are nulls too
      EXPECT_EQ(r[15], e[4] == N ? N : 40.0f);
    }
  }
}

TEST_F(MergeFixture, WritesTheMergedToolsChannelsParametersAndStaticDataOfFile1) {
  auto a = fileA(kLogDown);
  a.well = "FIRST";
  a.rows = {row(1, {1, 2})};
  auto b = fileB(kLogDown);
  b.rows = {row(1, {3, 4})};
  choose(a, b);
  merge.suffix = "_2";
  ASSERT_TRUE(merge.proceed());
  EXPECT_EQ(merge.lastOutput(), std::filesystem::path("session") / "MERGE_FILE.kvr");
  EXPECT_TRUE(prompter.saw("MESSAGE", "File merging is successfully finished.\nsession/MERGE_FILE.kvr has been created."));
  EXPECT_FALSE(merge.chosen(0));  // the dialog is cleared
  EXPECT_TRUE(merge.suffix.empty());

  auto out = testfiles::read(fs, merge.lastOutput());
  const auto& c = out.contents;
  ASSERT_EQ(c.tools.size(), 2u);  // the accessory and File 2's BRIX are left out
  EXPECT_EQ(c.tools[0].name, "BRIX");
  EXPECT_EQ(c.tools[1].name, "DUNE");
  ASSERT_EQ(c.parameterBlocks.size(), 2u);
  EXPECT_EQ(c.parameterBlocks[0][0].value, 1);  // File 1's BRIX block, not File 2's
  ASSERT_EQ(c.parameterBlocks[1].size(), 2u);
  EXPECT_EQ(c.parameterBlocks[1][1].mnemonic, "P2");
  EXPECT_EQ(records::decodeJobRecord(c.jobRecord.data()).wellName, "FIRST");
  ASSERT_EQ(c.channels.size(), 16u);
  for (std::uint32_t i = 0; i < 16; ++i) EXPECT_EQ(c.channels[i].column(), i);
  EXPECT_EQ(c.channels[8].mnemonic, "DEPTH_2");
  EXPECT_EQ(c.channels[8].baseColumn, 8u);
  EXPECT_EQ(c.channels[14].mnemonic, "SPIN_2");
  EXPECT_EQ(c.channels[14].baseColumn, 14u);
  EXPECT_EQ(c.channels[15].index, 1u);
}

TEST_F(MergeFixture, AsksOncePerDuplicateAndClosesTheGapsOfDroppedChannels) {
  auto a = fileA(kLogDown);
  a.rows = {row(1, {10, 20})};
  auto b = fileB(kLogDown);
  b.channels = records::surfaceChannels(false);
  addBlock(b.channels, 6, 230, {"SPIN", "GR", "RPS"});  // GR sits inside the block
  addBlock(b.channels, 9, 232, {"CCL", "SEVO"});        // CCL opens its block
  b.rows = {row(9, {31, 32, 33, 34, 35})};
  choose(a, b);
  for (int i = 0; i < 8; ++i) prompter.queue(Answer::Ok);
  ASSERT_TRUE(merge.proceed());  // empty suffix

  std::vector<std::string> asked;
  for (const auto& m : prompter.messages())
    if (m.title == "QUESTION") asked.push_back(m.text);
  ASSERT_EQ(asked.size(), 8u);
  EXPECT_EQ(asked[0],
            "Channel Name: DEPTH has been found in both files !\nTry using other renaming suffix for channels from "
            "File 2\nIf you continue only data channel from File 1 will be used.");
  EXPECT_EQ(prompter.messages()[0].buttons, platform::Buttons::OkCancel);

  auto out = testfiles::read(fs, merge.lastOutput());
  const auto& ch = out.contents.channels;
  ASSERT_EQ(ch.size(), 11u);
  EXPECT_EQ(ch[8].mnemonic, "SPIN");
  EXPECT_EQ(ch[9].mnemonic, "RPS");
  EXPECT_EQ(ch[10].mnemonic, "SEVO");
  for (std::uint32_t i = 0; i < ch.size(); ++i) EXPECT_EQ(ch[i].column(), i);
  EXPECT_EQ(ch[9].baseColumn, 8u);
  EXPECT_EQ(ch[10].index, 0u);
  ASSERT_EQ(out.rows.size(), 2u);
  EXPECT_EQ(out.rows[1], (std::vector<float>{9, N, N, N, N, N, N, N, 31, 33, 35}));
}

TEST_F(MergeFixture, CancelAtADuplicateLeavesNoOutputAtAll) {
  auto a = fileA(kLogDown);
  a.rows = {row(1, {1, 2})};
  auto b = fileB(kLogDown);
  b.rows = {row(1, {3, 4})};
  choose(a, b);
  prompter.queue(Answer::Ok);
  prompter.queue(Answer::Cancel);
  EXPECT_FALSE(merge.proceed());
  EXPECT_EQ(prompter.messages().size(), 2u);
  EXPECT_FALSE(fs.exists("session/MERGE_FILE.kvr"));
  EXPECT_FALSE(fs.exists("session/FileCounter.txt"));
  EXPECT_TRUE(merge.chosen(0));  // the files stay chosen for another try
  merge.suffix = "_B";
  EXPECT_TRUE(merge.proceed());
}

TEST_F(MergeFixture, RefusalsWriteNothing) {
  auto a = fileA(kLogDown);
  a.rows = {row(1, {1, 2})};
  auto b = fileB(kLogUp);
  b.rows = {row(1, {3, 4})};
  testfiles::write(fs, "in/a.kvr", a);
  testfiles::write(fs, "in/b.kvr", b);

  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("MESSAGE", "You must input two files in order to perform a merge"));
  ASSERT_TRUE(merge.choose(0, "in/a.kvr"));
  ASSERT_TRUE(merge.choose(1, "in/b.kvr"));
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR",
                           "These files have different logging directions\nThey must have the same logging direction "
                           "in order to be merged"));
  prompter.clear();
  logRunning = true;
  EXPECT_FALSE(merge.mayOpen());
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.messages().empty());
  EXPECT_FALSE(fs.exists("session/FileCounter.txt"));
}

TEST_F(MergeFixture, TruncatedOrCorruptedInputsGiveTheDataFileMessages) {
  auto a = fileA(kLogDown);
  a.rows = {row(1, {1, 2}), row(2, {1, 2})};
  testfiles::write(fs, "in/a.kvr", a);
  const auto bytes = fs.file("in/a.kvr");
  const std::size_t channelsEnd = 8 + 1 * 56 * 2 + 4 + 8 * 56;  // just before the trailing channel count

  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* text;
  };
  auto cut = [&](std::size_t n) { return std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + n); };
  auto flipped = bytes;
  flipped[channelsEnd] ^= 1;  // trailing channel count no longer equals the leading one
  auto badColumn = bytes;
  badColumn[8 + 2 * 56 + 4 + 7 * 56 + 40] = 200;  // GR's base column far outside the row
  const Case cases[] = {
      {"static data cut", cut(100), "Error while trying to read static data from the file"},
      {"no rows", cut(bytes.size() - 2 * 8 * 4), "Error while trying to read static data from the file"},
      {"counts differ", flipped, "Error while checking static data integrity\nFile could be corrupted, try again"},
      {"column outside the row", badColumn, "Error while checking static data integrity\nFile could be corrupted, try again"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    prompter.clear();
    fs.setFile("in/bad.kvr", c.bytes);
    EXPECT_FALSE(merge.choose(0, "in/bad.kvr"));
    EXPECT_TRUE(prompter.saw("FATAL ERROR", c.text));
    EXPECT_FALSE(merge.chosen(0));
  }
  EXPECT_FALSE(merge.choose(1, "in/missing.kvr"));
  EXPECT_TRUE(prompter.saw("FATAL ERROR", "The requested file could not be opened"));
  EXPECT_FALSE(fs.exists("session/FileCounter.txt"));

  // A row cut short at the end is left out; the whole rows are merged.
  auto half = cut(bytes.size() - 4 * 4);
  fs.setFile("in/short.kvr", half);
  auto b = fileB(kLogDown);
  b.rows = {row(1, {3, 4})};
  testfiles::write(fs, "in/b.kvr", b);
  ASSERT_TRUE(merge.choose(0, "in/short.kvr"));
  ASSERT_TRUE(merge.choose(1, "in/b.kvr"));
  merge.suffix = "_2";
  ASSERT_TRUE(merge.proceed());
  EXPECT_EQ(testfiles::read(fs, merge.lastOutput()).rows.size(), 1u);
}

TEST_F(MergeFixture, ParameterBlocksGoThroughTheToolsListsWhichKeepTheirOwnValues) {
  tools::Library lib;
  lib.initToolsData(records::SystemUnitsS{});
  auto& brix = lib.family(210)->getParameterList();
  auto& dune = lib.family(230)->getParameterList();
  ASSERT_FALSE(brix.empty());
  const auto liveBrix = brix;
  CMergeKvr withTools(prompter, fs, [] { return std::filesystem::path("session"); }, [] { return false; }, &lib);

  auto a = fileA(kLogDown);
  a.parameters = {brix};
  a.parameters[0][0].value = 42;  // the file's own value
  a.rows = {row(1, {1, 2})};
  auto b = fileB(kLogDown);
  b.parameters = {dune, brix};
  b.rows = {row(1, {3, 4})};
  testfiles::write(fs, "in/a.kvr", a);
  testfiles::write(fs, "in/b.kvr", b);
  ASSERT_TRUE(withTools.choose(0, "in/a.kvr"));
  ASSERT_TRUE(withTools.choose(1, "in/b.kvr"));
  withTools.suffix = "_2";
  ASSERT_TRUE(withTools.proceed());
  auto out = testfiles::read(fs, withTools.lastOutput());
  ASSERT_EQ(out.contents.parameterBlocks.size(), 2u);
  EXPECT_EQ(out.contents.parameterBlocks[0], a.parameters[0]);
  EXPECT_EQ(out.contents.parameterBlocks[1], dune);
  EXPECT_EQ(brix, liveBrix);  // the program's lists are as they were

  // A file written with another list length is refused as playback would refuse it.
  auto other = fileA(kLogDown);  // one BRIX parameter only
  other.rows = {row(1, {1, 2})};
  testfiles::write(fs, "in/other.kvr", other);
  prompter.clear();
  EXPECT_FALSE(withTools.choose(0, "in/other.kvr"));
  EXPECT_TRUE(prompter.saw("FATAL ERROR", "Error while checking static data integrity\nFile could be corrupted, try again"));
  EXPECT_EQ(brix, liveBrix);
}

struct SpliceFixture : MergeFixture {
  testfiles::FileParts interval(std::uint8_t direction, float first, float last) {
    auto s = fileA(direction);
    float step = first < last ? 1.0f : -1.0f;
    for (float d = first; step > 0 ? d <= last : d >= last; d += step) s.rows.push_back(row(d, {d * 2, 0}));
    return s;
  }
  std::vector<float> depths() {
    std::vector<float> out;
    for (const auto& r : testfiles::read(fs, merge.lastOutput()).rows) out.push_back(r[0]);
    return out;
  }
};

TEST_F(SpliceFixture, JoinsTheRangesInLoggingOrder) {
  struct Case {
    std::uint8_t direction;
    float a0, a1, b0, b1;   // first and last depth of each file
    DepthRange r1, r2;
    std::vector<float> expected;
  };
  const Case cases[] = {
      {kLogDown, 1000, 1006, 1004, 1010, {1000, 1005}, {1005, 1008}, {1000, 1001, 1002, 1003, 1004, 1005, 1005, 1006, 1007, 1008}},
      {kLogDown, 1004, 1010, 1000, 1006, {1005, 1008}, {1001, 1005}, {1001, 1002, 1003, 1004, 1005, 1005, 1006, 1007, 1008}},
      {kLogUp, 2010, 2004, 2006, 2000, {2008, 2005}, {2005, 2003}, {2008, 2007, 2006, 2005, 2005, 2004, 2003}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.a0);
    choose(interval(c.direction, c.a0, c.a1), interval(c.direction, c.b0, c.b1));
    merge.action = MergeAction::Splice;
    merge.ranges = {c.r1, c.r2};
    ASSERT_TRUE(merge.proceed());
    EXPECT_EQ(depths(), c.expected);
    EXPECT_EQ(merge.lastOutput().filename().string().rfind("SPLICE_FILE", 0), 0u);
  }
  EXPECT_TRUE(prompter.saw("MESSAGE", "File splicing is successfully finished.\nsession/SPLICE_FILE.kvr has been created."));
}

TEST_F(SpliceFixture, RefusesInvalidRangesJoinsThatDoNotMeetAndOtherToolStrings) {
  struct Case {
    std::uint8_t direction;
    DepthRange r1, r2;
    const char* text;
  };
  const Case cases[] = {
      {kLogDown, {999, 1005}, {1005, 1008}, "The specified depth range for File 1 is not valid !\n Valid range: 1000.0 to 1006.0"},
      {kLogDown, {1000, 1005}, {1005, 1011}, "The specified depth range for File 2 is not valid !\n Valid range: 1004.0 to 1010.0"},
      {kLogDown, {1000, 1005}, {1005.5f, 1008},
       "The Final depth for File 1 has to be equal to the Starting depth for File 2 !\nCorrect this numbers and try again !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    prompter.clear();
    choose(interval(c.direction, 1000, 1006), interval(c.direction, 1004, 1010));
    merge.action = MergeAction::Splice;
    merge.ranges = {c.r1, c.r2};
    EXPECT_FALSE(merge.proceed());
    EXPECT_TRUE(prompter.saw("ERROR", c.text));
  }
  prompter.clear();
  choose(interval(kLogUp, 2010, 2004), interval(kLogUp, 2020, 2008));
  merge.action = MergeAction::Splice;
  merge.ranges = {DepthRange{2011, 2005}, DepthRange{2010, 2009}};
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR", "The specified depth range for File 1 is not valid !\n Valid range: 2010.00 to 2004.00"));
  merge.ranges = {DepthRange{2009, 2005}, DepthRange{2018, 2009.5f}};
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR",
                           "The Final depth for File 2 has to be equal to the Starting depth for File 1 !\nCorrect this "
                           "numbers and try again !"));

  const char* toolString =
      "The files trying to be spliced do not belong to the same toolstring\nYou must input files belonging to the "
      "same toolstring !";
  auto other = interval(kLogDown, 1004, 1010);
  other.tools = {tool("DUNE", 230)};
  choose(interval(kLogDown, 1000, 1006), other);
  merge.action = MergeAction::Splice;
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR", toolString));
  prompter.clear();
  auto wider = interval(kLogDown, 1004, 1010);
  addBlock(wider.channels, 8, 210, {"EXTRA"});
  for (auto& r : wider.rows) r.push_back(0);
  choose(interval(kLogDown, 1000, 1006), wider);
  merge.action = MergeAction::Splice;
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR", toolString));

  // A down log and an up log of one string: the joined depths would reverse.
  prompter.clear();
  choose(interval(kLogDown, 1000, 1006), interval(kLogUp, 1010, 1004));
  merge.action = MergeAction::Splice;
  merge.ranges = {DepthRange{1000, 1005}, DepthRange{1005, 1004}};
  EXPECT_FALSE(merge.proceed());
  EXPECT_TRUE(prompter.saw("ERROR", "These files have different logging directions\nThey must have the same logging "
                                    "direction in order to be spliced"));
  EXPECT_FALSE(fs.exists("session/FileCounter.txt"));
}

TEST(SpliceDialog, AnUntouchedDepthBoxKeepsTheExactDepth) {
  EXPECT_EQ(depthFromBox(1000.123f, 1000.12, 1000.12), 1000.123f);  // shown rounded, not edited
  EXPECT_EQ(depthFromBox(1000.123f, 1000.12, 1001.5), 1001.5f);     // edited
}

// Merge and splice outputs the program names never replace a recorded file.
TEST_F(SpliceFixture, ANumberedOutputPassesOverFilesAlreadyThere) {
  fs.writeText("session/FileCounter.txt", "abc");
  fs.writeText("session/SPLICE_FILE_1.kvr", "recorded");
  choose(interval(kLogDown, 1000, 1006), interval(kLogDown, 1004, 1010));
  merge.action = MergeAction::Splice;
  merge.ranges = {DepthRange{1000, 1005}, DepthRange{1005, 1008}};
  ASSERT_TRUE(merge.proceed());
  EXPECT_EQ(merge.lastOutput(), std::filesystem::path("session/SPLICE_FILE_2.kvr"));
  EXPECT_EQ(fs.text("session/SPLICE_FILE_1.kvr"), "recorded");
}

}  // namespace
}  // namespace kvr::utilities
