// Whole logging jobs on virtual time: the logging controller, the tool string manager, the
// data file manager, the telemetry link and the simulated panel, wired as the program wires them.

#include <gtest/gtest.h>

#include <cmath>

#include "common/datafile/CFileManager.h"
#include "common/datafile/FileMessages.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/app/SessionCommands.h"
#include "kvr/monitors/CMonitorManager.h"
#include "kvr/app/UtilityCommands.h"
#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/logging/LoggingMessages.h"
#include "kvr/logging/StaticData.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"
#include "usbxp/SimBackend.h"

namespace {

using kvr::testing::Job;

TEST(LoggingJob, ALogUpRecordsRowsOnTheDepthGridThatReadBack) {
  Job job;
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  EXPECT_TRUE(job.station->menu().enabled(kvr::MenuCommand::StopLogging));
  job.loop.advance(60'000);  // a minute at 1800 ft/h: 30 ft
  job.dlg().stopLogging();
  EXPECT_FALSE(job.dlg().logRunning());
  EXPECT_TRUE(job.prompter.messages().empty()) << job.prompter.texts().front();

  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(job.dlg().outputFile(), rows, width, direction), 0);
  EXPECT_EQ(direction, 1);
  const std::size_t n = rows.size() / width;
  EXPECT_GT(n, 100u);
  EXPECT_EQ(job.dlg().rowsDrawn(), n);
  // After the first row every row sits one 0.25 ft step above the one before.
  for (std::size_t i = 2; i < n; ++i) {
    // A row is kept at the first frame that reaches its grid depth: within one frame's travel.
    EXPECT_NEAR(rows[(i - 1) * width] - rows[i * width], 0.25, 0.04) << "row " << i;
  }
  EXPECT_NEAR(rows[(n - 1) * width + 1], -1800, 50);  // line speed, ft/h, going up
}

TEST(LoggingJob, AStationLogTakesARowEveryEighthOfASecondAndNeverSimulatesDepth) {
  Job job(true, 9, {}, panelsim::Direction::Still);
  job.declare();
  job.program.systemParameters[records::kSimDepth].selectedChoice = 1;
  job.program.systemParameters[records::kSimDepth].value = 1;
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(2, true));
  EXPECT_FALSE(job.station->tools().simulatedDepthOn());
  job.loop.advance(10'000);
  job.dlg().stopLogging();
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(job.dlg().outputFile(), rows, width, direction), 0);
  EXPECT_EQ(direction, 2);
  const std::size_t n = rows.size() / width;
  EXPECT_NEAR(static_cast<double>(n), 10.0 / 0.125, 3);
  for (std::size_t i = 1; i < n; ++i) EXPECT_NEAR(rows[i * width] - rows[(i - 1) * width], 0.125, 0.07);
}

TEST(LoggingJob, StartLogRefusalsLeaveNoFile) {
  Job job(true, 10);  // the panel reports English units, KVR is metric
  job.declare();
  EXPECT_FALSE(job.dlg().startLog(1, false));
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kNoTelemetry.title, kvr::msg::kNoTelemetry.text));
  job.telemetry();
  // The embedded panel follows KVR's units; a real one is switched by hand.
  job.station->link().simulator->setEnglish(true);
  job.loop.advance(1000);
  EXPECT_FALSE(job.dlg().startLog(1, false));
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kPanelEnglish.title, kvr::msg::kPanelEnglish.text));
  EXPECT_FALSE(std::filesystem::exists(job.station->session().sessionFolder() / "FileCounter.txt"));
  EXPECT_TRUE(job.dlg().outputFile().empty());
}

// Five or more tools send more than 8 block addresses: the discovery block lists them all.
TEST(LoggingJob, AStringOfEveryFamilyStartsAndLogs) {
  Job job;
  job.declare({"BRIX-CCL", "TARN-GYRO", "TARNB-FSK", "TARNC-NSG", "DUNE-ROLA", "SEVO-PT", "QUIL-GR", "VUNT-MG", "HAVO",
               "PLOV-TENS", "FYRD-CAL"});
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false)) << (job.prompter.texts().empty() ? "" : job.prompter.texts().back());
  job.loop.advance(20'000);
  job.dlg().stopLogging();
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(job.dlg().outputFile(), rows, width, direction), 0);
  EXPECT_GT(rows.size() / width, 20u);
  EXPECT_FALSE(job.station->charts().files().empty());
}

TEST(LoggingJob, TheConverterRefusesTheFileBeingRecorded) {
  Job job;
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  job.loop.advance(2000);
  kvr::PosixFileSystem dataFiles;
  kvr::utilities::MemoryTextFiles textFiles;
  kvr::utilities::CKvrToAscii converter(job.prompter, job.paths, job.loop.clock(), dataFiles, textFiles, 20);
  kvr::prepareConverter(converter, *job.station, job.paths);
  EXPECT_FALSE(converter.chooseInput(job.dlg().outputFile()));
  EXPECT_TRUE(job.prompter.saw("ERROR", "You cannot convert the current logging file !!"));
  job.dlg().stopLogging();
  EXPECT_TRUE(converter.chooseInput(job.dlg().outputFile()));
}

TEST(LoggingJob, ALogNeverReplacesARecordedFile) {
  Job job;
  job.declare();
  job.telemetry();
  const auto folder = job.station->session().sessionFolder();
  // A counter that says nothing: the next number is 1, whose name is already recorded.
  kvr::PosixFileSystem fs;
  ASSERT_TRUE(fs.writeText(folder / "FileCounter.txt", "abc"));
  ASSERT_TRUE(job.dlg().startLog(1, false));
  const auto first = job.dlg().outputFile();
  job.loop.advance(2000);
  job.dlg().stopLogging();
  const auto size = std::filesystem::file_size(first);
  ASSERT_TRUE(fs.writeText(folder / "FileCounter.txt", "-7"));
  ASSERT_TRUE(job.dlg().startLog(1, false));
  EXPECT_NE(job.dlg().outputFile(), first);
  job.dlg().stopLogging();
  EXPECT_EQ(std::filesystem::file_size(first), size);

  // A counter that cannot be written refuses the start and creates nothing.
  std::filesystem::remove(folder / "FileCounter.txt");
  std::filesystem::create_directory(folder / "FileCounter.txt");
  const auto before = std::distance(std::filesystem::directory_iterator(folder), {});
  EXPECT_FALSE(job.dlg().startLog(1, false));
  EXPECT_TRUE(job.prompter.saw(kvr::kCounterWriteFailed.title, kvr::kCounterWriteFailed.text));
  EXPECT_FALSE(job.dlg().logRunning());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), before);
}

TEST(LoggingJob, ClosingDuringALogIsRefusedAndAfterItAsks) {
  Job job;
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(0, false));
  EXPECT_FALSE(job.dlg().closeRequest());
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kCannotCloseWhileLogging.title, kvr::msg::kCannotCloseWhileLogging.text));
  EXPECT_FALSE(job.dlg().stopTelemetry());  // refused while logging
  job.dlg().stopLogging();
  job.prompter.queue(platform::Answer::No);
  EXPECT_FALSE(job.dlg().closeRequest());
  EXPECT_TRUE(job.prompter.saw(kvr::msg::kQuitQuestion.title, kvr::msg::kQuitQuestion.text));
  job.prompter.queue(platform::Answer::Yes);
  EXPECT_TRUE(job.dlg().closeRequest());
  EXPECT_FALSE(job.station->flags().running);
}

TEST(LoggingJob, CorruptedBytesMoveTheCountersAndRowsStayOnTheGrid) {
  panelsim::Faults faults;
  faults.corruptBytes = 0.002;
  Job job(true, 9, faults);
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  job.loop.advance(120'000);
  job.dlg().stopLogging();
  const auto& c = job.dlg().counters();
  EXPECT_GT(c.crcErrors + c.frameErrors, 0u);
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(job.dlg().outputFile(), rows, width, direction), 0);
  const std::size_t n = rows.size() / width;
  ASSERT_GT(n, 100u);
  // Lost frames leave copies of the newest row (gap filling): one row per grid step over the
  // interval, in depth order, whatever was lost.
  for (std::size_t i = 2; i < n; ++i) EXPECT_LE(rows[i * width], rows[(i - 1) * width] + 0.01) << "row " << i;
  const double gridSteps = (rows[1 * width] - rows[(n - 1) * width]) / 0.25;
  EXPECT_NEAR(static_cast<double>(n - 2), gridSteps, 1.5);
}

TEST(LoggingJob, ALogSurvivesAPanelDisconnectAndResumesOnTheGrid) {
  panelsim::Faults faults;
  faults.disconnectAtS = 30;  // into the stream
  faults.disconnectForS = 10;
  Job job(true, 9, faults);
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  job.loop.advance(90'000);
  EXPECT_TRUE(job.dlg().logRunning());
  job.dlg().stopLogging();
  EXPECT_GE(job.station->port().linkLosses(), 1u);
  EXPECT_EQ(job.station->telemetry().linkState(), kvr::LinkState::Acquiring);
  std::vector<float> rows;
  std::size_t width = 0;
  std::uint8_t direction = 9;
  ASSERT_EQ(job.readBack(job.dlg().outputFile(), rows, width, direction), 0);
  const std::size_t n = rows.size() / width;
  // 90 s at 0.5 ft/s is 45 ft: the gap is filled with copies, so the rows still cover the
  // whole interval on the 0.25 ft grid, and nothing recorded before the loss is lost.
  const double covered = rows[1 * width] - rows[(n - 1) * width];
  EXPECT_GT(covered, 30.0);
  EXPECT_NEAR(static_cast<double>(n - 2), covered / 0.25, 1.5);
}

TEST(LoggingJob, AFullDiskShowsTheFlushMessageAndLoggingGoesOn) {
  Job job;
  job.declare();
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  // The file is removed from under the program and its folder made unwritable cannot be
  // simulated portably as root; a failing flush is shown by closing the output behind its back.
  job.station->files().closeOutput();
  job.loop.advance(11'000);
  EXPECT_GE(job.dlg().flushFailures(), 2);
  EXPECT_TRUE(job.dlg().logRunning());
  job.dlg().stopLogging();
}

TEST(Session, ASavedSessionLoadsBackWithItsStringJobAndUnits) {
  std::filesystem::path saved;
  Job job;
  {
    EXPECT_FALSE(kvr::saveSession(*job.station, job.prompter, job.program, {}));
    EXPECT_TRUE(job.prompter.saw(kvr::kNoSessionTitle, kvr::kNoSessionText));
    job.declare({"BRIX-CCL", "SEVO-PT", "DUNE-ROLA"});
    saved = job.paths.base() / "MySession.kvr";
    job.prompter.queueFile((job.paths.base() / "MySession.KVR").string());
    ASSERT_TRUE(kvr::saveSession(*job.station, job.prompter, job.program, {std::nullopt, {{"MAIN_DLG", 40, 50}}}));
  }
  Job other(true, 10);
  other.program.startupFlags = kvr::kRearrangeAllWindows;
  // A copy of the saved file, read into a fresh program; the session folder is made anew.
  auto copy = other.paths.base() / "MySession.kvr";
  std::filesystem::copy_file(saved, copy);
  other.prompter.queueFile(copy.string());
  std::vector<std::string> moved;
  kvr::SessionLoadSteps steps;
  steps.positionWindow = [&](const std::string& key, int l, int t) { moved.push_back(key + std::to_string(l + t)); };
  ASSERT_TRUE(kvr::loadSession(*other.station, other.prompter, other.program, steps));
  EXPECT_EQ(other.program.modeWord, 9);
  ASSERT_EQ(other.station->tools().toolList().size(), 3u);
  EXPECT_EQ(other.station->tools().toolList()[2].name, "DUNE-ROLA");
  EXPECT_EQ(other.station->session().job().wellName, "W-1");
  EXPECT_EQ(other.station->tools().ring().rowWidth(), other.station->tools().channels().size());
  EXPECT_TRUE(moved.empty());  // SESSION.INI was left in the other program's folder
  // The loaded string logs.
  other.telemetry();
  ASSERT_TRUE(other.dlg().startLog(1, false));
  other.loop.advance(5000);
  other.dlg().stopLogging();
  EXPECT_GT(other.dlg().rowsDrawn(), 5u);
}

TEST(Session, ALoadedSessionReopensItsMonitorFile) {
  Job job;
  job.declare();
  auto& tools = job.station->tools();
  kvr::monitors::CMonitorManager monitors(job.prompter, job.station->fileSystem(), tools, job.program.mainFolder);
  tools.setChannelsRebuilt([&] { monitors.rebind(); });
  monitors.bind(0, {tools.channels()[2], 2});
  const auto mon = (job.paths.base() / "MyMonitors.mon").string();
  ASSERT_TRUE(monitors.save(mon));
  const auto session = (job.paths.base() / "S.kvr").string();  // the data file manager's extension
  job.prompter.queueFile((job.paths.base() / "S.KVR").string());
  ASSERT_TRUE(kvr::saveSession(*job.station, job.prompter, job.program, {monitors.latestFile(), {}}));

  struct Case {
    std::uint16_t flags;
    bool fileThere;
    std::optional<std::string> heard;  // what the monitors are asked to open; nullopt: not asked
  };
  const Case cases[] = {{kvr::kLoadLatestMonitorFile, true, mon},
                        {0, true, std::nullopt},
                        {kvr::kLoadLatestMonitorFile, false, std::string()}};
  for (const auto& c : cases) {
    if (!c.fileThere) std::filesystem::rename(mon, mon + ".gone");
    job.program.startupFlags = c.flags;
    job.prompter.queueFile(session);
    std::optional<std::string> heard;
    kvr::SessionLoadSteps steps;
    steps.reopenMonitors = [&](const std::string& file) { heard = file; };
    ASSERT_TRUE(kvr::loadSession(*job.station, job.prompter, job.program, steps));
    EXPECT_EQ(heard, c.heard);
  }
  // The boxes come back from the file, bound to the reloaded string.
  std::filesystem::rename(mon + ".gone", mon);
  monitors.close(0);
  ASSERT_TRUE(monitors.load(mon));
  EXPECT_TRUE(monitors.box(0).active);
  EXPECT_EQ(monitors.box(0).channel, tools.channels()[2]);
}

TEST(Session, ASessionWhoseFoldersCannotBeMadeChangesNothing) {
  Job source;
  source.declare({"BRIX-CCL", "SEVO-PT", "DUNE-ROLA"});
  const auto saved = source.paths.base() / "Bad.kvr";
  {
    kvr::PosixFileSystem fs;
    kvr::CFileManager files(fs);
    ASSERT_EQ(files.createOutputFile(saved.parent_path(), "Bad"), 0);
    records::JobRecord job = source.station->session().job();
    job.wellName = "B/1";  // a stored name that cannot name a folder
    auto table = source.program.systemParameters;
    table[records::kSvyMode].value = 9;
    ASSERT_EQ(kvr::writeStaticData(files, source.station->tools(), 1, table, job), 0);
    ASSERT_EQ(files.closeOutput(), 0);
  }
  Job other(true, 10);
  other.declare();
  const auto folder = other.station->session().sessionFolder();
  other.prompter.queueFile(saved.string());
  EXPECT_FALSE(kvr::loadSession(*other.station, other.prompter, other.program, {}));
  EXPECT_EQ(other.program.modeWord, 10);
  ASSERT_EQ(other.station->tools().toolList().size(), 2u);
  EXPECT_EQ(other.station->tools().toolList()[1].name, "DUNE-ROLA");
  EXPECT_EQ(other.station->tools().channels().size(), other.station->tools().ring().rowWidth());
  EXPECT_EQ(other.station->session().sessionFolder(), folder);
}

}  // namespace

namespace {

// A TARN-C string makes the low-level command terminal reachable from the menu; its commands
// go through the telemetry link to the simulated tool and its answers come back through the
// frames and the TOOLS globals.
TEST(LoggingJob, TheTarnCTerminalTalksToTheSimulatedToolThroughTheLink) {
  Job job;
  job.declare({"BRIX-CCL"});
  EXPECT_FALSE(job.station->menu().enabled(kvr::MenuCommand::TarnCLowLevelCommands));
  EXPECT_EQ(job.station->tarnCTerminal(), nullptr);
  job.declare({"TARNC-NSG"});  // added below the collar locator
  EXPECT_TRUE(job.station->menu().enabled(kvr::MenuCommand::TarnCLowLevelCommands));
  job.telemetry();
  auto* terminal = job.station->tarnCTerminal();
  ASSERT_NE(terminal, nullptr);
  terminal->choose(0);
  terminal->setValues("1013");
  terminal->sendToTool();
  job.loop.advance(1500);
  EXPECT_EQ(terminal->status(), "Angle Position ACK received");
  terminal->choose(16);
  terminal->sendToTool();
  job.loop.advance(3000);
  EXPECT_EQ(terminal->status(), "All data received.");
  EXPECT_EQ(terminal->values(), "Pos 0  : 1013\r\nPos 90 : 268\r\nPos 180: 524\r\nPos 270: 780");
  const auto to = job.station->link().simulator->messagesTo(227);
  ASSERT_GE(to.size(), 2u);
  EXPECT_EQ(to.front(), (std::vector<std::uint8_t>{7, 227, 0, 0x9B, 0x03, 0x61, 0xF5, 0x03}));
}

}  // namespace

// The desktop program's simulated panel stands at the start depth when telemetry starts and
// runs each log the way the engineer asked, at the simulated speed.
TEST(DesktopPanel, TheWinchFollowsTheLogAtTheSimulatedSpeed) {
  struct Case {
    std::int32_t modeWord;
    std::uint8_t direction;
    bool station;
    double perSecond;  // expected depth change: English ft, metric m
  };
  const Case cases[] = {
      {9, 1, false, -1800.0 / 3600}, {9, 0, false, 1800.0 / 3600}, {10, 1, false, -10.0 / 60}, {10, 0, false, 10.0 / 60},
      {10, 2, true, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.modeWord << " direction " << int(c.direction));
    kvr::testing::Job job(kvr::testing::DesktopPanel{c.modeWord, {}});
    job.declare({"BRIX-CCL", "QUIL-GR"});
    job.telemetry();
    const double start = job.program.systemParameters[records::kSimStartDepth].value;
    EXPECT_NEAR(job.station->tools().panelDepth(), start, 0.05);
    ASSERT_TRUE(job.dlg().startLog(c.direction, c.station));
    job.loop.advance(60'000);
    if (c.station) {
      EXPECT_NEAR(job.station->tools().panelDepth(), start, 0.05);
    } else {
      EXPECT_NEAR(job.station->tools().panelDepth(), start + 60 * c.perSecond, std::abs(c.perSecond) + 0.05);
    }
    EXPECT_GT(job.dlg().rowsDrawn(), 90u);  // 60 s: 100 rows of 0.1 m, 120 of 0.25 ft, 480 by time
    job.dlg().stopLogging();
    const double stopped = job.station->tools().panelDepth();
    job.loop.advance(5000);
    EXPECT_NEAR(job.station->tools().panelDepth(), stopped, 0.05);
  }
}

TEST(DesktopPanel, ALogThatKeepsNoRowSaysWhyInTheStatusLine) {
  std::vector<std::string> status;
  kvr::LoggingHooks hooks;
  hooks.statusText = [&](const std::string& s) { status.push_back(s); };
  kvr::testing::Job job(kvr::testing::DesktopPanel{9, hooks});
  job.declare({"BRIX-CCL"});
  job.telemetry();
  ASSERT_TRUE(job.dlg().startLog(1, false));
  job.loop.advance(3000);
  ASSERT_TRUE(status.empty());
  // The winch is stopped by hand: the log up keeps no row from now on.
  job.station->link().simulator->setDirection(panelsim::Direction::Still);
  job.loop.advance(9000);
  EXPECT_TRUE(status.empty());
  job.loop.advance(2000);
  ASSERT_EQ(status.size(), 1u);
  EXPECT_EQ(status[0].rfind("No row recorded for 10 s: a log up keeps a row each time the tool comes up", 0), 0u)
      << status[0];
  job.loop.advance(20'000);
  EXPECT_EQ(status.size(), 1u);  // said once
  job.station->link().simulator->setDirection(panelsim::Direction::Up);
  job.loop.advance(3000);
  ASSERT_EQ(status.size(), 2u);
  EXPECT_EQ(status[1], "Rows are being recorded again");
  job.dlg().stopLogging();
}
