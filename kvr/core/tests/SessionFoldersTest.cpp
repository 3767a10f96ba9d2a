#include <gtest/gtest.h>

#include <fstream>

#include "common/datafile/MemoryFiles.h"
#include "common/datafile/PosixFiles.h"
#include "kvr/core/SessionFolders.h"
#include "platform/testing/TempPaths.h"

TEST(SessionFolders, CreatedInOrderAndExistingOnesAreFine) {
  kvr::MemoryFileSystem fs;
  std::filesystem::path session;
  ASSERT_EQ(kvr::createSessionFolders(fs, "root/KVRFolder", "Ann", "Acme", "W-7", session), 0);
  EXPECT_EQ(session, std::filesystem::path("root/KVRFolder/Clients/Acme/W-7"));
  const std::vector<std::string> order{"root/KVRFolder", "root/KVRFolder/Ann", "root/KVRFolder/Clients",
                                       "root/KVRFolder/Clients/Acme", "root/KVRFolder/Clients/Acme/W-7"};
  EXPECT_EQ(fs.foldersCreated(), order);
  ASSERT_EQ(kvr::createSessionFolders(fs, "root/KVRFolder", "Bob", "Acme", "W-8", session), 0);
  EXPECT_EQ(fs.foldersCreated().size(), 7u);
  EXPECT_EQ(kvr::sessionFolderOf("root/KVRFolder", "Acme", "W-8"), session);
}

TEST(SessionFolders, AFailureStopsTheSequence) {
  kvr::MemoryFileSystem fs;
  fs.refuse("root/Clients");
  std::filesystem::path session = "unchanged";
  EXPECT_EQ(kvr::createSessionFolders(fs, "root", "Ann", "Acme", "W-7", session), -1);
  EXPECT_EQ(session, std::filesystem::path("unchanged"));
  EXPECT_EQ(fs.foldersCreated(), (std::vector<std::string>{"root", "root/Ann"}));
  EXPECT_STREQ(kvr::kFoldersFailed.title, "FATAL");
  EXPECT_STREQ(kvr::kFoldersFailed.text,
               "Error while creating program folders, exit the program\nand check for enough disk space !");
}

TEST(SessionFolders, NamesThatWouldLeaveTheirParentFail) {
  for (const char* bad : {"..", ".", "a/b", "a\\b", "../../etc"}) {
    kvr::MemoryFileSystem fs;
    std::filesystem::path session;
    EXPECT_EQ(kvr::createSessionFolders(fs, "root", "Ann", bad, "W", session), -1) << bad;
    EXPECT_EQ(kvr::createSessionFolders(fs, "root", bad, "Acme", "W", session), -1) << bad;
    EXPECT_EQ(kvr::createSessionFolders(fs, "root", "Ann", "Acme", bad, session), -1) << bad;
  }
}

TEST(SessionFolders, RealFoldersAndAFileInTheWay) {
  platform::testing::TempPaths paths;
  kvr::PosixFileSystem fs;
  const auto data = paths.base() / "KVRFolder";
  std::filesystem::path session;
  ASSERT_EQ(kvr::createSessionFolders(fs, data, "Ann", "Acme", "W-7", session), 0);
  EXPECT_TRUE(std::filesystem::is_directory(session));
  EXPECT_TRUE(std::filesystem::is_directory(data / "Ann"));
  ASSERT_EQ(kvr::createSessionFolders(fs, data, "Ann", "Acme", "W-7", session), 0);

  std::ofstream(data / "Clients" / "Blocked").put('x');
  EXPECT_EQ(kvr::createSessionFolders(fs, data, "Ann", "Blocked", "W-7", session), -1);
}
