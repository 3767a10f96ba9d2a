#pragma once
// A whole logging job on virtual time for the tests: the station as the program wires it,
// the simulated panel, job data that start a session, and a reader of recorded files.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "common/records/SystemMode.h"
#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"
#include "usbxp/SimBackend.h"

namespace kvr::testing {

using platform::testing::ManualLoop;
using platform::testing::ScriptedPrompter;
using platform::testing::TempPaths;

// The simulated panel as the desktop program gets it when no panel is attached.
struct DesktopPanel {
  std::int32_t modeWord = 10;
  kvr::LoggingHooks hooks;
};

struct Job {
  explicit Job(bool panelEnglish = true, std::int32_t modeWord = 9, panelsim::Faults faults = {},
               panelsim::Direction winch = panelsim::Direction::Up) {
    program = kvr::CKVRApp::batchSettings(paths, modeWord);
    panelsim::SimConfig config;
    config.winch.english = panelEnglish;
    config.winch.startDepth = panelEnglish ? 5000 : 1500;
    config.winch.speed = panelEnglish ? 1800 : 10;
    config.winch.direction = winch;
    config.faults = faults;
    start(kvr::simulatedPanelLink(config, loop.clock()), {});
  }
  // A simulated panel made to order (its string follows the declared one).
  Job(panelsim::SimConfig config, std::int32_t modeWord) {
    program = kvr::CKVRApp::batchSettings(paths, modeWord);
    start(kvr::simulatedPanelLink(std::move(config), loop.clock()), {});
  }
  explicit Job(DesktopPanel desktop) {
    program = kvr::CKVRApp::batchSettings(paths, desktop.modeWord);
    start(kvr::openPanelLink({kvr::PanelLinkChoice::Kind::Simulator, {}}, loop.clock()), std::move(desktop.hooks));
  }
  void start(kvr::PanelLink link, kvr::LoggingHooks hooks) {
    station = std::make_unique<kvr::LoggingStation>(kvr::StationPorts{loop, loop.clock(), prompter, paths, program},
                                                    std::move(link), true, std::move(hooks));
    records::JobRecord job;
    job.userName = "Ann";
    job.client = "Acme";
    job.wellName = "W-1";
    EXPECT_TRUE(station->session().confirmJobData(job));
    station->menu().onJobDataConfirmed();
  }
  kvr::CKVRDlg& dlg() { return station->dialog(); }
  void declare(std::vector<std::string> names = {"BRIX-CCL", "DUNE-ROLA"}) {
    ASSERT_EQ(station->declareString(names), std::nullopt);
  }
  void telemetry() {
    ASSERT_TRUE(dlg().startTelemetry()) << (prompter.texts().empty() ? "" : prompter.texts().back());
    loop.advance(1000);
  }
  // Reads a recorded file back: the summary result, and every whole row.
  int readBack(const std::filesystem::path& file, std::vector<float>& rows, std::size_t& width,
               std::uint8_t& direction) {
    kvr::PosixFileSystem fs;
    kvr::CFileManager reader(fs);
    if (reader.openInput(file) != 0) return -1;
    records::ToolList tl;
    records::ChannelList cl;
    kvr::DataFileSummary s;
    int r = reader.readToolList(tl) | reader.readChannelList(cl);
    width = cl.size();
    r |= reader.summaryCheck(7, s);
    direction = s.direction;
    rows.resize(200000 * width);
    rows.resize(reader.readWholeRows(rows, width) * width);
    return r;
  }

  ManualLoop loop;
  ScriptedPrompter prompter;
  TempPaths paths;
  kvr::ProgramSettings program;
  std::unique_ptr<kvr::LoggingStation> station;
};

}  // namespace kvr::testing
