#pragma once
// Everything a logging job needs, wired together once: the TOOLS library, the tool string
// manager, the data file manager, the session, the panel link (a real panel or the embedded
// simulator), the telemetry manager and the logging controller. The desktop program and
// the headless logging run build the same station over their own ports.

#include <memory>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/PosixFiles.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/FrameRing.h"
#include "kvr/core/MainMenu.h"
#include "kvr/core/ProgramSettings.h"
#include "kvr/core/Session.h"
#include "kvr/core/TaskPanelFactory.h"
#include "kvr/core/TelemetrySession.h"
#include "kvr/gauge/GaugePanels.h"
#include "kvr/link/CUSBPort.h"
#include "kvr/link/PPort.h"
#include "kvr/link/PanelLink.h"
#include "kvr/link/TeleManager.h"
#include "kvr/logging/AcquisitionDriver.h"
#include "kvr/logging/CKVRDlg.h"
#include "kvr/logging/ChartRecorder.h"
#include "kvr/playback/CPlayback.h"
#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarn/TarnPanels.h"
#include "kvr/tarnb/TarnBPanels.h"
#include "kvr/tarnc/TarnCPanels.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Paths.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "toolslib/Library.h"

namespace kvr {

struct StationPorts {
  platform::EventLoop& loop;
  platform::Clock& clock;
  platform::Prompter& prompter;
  platform::Paths& paths;
  ProgramSettings& program;
  // The per-user settings (the TARN-C options, the task panels' report options); null: every value
  // is its default and is kept for the run only.
  platform::Settings* settings = nullptr;
};

class LoggingStation {
 public:
  // virtualTime: the acquisition reads run from an event-loop timer instead of a thread.
  LoggingStation(StationPorts ports, PanelLink link, bool virtualTime, LoggingHooks hooks = {});
  ~LoggingStation();

  // Declares a string by the names of ToolList.txt in the main folder, as the "ToolString
  // Manager" would; an error text when a name is not listed or the list cannot be read.
  std::optional<std::string> declareString(const std::vector<std::string>& names);
  // A run without a window: the job data that start the session, then the string; an error
  // text when either is refused.
  std::optional<std::string> startBatchJob(const std::string& user, const std::string& client,
                                           const std::string& well, const std::vector<std::string>& names);

  tools::Library& library() { return library_; }
  CToolManager& tools() { return tools_; }
  CFileManager& files() { return files_; }
  FileSystem& fileSystem() { return fs_; }
  Session& session() { return session_; }
  MainMenu& menu() { return menu_; }
  PPort& port() { return *port_; }
  TeleManager& telemetry() { return *telemetry_; }
  CKVRDlg& dialog() { return *dialog_; }
  PanelLink& link() { return link_; }
  AcquisitionFlags& flags() { return flags_; }
  ChartRecorder& charts() { return *charts_; }
  CPlayback& playback() { return *playback_; }
  // The TARN-C low-level command terminal of the confirmed string; null without a TARN-C tool.
  tarnc::CTARNC_LowLevelCmdDlg* tarnCTerminal() { return panels_.terminal(); }
  // The TARN-C task panel of the confirmed string; null without a TARN-C tool.
  tarnc::CTARN_C_TaskDlg* tarnCPanel() { return panels_.panel(); }
  // Told when the TARN-C task panel was made or is about to go.
  void setTarnCPanelChanged(std::function<void()> changed) { panels_.setPanelChanged(std::move(changed)); }
  // The "Data Latch Manager" of the confirmed string; null without a VUNT tool.
  gauge::CDataLatchTaskPanel* gaugePanel() { return gaugePanels_.panel(); }
  const TelemetrySession& telemetrySession() const { return telemetrySession_; }
  // The TARN-B task panel of the confirmed string; null without a TARN-B tool.
  tarnb::CTARN_B_TaskDlg* tarnBPanel() { return tarnBPanels_.panel(); }
  // The TARN task panel of the confirmed string; null without a TARN tool.
  tarn::CTARNTaskPanel* tarnPanel() { return tarnPanels_.panel(); }
  // Told when a task panel was made or destroyed (the program opens or closes its window).
  void setTaskPanelsChanged(std::function<void()> changed) { taskPanelsChanged_ = std::move(changed); }
  // Shows a report a task panel wrote (its path and text); without one reports are only written.
  void setReportViewer(std::function<void(const std::filesystem::path&, const std::string&)> viewer) {
    reportViewer_ = std::move(viewer);
  }

  // "System Units" confirmed: the TOOLS library converts with the new units at once, and the
  // channels of a declared string take the new unit texts unless a log or playback uses them.
  void setSystemUnits(const records::SystemUnitsS& units);

 private:
  class DeclaredString;
  class MainCommands;
  std::unique_ptr<tarnc::CTARN_C_TaskDlg> makeTarnCPanel();
  bool sendDownhole(const std::vector<std::uint8_t>& message);
  tarnb::TarnBPorts tarnBPorts();
  tarn::TarnPorts tarnPorts();
  void openTarnRawFile();
  StationPorts ports_;
  PanelLink link_;
  tools::Library library_;
  std::unique_ptr<platform::Settings> ownSettings_;
  platform::Settings& settings_;
  std::function<void()> taskPanelsChanged_;
  std::function<void(const std::filesystem::path&, const std::string&)> reportViewer_;
  tarnc::TarnCPanels panels_;
  gauge::GaugePanels gaugePanels_;
  tarnb::TarnBPanels tarnBPanels_;
  tarn::TarnPanels tarnPanels_;
  TaskPanelFan allPanels_;
  FrameRing frames_;
  CToolManager tools_;
  PosixFileSystem fs_;
  CFileManager files_;
  Session session_;
  MainMenu menu_;
  AcquisitionFlags flags_;
  std::unique_ptr<CUSBPort> usb_;
  std::unique_ptr<PPort> port_;
  std::unique_ptr<DeclaredString> string_;
  std::unique_ptr<AcquisitionDriver> acquisition_;
  std::unique_ptr<TeleManager> telemetry_;
  std::unique_ptr<CKVRDlg> dialog_;
  std::unique_ptr<ChartRecorder> charts_;
  std::unique_ptr<CPlayback> playback_;
  TelemetrySession telemetrySession_;
  std::unique_ptr<MainCommands> mainCommands_;
};

}  // namespace kvr
