#include "common/presentation/PresManager.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace presentation {
namespace {

using platform::Answer;
using platform::testing::ScriptedPrompter;
using platform::testing::TempPaths;

constexpr const char* kNotValid = "The requested file is not a valid Presentation Format";

std::string formatBlock(const std::string& name) {
  return "&FORMAT\r\n" + name +
         "\r\nENGLISH\r\n200\r\n&TRACK\r\nDEPTH\r\n60\r\n0\r\nNOOVERLAP\r\n"
         "&CURVE\r\nDEPTH\r\n0\r\nDepth\r\n0\r\n1\r\n40\r\nSOLID\r\n1\r\n0\r\n0\r\n0\r\n";
}

class PresManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(paths.dataRoot()); }
  std::string file(const std::string& name, const std::string& text) {
    const auto p = paths.dataRoot() / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  std::string fileOf(int formats, const std::string& prefix) {
    std::string text;
    for (int i = 0; i < formats; ++i) text += formatBlock(prefix + std::to_string(i));
    return file(prefix + ".txt", text + "&END");
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& f : manager.formats()) out.push_back(f.name);
    return out;
  }
  TempPaths paths;
  ScriptedPrompter prompter;
  CPresManager manager{prompter, paths.dataRoot()};
};

TEST_F(PresManagerTest, OpenReplacesAndAppendFillsTheFreeSlots) {
  EXPECT_EQ(manager.open(fileOf(3, "A")), 0);
  EXPECT_EQ(manager.append(fileOf(14, "B")), 0);
  EXPECT_EQ(manager.formats().size(), 15u);
  EXPECT_EQ(names()[3], "B0");
  EXPECT_EQ(names()[14], "B11");
  // A full manager takes nothing and asks for nothing.
  EXPECT_EQ(manager.append(), 0);
  EXPECT_TRUE(prompter.fileRequests().empty());
  EXPECT_EQ(manager.open(fileOf(2, "C")), 0);
  EXPECT_EQ(names(), (std::vector<std::string>{"C0", "C1"}));
  EXPECT_EQ(manager.current()->name, "C0");
}

TEST_F(PresManagerTest, InvalidFileFromTheDialogIsReportedAndLeavesNothingOfItself) {
  manager.open(fileOf(2, "A"));
  const auto bad = file("bad.txt", "&FORMAT\r\nX\r\nENGLISH\r\n200\r\n&TRACK\r\nDEPTH\r\n60\r\n0\r\nNOOVERLAP\r\n");
  prompter.queueFile(bad);
  EXPECT_EQ(manager.append(), -2);
  EXPECT_TRUE(prompter.saw("FATAL ERROR", kNotValid));
  EXPECT_EQ(names(), (std::vector<std::string>{"A0", "A1"}));
  prompter.queueFile(bad);
  EXPECT_EQ(manager.open(), -2);
  EXPECT_TRUE(manager.formats().empty());
  // Named files (start-up and Exit paths) are read without the message.
  prompter.clear();
  EXPECT_EQ(manager.open(bad), -2);
  EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(PresManagerTest, UnopenableFileChangesNothing) {
  manager.open(fileOf(1, "A"));
  EXPECT_EQ(manager.open((paths.dataRoot() / "missing.txt").string()), -1);
  EXPECT_TRUE(prompter.saw("FATAL ERROR", "The requested file could not be opened"));
  EXPECT_EQ(names(), (std::vector<std::string>{"A0"}));
}

TEST_F(PresManagerTest, EraseAsksThenClosesTheGaps) {
  manager.open(fileOf(7, "F"));
  manager.select(2, true);
  manager.select(5, true);
  prompter.queue(Answer::No);
  EXPECT_FALSE(manager.erase());
  EXPECT_EQ(manager.formats().size(), 7u);
  prompter.queue(Answer::Yes);
  EXPECT_TRUE(manager.erase());
  EXPECT_TRUE(prompter.saw("ATTENTION", "Do you really want to erase the selected Format(s) ?"));
  EXPECT_EQ(names(), (std::vector<std::string>{"F0", "F1", "F3", "F4", "F6"}));
  EXPECT_FALSE(manager.selected(2));
  prompter.clear();
  EXPECT_FALSE(manager.erase());  // nothing selected: no question
  EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(PresManagerTest, ExitRefusesRepeatedNamesAndOtherwiseSavesTheDefaultFile) {
  manager.open(fileOf(3, "F"));
  manager.setSlot(2, "F0", 9);
  EXPECT_FALSE(manager.exit());
  EXPECT_TRUE(prompter.saw("WARNING",
                           "There are formats having the same name. You cannot repeat the names.\n"
                           "Please change this before you get any further !"));
  EXPECT_FALSE(std::filesystem::exists(paths.dataRoot() / "DEFAULT_FORMAT.TXT"));
  manager.setSlot(2, "Last", 9);
  EXPECT_TRUE(manager.exit());
  EXPECT_EQ(manager.formats()[2].scale, 1000);
  EXPECT_FALSE(manager.formats()[2].english);  // "1/1000 Metric": the unit goes with the scale

  CPresManager again(prompter, paths.dataRoot());
  EXPECT_EQ(again.loadDefault(), 0);
  ASSERT_EQ(again.formats().size(), 3u);
  EXPECT_EQ(again.formats()[2].name, "Last");
  EXPECT_EQ(CPresManager::scaleChoice(again.formats()[2]), 9);

  // A name that would leave the folder is refused like a repeated one.
  prompter.clear();
  manager.setSlot(1, "../x", 0);
  EXPECT_FALSE(manager.exit());
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_NE(prompter.texts()[0].find("cannot hold"), std::string::npos);
}

TEST_F(PresManagerTest, TheDefaultFileReadAtStartUpHasItsNamesChecked) {
  manager.open(fileOf(2, "F"));
  manager.setSlot(1, "F0", 0);
  ASSERT_EQ(manager.save((paths.dataRoot() / "DEFAULT_FORMAT.TXT").string()), 0);
  prompter.clear();
  CPresManager again(prompter, paths.dataRoot());
  EXPECT_EQ(again.loadDefault(), 0);
  EXPECT_TRUE(prompter.saw("WARNING",
                           "There are formats having the same name. You cannot repeat the names.\n"
                           "Please change this before you get any further !"));
}

TEST_F(PresManagerTest, SaveWritesWhatWasRead) {
  const auto source = fileOf(2, "S");
  manager.open(source);
  const auto target = (paths.dataRoot() / "copy.txt").string();
  prompter.queueFile(target);
  EXPECT_EQ(manager.save(), 0);
  std::ifstream a(source, std::ios::binary), b(target, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}), std::string(std::istreambuf_iterator<char>(b), {}));
  prompter.queueFile(std::nullopt);
  EXPECT_EQ(manager.save(), -1);  // the dialog was cancelled
}

}  // namespace
}  // namespace presentation
