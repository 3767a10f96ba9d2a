// The task panel over TOOLS globals set by hand, for what the simulated tool never does: an
// indexer that never starts to turn.
#include <gtest/gtest.h>

#include "kvr/core/CToolManager.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace {

struct Rig {
  Rig() {
    lib.initToolsData({});
    kvr::tarnc::TaskPanelHost host;
    host.telemetryRunning = [] { return true; };
    host.depthLogRunning = host.stationLogRunning = host.logUp = [] { return false; };
    host.recordedFile = [] { return std::filesystem::path(); };
    host.sessionFolder = [this] { return paths.dataRoot(); };
    host.wellName = [] { return std::string("W-1"); };
    host.postToMain = [](kvr::tarnc::MainCommand) {};
    host.send = [this](const std::vector<std::uint8_t>& m) {
      sent.push_back({loop.now(), m.back()});
      return true;
    };
    panel = std::make_unique<kvr::tarnc::CTARN_C_TaskDlg>(kvr::tarnc::TaskPanelPorts{
        loop, prompter, loop.clock(), settings, paths.documentsFolder(), tools, session, std::move(host)});
  }
  void status(int s) { lib.globals().TARNC_CtrlWord = static_cast<std::uint16_t>(s); }

  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  platform::testing::MemorySettings settings;
  platform::testing::TempPaths paths;
  tools::Library lib;
  kvr::NoTaskPanels factory;
  kvr::FrameRing frames;
  kvr::CToolManager tools{lib, prompter, factory, frames};
  kvr::TelemetrySession session;
  std::vector<std::pair<std::int64_t, std::uint8_t>> sent;
  std::unique_ptr<kvr::tarnc::CTARN_C_TaskDlg> panel;
};

}  // namespace

// A command the indexer never answers is sent three times, 5 s apart, and then the panel waits.
TEST(TaskPanel, AnIndexerThatNeverTurnsGetsTwoResends) {
  Rig rig;
  auto o = rig.panel->options();
  o.latitude = 40;
  ASSERT_TRUE(rig.panel->acceptOptions(o));
  auto& g = rig.lib.globals();
  rig.status(2);
  g.TARNC_AnglePos = 12;
  rig.panel->initialize();
  rig.status(10);
  rig.loop.advance(400);
  g.TARNC_TDDataBuf = {12, 268, 524, 780};
  g.TARNC_SpecialFrameDataCount = 4;
  rig.status(2);
  rig.loop.advance(400);
  ASSERT_TRUE(rig.panel->toolInitialized());
  rig.loop.advance(11'000);  // the turning test gives up on a tool that never turns
  ASSERT_FALSE(rig.panel->initializationRunning());
  rig.sent.clear();
  rig.prompter.queue(platform::Answer::Yes);  // no calibration: continue
  const std::int64_t t0 = rig.loop.now();
  rig.panel->northSeeking();
  ASSERT_TRUE(rig.panel->stationRunning());
  rig.loop.advance(60'000);
  ASSERT_EQ(rig.sent.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(rig.sent[i].second, 0x6F);
    EXPECT_EQ(rig.sent[i].first - t0, static_cast<std::int64_t>(5000 * i));
  }
  EXPECT_TRUE(rig.panel->stationRunning());
  EXPECT_EQ(g.TARNC_SurveyMode, 1);
}
