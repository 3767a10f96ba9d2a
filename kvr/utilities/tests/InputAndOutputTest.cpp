// Choosing the input and writing the output: every refusal with its message, the questions,
// bad input files, a full disk, and an input that is never modified.

#include <gmock/gmock.h>

#include "common/datafile/MemoryFiles.h"
#include "kvr/utilities/tests/ConverterFixture.h"
#include "kvr/utilities/tests/LasParser.h"

namespace kvr::utilities::testing {
namespace {

using platform::Answer;
using ::testing::ElementsAre;

constexpr const char* kReadMessage = "Error while trying to read static data from the file";
constexpr const char* kIntegrityMessage = "Error while checking static data integrity\nFile could be corrupted, try again";

RecordedLog smallLog() {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i <= 4; ++i) log.addRow(1000.0f + static_cast<float>(i), static_cast<float>(i));
  return log;
}

class Input : public ConverterTest {
 protected:
  // The file with its bytes changed by `edit`.
  std::filesystem::path damaged(const std::function<void(std::string&)>& edit) {
    const auto p = write(smallLog());
    auto bytes = readAll(p);
    edit(bytes);
    const auto bad = paths.base() / "BAD.kvr";
    std::ofstream(bad, std::ios::binary) << bytes;
    return bad;
  }
};

TEST_F(Input, ChoosingSetsTheOutputNameListsAndLimits) {
  const auto p = write(smallLog());
  choose(p);
  EXPECT_EQ(converter.fields().outputFile, (paths.base() / "BRIX_DOWN.las").string());
  EXPECT_THAT(converter.channelNames(),
              ElementsAre("DEPTH", "LSPD", "TENS", "TIME", "UHVOLT", "UHCURR", "CCL1", "CCL2", "CCL3", "CCL4", "GR"));
  EXPECT_STREQ(converter.steps()[static_cast<std::size_t>(converter.fields().stepIndex)].text, "1 ft");
  EXPECT_EQ(converter.labels().unit, "ft");
  EXPECT_EQ(converter.fields().start, 1000.0f);
  EXPECT_EQ(converter.fields().final, 1004.0f);
  EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(Input, BrowseStartsInTheSessionFolder) {
  converter.setSessionFolder(paths.base());
  prompter.queueFile(write(smallLog()).string());
  EXPECT_TRUE(converter.browse());
  ASSERT_EQ(prompter.fileRequests().size(), 1u);
  EXPECT_EQ(prompter.fileRequests()[0].filter, "KVR Data files (*.kvr)|*.kvr||");
  EXPECT_EQ(prompter.fileRequests()[0].initialDir, paths.base().string());
}

TEST_F(Input, KeepingTheSelectedChannelsIsAskedAndFollowed) {
  const auto p = write(smallLog());
  choose(p, {"GR", "TENS"});
  converter.fields().stepIndex = 2;
  auto metric = smallLog();
  metric.channels = records::surfaceChannels(false);
  metric.channels.push_back({"GR", "API", 6, 0, 210});
  metric.modeWord = 10;
  for (auto& r : metric.rows) r.resize(7);
  const auto other = write(metric, "OTHER");
  prompter.queue(Answer::Yes);
  ASSERT_TRUE(converter.chooseInput(other));
  EXPECT_TRUE(prompter.saw("QUESTION", "Do you want to keep the selected channels ?"));
  EXPECT_THAT(converter.selectedChannelNames(), ElementsAre("TENS", "GR"));
  EXPECT_EQ(converter.fields().stepIndex, 2);
  prompter.queue(Answer::No);
  ASSERT_TRUE(converter.chooseInput(p));
  EXPECT_TRUE(converter.selectedChannelNames().empty());
  EXPECT_EQ(converter.fields().stepIndex, 4);
  converter.deselectAll();
  prompter.clear();
  ASSERT_TRUE(converter.chooseInput(p));
  EXPECT_TRUE(prompter.messages().empty());  // nothing selected: nothing to ask
}

TEST_F(Input, BadFilesAreRefusedWithTheirMessagesAndTheStateSurvives) {
  const auto good = write(smallLog());
  choose(good, {"GR"});
  struct Case {
    std::function<void(std::string&)> edit;
    const char* text;
  };
  const std::size_t channelCountAt = 4 + 56 + 4;  // after the one tool entry
  const Case cases[] = {
      {[](std::string& b) { b.resize(100); }, kReadMessage},                    // truncated in the static data
      {[](std::string& b) { b.resize(b.size() - 5 * 11 * 4); }, kReadMessage},  // static data only, no row
      {[&](std::string& b) { b[channelCountAt] = 12; }, kIntegrityMessage},     // channel counts disagree
      {[&](std::string& b) { b[channelCountAt + 4 + 10 * 56 + 40] = 9; }, kIntegrityMessage},  // GR's column past the row
      {[](std::string& b) { b.assign("this is no data file"); }, kReadMessage},
  };
  for (const auto& c : cases) {
    prompter.clear();
    EXPECT_FALSE(converter.chooseInput(damaged(c.edit)));
    EXPECT_THAT(prompter.texts(), ElementsAre(c.text));
    EXPECT_EQ(prompter.messages().back().title, "FATAL ERROR");
    EXPECT_EQ(converter.fields().inputFile, good.string());
    EXPECT_THAT(converter.selectedChannelNames(), ElementsAre("GR"));
  }
  prompter.clear();
  EXPECT_FALSE(converter.chooseInput(paths.base() / "missing.kvr"));
  EXPECT_THAT(prompter.texts(), ElementsAre("The requested file could not be opened"));
}

TEST_F(Input, ARowCutShortAtTheEndIsLeftOut) {
  const auto bad = damaged([](std::string& b) { b.resize(b.size() - 6); });
  choose(bad, {"TENS"});
  const auto las = parseLas(convertToText());
  ASSERT_EQ(las.rows.size(), 4u);
  EXPECT_EQ(las.rows.back()[1], 5.0);
}

TEST_F(Input, TheFileBeingRecordedIsRefused) {
  const auto p = write(smallLog());
  converter.setRecordingFile([&] { return p; });
  EXPECT_FALSE(converter.chooseInput(p));
  EXPECT_TRUE(prompter.saw("ERROR", "You cannot convert the current logging file !!"));
  EXPECT_FALSE(converter.hasInput());
}

TEST_F(Input, ConvertNeedsAnInputThatCanStillBeOpened) {
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("MESSAGE", "You must specify an input file before trying to convert it !"));
  const auto p = write(smallLog());
  choose(p);
  std::filesystem::remove(p);
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("FATAL ERROR", "Error while trying to open the input file"));
}

TEST_F(Input, TheProposedOutputNeverReplacesAFileATypedOneAsksFirst) {
  choose(write(smallLog()), {"GR"});
  const std::string proposed = converter.fields().outputFile;
  std::ofstream(proposed) << "keep me";
  const auto taken1 = paths.base() / "BRIX_DOWN_1.las";
  std::ofstream(taken1) << "keep me too";
  // The proposed name moves on to the next free number without a question.
  EXPECT_TRUE(converter.convert());
  EXPECT_EQ(converter.fields().outputFile, (paths.base() / "BRIX_DOWN_2.las").string());
  EXPECT_FALSE(prompter.saw("ATTENTION", "The output file already exists ! - Do you want to overwrite the file ?"));
  EXPECT_EQ(readAll(proposed), "keep me");
  EXPECT_EQ(readAll(taken1), "keep me too");
  EXPECT_EQ(parseLas(readAll(converter.fields().outputFile)).rows.size(), 5u);
  // A second conversion takes the next number again.
  EXPECT_TRUE(converter.convert());
  EXPECT_EQ(converter.fields().outputFile, (paths.base() / "BRIX_DOWN_3.las").string());

  // A typed name that exists is replaced only on Yes.
  converter.fields().outputFile = taken1.string();
  prompter.queue(Answer::No);
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("ATTENTION", "The output file already exists ! - Do you want to overwrite the file ?"));
  EXPECT_EQ(readAll(taken1), "keep me too");
  prompter.queue(Answer::Yes);
  EXPECT_TRUE(converter.convert());
  EXPECT_EQ(parseLas(readAll(taken1)).rows.size(), 5u);
}

TEST_F(Input, TheInputIsNeverTheOutputAndNeverChanges) {
  const auto p = write(smallLog());
  const auto before = readAll(p);
  choose(p, {"GR"});
  converter.fields().outputFile = p.string();
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("ERROR", "The output file cannot be the input file !"));
  converter.fields().outputFile = (paths.base() / "." / "BRIX_DOWN.kvr").string();
  EXPECT_FALSE(converter.convert());
  converter.fields().outputFile = (paths.base() / "out.las").string();
  EXPECT_TRUE(converter.convert());
  EXPECT_EQ(readAll(p), before);
}

TEST_F(Input, ProgressAdvancesOncePerDataLine) {
  choose(write(smallLog()), {"GR"});
  std::vector<std::int64_t> seen;
  converter.setProgress([&](std::int64_t n) { seen.push_back(n); });
  convertToText();
  EXPECT_THAT(seen, ElementsAre(1, 2, 3, 4, 5));
  EXPECT_EQ(converter.plannedLines(), 5);
}

TEST_F(Input, ViewOpensTheWrittenOutputInTheEditor) {
  choose(write(smallLog()));
  EXPECT_FALSE(converter.view());
  EXPECT_TRUE(prompter.saw("MESSAGE", "The output file has not been written yet: convert the file first !"));
  // No channel: refused, nothing written.
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("MESSAGE", "You must select at least one channel to convert !"));
  EXPECT_FALSE(prompter.saw("MESSAGE", "Convertion has successfully finished"));
  EXPECT_FALSE(std::filesystem::exists(converter.fields().outputFile));
  selectAll();
  convertToText();
  EXPECT_TRUE(converter.view());
  ASSERT_EQ(paths.opened().size(), 1u);
  EXPECT_EQ(paths.opened()[0], converter.fields().outputFile);
}

class FullDisk : public ::testing::Test {
 protected:
  platform::testing::TempPaths paths;
  platform::testing::ScriptedPrompter prompter;
  platform::testing::VirtualClock clock;
  MemoryFileSystem fs;
  MemoryTextFiles text;
  CKvrToAscii converter{prompter, paths, clock, fs, text, 20};
};

TEST_F(FullDisk, APartlyWrittenOutputStaysAndTheFailureIsShown) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i < 20000; ++i) log.addRow(static_cast<float>(i), 1);
  const auto p = writeLog(fs, "/session", "BRIX_DOWN", log);
  ASSERT_TRUE(converter.chooseInput(p));
  converter.fields().selected.assign(11, true);
  text.setSpaceLeft(800000);
  EXPECT_FALSE(converter.convert());
  EXPECT_TRUE(prompter.saw("FATAL", "Error while writting data to the output file\nRestart the program and check for "
                                    "enough disk space !"));
  EXPECT_FALSE(prompter.saw("MESSAGE", "Convertion has successfully finished"));
  const auto& partial = text.text("/session/BRIX_DOWN.las");
  EXPECT_EQ(partial.size(), 800000u);
  EXPECT_EQ(partial.rfind("~VERSION INFORMATION\r\n", 0), 0u);

  prompter.clear();
  text.refuse("/session/other.las");
  converter.fields().outputFile = "/session/other.las";
  EXPECT_FALSE(converter.convert());
  EXPECT_THAT(prompter.texts(),
              ElementsAre("Error while trying to open the output file\nRestart the program and check for enough disk space !"));
}

}  // namespace
}  // namespace kvr::utilities::testing
