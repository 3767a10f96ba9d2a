#include <gtest/gtest.h>

#include "kvr/app/CKVROptionsDlg.h"
#include "kvr/app/CSystemUnitDlg.h"
#include "kvr/app/CUnitSysDlg.h"
#include "kvr/app/ProgramFolderCommand.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"

using platform::testing::MemorySettings;
using platform::testing::ScriptedPrompter;

TEST(OptionsDialog, OkStoresTheThreeBoxesAndKeepsOtherBits) {
  MemorySettings s;
  kvr::CKVROptionsDlg dlg(0x100 | 7);
  dlg.loadMonitor = false;
  EXPECT_EQ(dlg.ok(s), 0x100 | 6);
  EXPECT_EQ(s.getInt("Options", "StartUp", -1), 0x106);
}

TEST(UnitSystemDialog, PreselectsTheWordAndNothingForOtherWords) {
  EXPECT_EQ(kvr::CUnitSysDlg(9).selected(), 0);
  EXPECT_EQ(kvr::CUnitSysDlg(2).selected(), 5);
  kvr::CUnitSysDlg odd(3);
  EXPECT_EQ(odd.selected(), -1);
  EXPECT_EQ(odd.ok(3), 3);
  odd.select(1);
  EXPECT_EQ(odd.ok(3), 5);
}

TEST(SystemUnitsDialog, AnOutOfRangeCodeSurvivesOnlyIfUntouched) {
  records::SystemUnitsS units;
  units.code[0] = 200;  // outside "Pressure"
  units.code[1] = 11;   // "DegF"
  kvr::CSystemUnitDlg dlg(units);
  EXPECT_EQ(dlg.selected(0), -1);
  EXPECT_EQ(dlg.selected(1), 1);
  MemorySettings s;
  auto out = dlg.ok(s);
  EXPECT_EQ(out.code[0], 200);
  EXPECT_EQ(s.getInt("Units", "Pressure", -1), 200);
  EXPECT_EQ(s.getInt("Units", "Tension", -1), 30);
  dlg.select(0, 2);  // "PSI"
  EXPECT_EQ(dlg.ok(s).code[0], 3);
  dlg.select(0, 6);  // no seventh pressure unit: ignored
  EXPECT_EQ(dlg.ok(s).code[0], 3);
}

TEST(ProgramFolder, ANewFolderIsStoredAndAnnouncedTheSameOneChangesNothing) {
  MemorySettings s;
  ScriptedPrompter p;
  std::filesystem::path main = "/data/kvr/";
  p.queueFile("/data/kvr/kvr");
  EXPECT_FALSE(kvr::chooseProgramFolder(p, s, main));
  EXPECT_EQ(s.writes(), 0);
  EXPECT_TRUE(p.messages().empty());
  ASSERT_EQ(p.fileRequests().size(), 1u);
  EXPECT_EQ(p.fileRequests()[0].initialDir, "/data/kvr/");

  p.queueFile("/opt/varexa/bin/kvr");
  EXPECT_TRUE(kvr::chooseProgramFolder(p, s, main));
  EXPECT_EQ(main, "/opt/varexa/bin/");
  EXPECT_EQ(s.getString("Program Folders", "Main Folder", ""), "/opt/varexa/bin/");
  ASSERT_EQ(p.messages().size(), 1u);
  EXPECT_EQ(p.messages()[0].text,
            "A new specified program folder has been set !\nBe sure this is the right folder or return to the last "
            "working folder");

  EXPECT_FALSE(kvr::chooseProgramFolder(p, s, main));  // cancelled
}
