#include <gtest/gtest.h>

#include <fstream>

#include "common/datafile/MemoryFiles.h"
#include "common/jobdata/CMyPropertySheet.h"
#include "kvr/core/Session.h"
#include "kvr/core/SessionFolders.h"
#include "kvr/core/SessionIni.h"
#include "kvr/core/SessionNumber.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

using jobdata::CMyPropertySheet;
using platform::testing::ScriptedPrompter;

namespace {

const records::JobField& field(const char* label) {
  for (const auto& f : records::jobFields()) {
    if (std::string(f.label) == label && f.group == nullptr) return f;
  }
  throw std::logic_error(label);
}

TEST(JobDataForm, FieldsTakeOneCharacterLessThanTheirWidthAndNumbersMustRead) {
  CMyPropertySheet sheet(records::JobRecord{});
  const auto& well = field("Well Name:");
  EXPECT_EQ(CMyPropertySheet::maxLength(well), 49u);
  sheet.setValue(well, std::string(60, 'W'));
  EXPECT_EQ(sheet.result().wellName, std::string(49, 'W'));
  EXPECT_TRUE(sheet.setValue(field("Run Number:"), " 7 "));
  EXPECT_FALSE(sheet.setValue(field("Run Number:"), "seven"));
  EXPECT_TRUE(sheet.setValue(field("Density:"), "1.25"));
  EXPECT_FALSE(sheet.setValue(field("Density:"), "1,25"));
  EXPECT_FALSE(sheet.setValue(field("Density:"), "nan"));
  auto job = sheet.result();
  EXPECT_EQ(job.runNumber, 7);
  EXPECT_FLOAT_EQ(job.density, 1.25f);
}

TEST(JobDataForm, EveryFieldIsOnExactlyOnePage) {
  std::size_t n = 0;
  for (const auto& p : CMyPropertySheet::pages()) n += p.fields.size();
  EXPECT_EQ(n, records::jobFields().size());
  EXPECT_STREQ(CMyPropertySheet::pages()[3].title, "Remarks");
  EXPECT_EQ(CMyPropertySheet::pages()[3].fields.size(), 12u);
}

TEST(Session, AnEmptyWellNameCreatesTheFoldersButStartsNoSession) {
  kvr::MemoryFileSystem fs;
  ScriptedPrompter prompter;
  kvr::Session session(fs, prompter, "/data/KVRFolder");
  records::JobRecord job;
  job.userName = "Ann";
  job.client = "Acme";
  EXPECT_FALSE(session.confirmJobData(job));
  EXPECT_FALSE(session.started());
  EXPECT_TRUE(fs.isFolder("/data/KVRFolder/Clients/Acme"));
  EXPECT_TRUE(prompter.saw("ATTENTION", "You must input a User, Client and Well name in order to start a session"));

  job.wellName = "W-1";
  EXPECT_TRUE(session.confirmJobData(job));
  EXPECT_EQ(session.sessionFolder(), kvr::sessionFolderOf("/data/KVRFolder", "Acme", "W-1"));
}

TEST(Session, AFolderFailureKeepsThePreviousSession) {
  kvr::MemoryFileSystem fs;
  ScriptedPrompter prompter;
  kvr::Session session(fs, prompter, "/data/KVRFolder");
  records::JobRecord job;
  job.userName = "Ann";
  job.client = "Acme";
  job.wellName = "W-1";
  ASSERT_TRUE(session.confirmJobData(job));
  auto before = session.sessionFolder();
  records::JobRecord other = job;
  other.wellName = "W-2";
  fs.refuse("/data/KVRFolder/Clients/Acme/W-2");
  EXPECT_FALSE(session.confirmJobData(other));
  EXPECT_EQ(session.job().wellName, "W-1");
  EXPECT_EQ(session.sessionFolder(), before);
  EXPECT_TRUE(prompter.saw("FATAL", "Error while creating program folders, exit the program\nand check for enough disk space !"));

  // Job data with a name missing: the running session stays whole.
  other.wellName.clear();
  EXPECT_FALSE(session.confirmJobData(other));
  EXPECT_TRUE(session.started());
  EXPECT_EQ(session.job().wellName, "W-1");
  EXPECT_EQ(session.sessionFolder(), before);
  EXPECT_TRUE(prompter.saw("ATTENTION", "You must input a User, Client and Well name in order to start a session"));
}

TEST(SessionIni, WritesInOrderAndFindsKeysByTheirBeginning) {
  kvr::SessionIni ini;
  ini.monitorFile = "/data/m.mon";
  ini.windows = {{"MAIN_DLG", 10, 20}, {"TARN-C_DLG", -5, 300}};
  std::string text = kvr::formatSessionIni(ini);
  EXPECT_EQ(text, "[MONITOR_FILE]\r\n/data/m.mon\r\n[WIN_COORDINATES]\r\nMAIN_DLG=10,20\r\nTARN-C_DLG=-5,300\r\n[END]\r\n");
  EXPECT_EQ(kvr::sessionMonitorFile(text), "/data/m.mon");
  EXPECT_EQ(kvr::sessionWindowPosition(text, "TARN-C_DLG"), std::make_pair(-5, 300));
  EXPECT_EQ(kvr::sessionWindowPosition(text, "VUNT_DLG"), std::nullopt);
  // Old files written with bare line feeds or carriage returns read the same.
  std::string lf = "[WIN_COORDINATES]\nMAIN_DLG=1,2\n[END]\nVUNT_DLG=3,4\n";
  EXPECT_EQ(kvr::sessionWindowPosition(lf, "MAIN_DLG"), std::make_pair(1, 2));
  EXPECT_EQ(kvr::sessionWindowPosition(lf, "VUNT_DLG"), std::nullopt);  // after [END]
  EXPECT_EQ(kvr::sessionWindowPosition("[WIN_COORDINATES]\rMAIN_DLG=x,2\r[END]\r", "MAIN_DLG"), std::nullopt);
  EXPECT_EQ(kvr::sessionMonitorFile(lf), std::nullopt);
}

TEST(SessionNumber, OneMoreThanTheLargestSessionLog) {
  platform::testing::TempPaths paths;
  auto folder = paths.dataRoot() / "s";
  EXPECT_EQ(kvr::nextSessionNumber(folder), 1);
  std::filesystem::create_directories(folder / "Output");
  for (const char* n : {"Session_3.csv", "Session_12.csv", "Session_x.csv", "Other_40.csv", "Session_99.txt"}) {
    std::ofstream(folder / "Output" / n) << "x";
  }
  EXPECT_EQ(kvr::nextSessionNumber(folder), 13);
}

}  // namespace
