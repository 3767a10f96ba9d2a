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
#include "kvr/link/CUSBPort.h"
#include "kvr/link/PPort.h"
#include "kvr/link/PanelLink.h"
#include "kvr/link/TeleManager.h"
#include "kvr/logging/AcquisitionDriver.h"
#include "kvr/logging/CKVRDlg.h"
#include "kvr/logging/ChartRecorder.h"
#include "kvr/playback/CPlayback.h"
#include "kvr/core/TaskPanelSet.h"
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

// What a verified string at telemetry start sets for the TARN-C stations to come.
struct TelemetrySession {
  bool newSession = false;             // the first station opens the session files
  bool initializationPending = false;  // the tool is initialised before its first station
  int sessionNumber = 0;               // numbers the session files of the next stations
};

struct StationPorts {
  platform::EventLoop& loop;
  platform::Clock& clock;
  platform::Prompter& prompter;
  platform::Paths& paths;
  ProgramSettings& program;
  // The per-user settings (the report options of the task panels); null: kept for the run only.
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
  tarnb::TarnBPanels tarnBPanels_;
  tarn::TarnPanels tarnPanels_;
  TaskPanelSet panelSet_;
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
};

}  // namespace kvr
