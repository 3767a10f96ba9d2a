#pragma once
// The desktop program put together: the start-up, the logging station over the Qt ports,
// the main window and what each menu entry opens.

#include <QStringList>

#include <memory>

#include "kvr/app/CKVRApp.h"
#include "kvr/app/LoggingStation.h"
#include "kvr/app/ui/KvrMainWindow.h"
#include "kvr/logging/ui/LogWindows.h"
#include "kvr/monitors/CMonitorManager.h"
#include "kvr/monitors/ui/MonitorsDialog.h"
#include "kvr/presentation/ui/PresentationsDialog.h"
#include "kvr/gauge/ui/DataLatchWindow.h"
#include "kvr/tarn/ui/TarnPanelWindow.h"
#include "kvr/tarnb/ui/TarnBPanelWindow.h"
#include "kvr/tarnc/ui/LowLevelCmdWindow.h"
#include "kvr/postprocess/ui/PostProcessWindow.h"
#include "kvr/tarnc/ui/TaskPanelWindow.h"
#include "navikor/Navikor.h"
#include "platform/SystemClock.h"
#include "platform/SystemPaths.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/QtSettings.h"

namespace kvr::ui {

class KvrProgram {
 public:
  explicit KvrProgram(const QStringList& arguments);
  ~KvrProgram();
  KvrMainWindow& window() { return *window_; }
  LoggingStation& station() { return *station_; }
  const LogWindows& logWindows() const { return *logWindows_; }
  presentation::CPresManager& presentations() { return *presentations_; }
  ProgramSettings& program() { return app_.program(); }
  // Null until "&Edit Presentations" first opens it.
  PresentationsDialog* presentationsDialog() { return presDialog_.get(); }
  monitors::CMonitorManager& monitors() { return *monitors_; }
  // Null until "&Monitors" first opens it.
  MonitorsDialog* monitorsDialog() { return monDialog_.get(); }

 private:
  void wireJob();
  void wireLogging();
  void wirePlayback();
  void wireUtilities();
  void wireSettings();
  void wirePresentations();
  void wireMonitors();
  void showMonitors();
  void updateMonitors();
  void wireCalibrations();
  void wireTaskPanels();
  void showTaskPanels();
  void showCounters();
  void showJob();
  void showLogWindowMenu();
  void followUnitSystem(bool wasEnglish);
  void showTarnCTerminal();
  void showPostProcess();

  platform::qt::QtSettings settings_;
  platform::SystemPaths paths_;
  platform::qt::QtPrompter prompter_;
  platform::qt::QtEventLoop loop_;
  platform::SystemClock clock_;
  CKVRApp app_;
  std::unique_ptr<CNavikor> navikor_;  // one for the life of the program
  std::unique_ptr<KvrMainWindow> window_;
  std::unique_ptr<LoggingStation> station_;
  std::unique_ptr<LogWindows> logWindows_;  // draw from the station's chart recorder
  std::unique_ptr<presentation::CPresManager> presentations_;
  std::unique_ptr<PresentationsDialog> presDialog_;
  std::unique_ptr<monitors::CMonitorManager> monitors_;
  std::unique_ptr<MonitorsDialog> monDialog_;
  std::unique_ptr<tarnc::ui::LowLevelCmdWindow> tarncWindow_;  // made on first use
  std::unique_ptr<tarnc::ui::TaskPanelWindow> tarncPanelWindow_;  // while the string has a TARN-C tool
  postprocess::ui::QtDebugTrace postProcessTrace_;
  std::unique_ptr<postprocess::PostProcessManager> postProcess_;  // made on first use
  std::unique_ptr<postprocess::ui::PostProcessWindow> postProcessWindow_;
  std::filesystem::path postProcessFolder_;  // the session the window's "Add Files" starts in
  std::unique_ptr<gauge::ui::DataLatchWindow> gaugeWindow_;     // made on first use
  // The task panels' windows, made and destroyed with the panels.
  std::unique_ptr<tarnb::ui::TarnBPanelWindow> tarnbWindow_;
  std::unique_ptr<tarn::ui::TarnPanelWindow> tarnWindow_;
  QString linkText_;
  std::uint64_t rowsAtLogStart_ = 0;
  std::uint8_t logDirection_ = 0;
};

}  // namespace kvr::ui
