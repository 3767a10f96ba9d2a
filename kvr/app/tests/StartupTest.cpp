#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "kvr/app/CIntroDLG.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/core/SettingKeys.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/TempPaths.h"

using platform::testing::MemorySettings;
using platform::testing::TempPaths;

namespace {

struct Startup : ::testing::Test {
  MemorySettings settings;
  TempPaths paths;
  std::vector<std::string> steps;

  kvr::StartupHooks hooks() {
    kvr::StartupHooks h;
    h.showSplash = [&](const std::string& v) { steps.push_back("splash " + v); };
    h.loadStatusIcons = [&] { steps.push_back("icons"); };
    h.initToolsData = [&] { steps.push_back("tools"); };
    h.createMainDialog = [&] { steps.push_back("main dialog"); };
    return h;
  }
};

TEST_F(Startup, FirstRunOnACleanAccount) {
  auto shipped = paths.base() / "share";
  std::filesystem::create_directories(shipped);
  std::ofstream(shipped / "ToolList.txt") << "&STARTLIST\r\n&ENDLIST\r\n&END\r\n";
  std::ofstream(shipped / "DEFAULT_FORMAT.TXT") << "formats";
  paths.setShippedDataFolder(shipped);
  kvr::CKVRApp app(settings, paths);
  ASSERT_TRUE(app.InitInstance(hooks()));
  EXPECT_EQ(steps, (std::vector<std::string>{"splash 2.5.2", "icons", "tools", "main dialog"}));
  EXPECT_EQ(settings.getInt("Options", "TelemetryLog", -1), 1);
  const auto& p = app.program();
  EXPECT_TRUE(p.telemetryLogDisabled);
  EXPECT_FALSE(p.rawTelemetryLog);
  EXPECT_FALSE(std::filesystem::exists(paths.telemetryLogFile()));
  EXPECT_EQ(p.systemUnits, records::SystemUnitsS{});
  EXPECT_EQ(p.startupFlags, 7);
  EXPECT_EQ(p.mainFolder, kvr::CKVRApp::mainFolderText(paths.dataRoot()));
  EXPECT_EQ(p.modeWord, 10);
  EXPECT_DOUBLE_EQ(p.depthStep, 0.1);
  EXPECT_EQ(p.systemParameters.size(), 11u);
  EXPECT_EQ(p.osType, 16);
  // Only "TelemetryLog" is written at start-up.
  EXPECT_EQ(settings.writes(), 1);
  // The shipped tool list and presentation file are there for a new user.
  EXPECT_TRUE(std::filesystem::exists(p.mainFolder / "ToolList.txt"));
  EXPECT_TRUE(std::filesystem::exists(p.mainFolder / "DEFAULT_FORMAT.TXT"));
}

TEST_F(Startup, FilesTheUserAlreadyHasAreNotReplaced) {
  auto shipped = paths.base() / "share";
  std::filesystem::create_directories(shipped);
  std::ofstream(shipped / "ToolList.txt") << "shipped";
  paths.setShippedDataFolder(shipped);
  std::filesystem::create_directories(paths.dataRoot());
  std::ofstream(paths.dataRoot() / "ToolList.txt") << "mine";
  kvr::CKVRApp app(settings, paths);
  app.InitInstance({});
  std::ifstream in(paths.dataRoot() / "ToolList.txt");
  std::string text;
  in >> text;
  EXPECT_EQ(text, "mine");
}

TEST_F(Startup, TelemetryLogZeroCreatesTheRawLogAnewEachStart) {
  settings.setInt("Options", "TelemetryLog", 0);
  std::filesystem::create_directories(paths.dataRoot());
  { std::ofstream(paths.telemetryLogFile()) << "old frames"; }
  kvr::CKVRApp app(settings, paths);
  app.InitInstance(hooks());
  EXPECT_FALSE(app.program().telemetryLogDisabled);
  ASSERT_TRUE(app.program().rawTelemetryLog);
  EXPECT_EQ(std::filesystem::file_size(paths.telemetryLogFile()), 0u);
}

TEST_F(Startup, StoredValuesAreReadAndBadOnesTakeDefaults) {
  settings.setString("Program Folders", "Output", "out");
  settings.setString("Program Folders", "Calibrations", "cal");
  settings.setInt("Units", "Pressure", 3);
  settings.setRaw("Units", "Temperature", "hot");
  settings.setInt("Units", "Time", 400);  // not a byte
  settings.setInt("Options", "StartUp", 2);
  settings.setString("Program Folders", "Main Folder", "C:\\KVR\\");
  kvr::CKVRApp app(settings, paths);
  app.InitInstance({});
  const auto& p = app.program();
  EXPECT_EQ(p.outputFolder, "out");
  EXPECT_EQ(p.calibrationsFolder, "cal");
  EXPECT_EQ(p.systemUnits.code[0], 3);
  EXPECT_EQ(p.systemUnits.code[1], 10);
  EXPECT_EQ(p.systemUnits.code[2], 20);
  EXPECT_EQ(p.startupFlags, 2);
  EXPECT_EQ(p.mainFolder, kvr::CKVRApp::mainFolderText(paths.dataRoot() / "KVR"));
}

}  // namespace

TEST(Splash, ClosesItselfAfterTwoSeconds) {
  platform::testing::ManualLoop loop;
  bool closed = false;
  kvr::CIntroDLG splash(loop, [&] { closed = true; });
  splash.open();
  loop.advance(1999);
  EXPECT_FALSE(closed);
  loop.advance(1);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(loop.timerActive(&splash, kvr::CIntroDLG::kCloseTimer));
  EXPECT_EQ(kvr::CIntroDLG::versionLine("2.5.2"), "Version: 2.5.2");
}
