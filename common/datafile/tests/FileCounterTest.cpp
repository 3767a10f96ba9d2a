#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileCounter.h"
#include "common/datafile/MemoryFiles.h"
#include "common/datafile/PosixFiles.h"
#include "platform/testing/TempPaths.h"

using kvr::CFileManager;

TEST(FileCounter, StoredTextGivesTheNumber) {
  const std::pair<const char*, int> cases[] = {
      {"0\r\nDo not change or delete this file !", 0},
      {"7\nDo not change", 7},
      {"12\rDo not", 12},
      {"  \t\r\n 42", 42},
      {"abc", 0},
      {"", 0},
      {"12abc 99", 12},
      {"+5", 5},
      {"-5", 0},
      {"-1", 0},
      {"2147483646", 2147483646},
      {"2147483647", INT_MAX - 1},
      {"99999999999999999999999999", INT_MAX - 1},
      {"\x80\xff\x01", 0},
  };
  for (auto [text, number] : cases) EXPECT_EQ(kvr::parseFileCounter(text), number) << '"' << text << '"';
}

TEST(FileCounter, NextNumberCountsFromAMissingFileAndRewritesTheFile) {
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  const std::filesystem::path session = "s";
  const auto counter = session / "FileCounter.txt";

  ASSERT_EQ(fm.nextFileNumber(session), 0);
  EXPECT_EQ(fm.suffix(), "");
  EXPECT_EQ(fs.text(counter), "0\r\nDo not change or delete this file !");
  ASSERT_EQ(fm.nextFileNumber(session), 0);
  EXPECT_EQ(fm.suffix(), "_1");
  EXPECT_EQ(fs.text(counter), "1\r\nDo not change or delete this file !");

  const std::pair<const char*, const char*> stored[] = {
      {"abc", "_1"}, {"-1", "_1"}, {"41", "_42"}, {"41\r", "_42"}, {"", "_1"},
      {"2147483647", "_2147483647"},
      {"99999999999999999999", "_2147483647"},
  };
  for (auto [text, suffix] : stored) {
    fs.writeText(counter, text);
    ASSERT_EQ(fm.nextFileNumber(session), 0);
    EXPECT_EQ(fm.suffix(), suffix) << text;
  }
}

TEST(FileCounter, HugeCounterFileIsReadOnlyAsFarAsItsFirstWord) {
  kvr::MemoryFileSystem fs;
  CFileManager fm(fs);
  fs.writeText("s/FileCounter.txt", "8 " + std::string(1 << 20, 'x'));
  ASSERT_EQ(fm.nextFileNumber("s"), 0);
  EXPECT_EQ(fm.suffix(), "_9");
  fs.writeText("s/FileCounter.txt", std::string(1 << 20, '9'));
  ASSERT_EQ(fm.nextFileNumber("s"), 0);
  EXPECT_EQ(fm.suffix(), "_2147483647");
}

TEST(FileCounter, CounterThatCannotBeWrittenFails) {
  kvr::MemoryFileSystem fs;
  fs.refuse("s/FileCounter.txt");
  CFileManager fm(fs);
  EXPECT_EQ(fm.nextFileNumber("s"), -1);
}

TEST(FileCounter, RealFilesAndTheDocumentedNames) {
  platform::testing::TempPaths paths;
  const auto session = paths.base() / "session";
  std::filesystem::create_directories(session);
  kvr::PosixFileSystem fs;
  CFileManager fm(fs);
  records::ToolList tools(3);
  tools[0].name = "BRIX";
  tools[0].setKind(1);
  tools[1].name = "**CENTRAL";
  tools[1].setKind(4);
  tools[2].name = "DUNE";
  tools[2].setKind(1);
  const std::string name = CFileManager::logFileName(tools, kvr::kLogUp, false);
  EXPECT_EQ(name, "BRIX_DUNE_UP");

  ASSERT_EQ(fm.nextFileNumber(session), 0);
  ASSERT_EQ(fm.createOutputFile(session, name), 0);
  EXPECT_EQ(fm.lastFilePath(), session / "BRIX_DUNE_UP.kvr");
  fm.closeOutput();
  EXPECT_TRUE(std::filesystem::exists(session / "BRIX_DUNE_UP.kvr"));

  // A counter file that reads back 1 gives _2.
  ASSERT_TRUE(fs.writeText(session / "FileCounter.txt", "1\nDo not change or delete this file !"));
  ASSERT_EQ(fm.nextFileNumber(session), 0);
  ASSERT_EQ(fm.createOutputFile(session, name), 0);
  EXPECT_EQ(fm.lastFilePath(), session / "BRIX_DUNE_UP_2.kvr");
  auto text = fs.readText(session / "FileCounter.txt", 100);
  ASSERT_TRUE(text);
  EXPECT_EQ(*text, "2\r\nDo not change or delete this file !");

  EXPECT_EQ(fm.createOutputFile(paths.base() / "missing-folder", name), -1);
}

// Whatever the counter holds, a new data file never replaces one already recorded: taken
// names are passed over and the number used is written back.
TEST(FileCounter, NewDataFilesPassOverTakenNamesAndNeverReplaceOne) {
  struct Case {
    std::optional<std::string> counter;  // nullopt: no counter file
    std::vector<std::string> taken;
    const char* created;                 // nullptr: refused
    const char* counterAfter;
  };
  const std::string huge(30, '9');
  const Case cases[] = {
      {std::nullopt, {"X_UP.kvr", "X_UP_1.kvr"}, "X_UP_2.kvr", "2"},
      {"abc", {"X_UP_1.kvr", "X_UP_2.kvr"}, "X_UP_3.kvr", "3"},
      {"-7", {"X_UP_1.kvr"}, "X_UP_2.kvr", "2"},
      {"", {"X_UP_1.kvr"}, "X_UP_2.kvr", "2"},
      {"4", {}, "X_UP_5.kvr", "5"},
      // The last number there is: nothing to move on to, and nothing replaced.
      {huge, {"X_UP_2147483647.kvr"}, nullptr, "2147483647"},
  };
  for (const auto& c : cases) {
    kvr::MemoryFileSystem fs;
    if (c.counter) fs.writeText("s/FileCounter.txt", *c.counter);
    for (const auto& t : c.taken) fs.writeText("s/" + t, "recorded");
    CFileManager fm(fs);
    const int r = fm.createNumberedOutput("s", "X_UP");
    EXPECT_EQ(r == 0, c.created != nullptr) << c.counter.value_or("(none)");
    if (c.created) {
      EXPECT_EQ(fm.lastFilePath(), std::filesystem::path("s") / c.created);
    }
    for (const auto& t : c.taken) EXPECT_EQ(fs.text("s/" + t), "recorded") << t;
    EXPECT_EQ(fs.text("s/FileCounter.txt"), kvr::fileCounterText(std::stoi(c.counterAfter)));
  }
}

TEST(FileCounter, ACounterThatCannotBeWrittenCreatesNothing) {
  platform::testing::TempPaths paths;
  const auto session = paths.base() / "session";
  std::filesystem::create_directories(session / "FileCounter.txt");  // a folder in its place
  kvr::PosixFileSystem fs;
  CFileManager fm(fs);
  EXPECT_EQ(fm.createNumberedOutput(session, "X_UP"), CFileManager::kCounterUnwritable);
  EXPECT_FALSE(fm.outputOpen());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(session), {}), 1);

  // A real file of the name is left whole: the new file is created exclusively.
  std::filesystem::remove(session / "FileCounter.txt");
  ASSERT_TRUE(fs.writeText(session / "X_UP.kvr", "recorded"));
  ASSERT_EQ(fm.createNumberedOutput(session, "X_UP"), 0);
  EXPECT_EQ(fm.lastFilePath(), session / "X_UP_1.kvr");
  EXPECT_EQ(fs.readText(session / "X_UP.kvr", 100), "recorded");
}

TEST(FileNaming, ToolsOfKindOneThenTheDirection) {
  records::ToolList tools(2);
  tools[0].name = "TARNB-FSK";
  tools[0].setKind(1);
  tools[0].setSerial(12);
  tools[1].name = "**SINKER";
  tools[1].setKind(2);
  EXPECT_EQ(CFileManager::logFileName(tools, kvr::kLogDown, false), "TARNB-FSK_DOWN");
  EXPECT_EQ(CFileManager::logFileName(tools, kvr::kLogStation, false), "TARNB-FSK_STATION");
  EXPECT_EQ(CFileManager::logFileName(tools, kvr::kLogUp, true), "TARNB-FSK_PLAY-UP");
  EXPECT_EQ(CFileManager::logFileName({}, kvr::kLogDown, true), "PLAY-DOWN");
}
