#include "kvr/app/LoggingStation.h"

#include <algorithm>

#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/SessionNumber.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/ToolStringEditor.h"
#include "toolslib/families/Tarn.h"
#include "platform/testing/MemorySettings.h"

namespace kvr {

// The tool string manager as telemetry sees it.
class LoggingStation::DeclaredString final : public TelemetryToolString {
 public:
  explicit DeclaredString(CToolManager& tools) : tools_(tools) {}
  records::ToolList* toolList() override {
    return tools_.toolList().empty() ? nullptr : &tools_.mutableToolList();
  }
  std::uint32_t minimumFrameLength() const override { return tools_.minimumFrameLength(); }
  void setSurfaceBlockOffset(std::uint32_t offset) override { tools_.setSurfaceBlockOffset(offset); }

 private:
  CToolManager& tools_;
};

// The main window's menu commands the TARN-C panel posts, run when the loop comes to them.
class LoggingStation::MainCommands final : public platform::EventTarget {
 public:
  MainCommands(platform::EventLoop& loop, CKVRDlg& dialog) : loop_(loop), dialog_(dialog) {}
  ~MainCommands() override { loop_.forget(this); }
  void post(tarnc::MainCommand c) { loop_.post(this, static_cast<int>(c)); }
  void onTimer(int) override {}
  void onCommand(int command, std::int64_t) override {
    switch (static_cast<tarnc::MainCommand>(command)) {
      case tarnc::MainCommand::StopLogging: dialog_.stopLogging(); break;
      case tarnc::MainCommand::StationLog: dialog_.startLog(kLogStation, true); break;
      case tarnc::MainCommand::StartLogUp: dialog_.startLog(kLogUp, false); break;
      case tarnc::MainCommand::StartLogDown: dialog_.startLog(kLogDown, false); break;
    }
  }

 private:
  platform::EventLoop& loop_;
  CKVRDlg& dialog_;
};

namespace {
std::unique_ptr<platform::Settings> settingsFor(const StationPorts& ports) {
  if (ports.settings) return nullptr;
  return std::make_unique<platform::testing::MemorySettings>();
}
}  // namespace

LoggingStation::LoggingStation(StationPorts ports, PanelLink link, bool virtualTime, LoggingHooks hooks)
    : ports_(ports),
      link_(std::move(link)),
      ownSettings_(settingsFor(ports)),
      settings_(ports.settings ? *ports.settings : *ownSettings_),
      panels_({ports.loop, ports.prompter, library_.globals(),
               [this](const std::vector<std::uint8_t>& m) { return sendDownhole(m); }},
              [this](bool on) { menu_.setEnabled(MenuCommand::TarnCLowLevelCommands, on); },
              settings_),
      gaugePanels_({ports.loop, ports.prompter, library_.globals(),
                    [this](const std::vector<std::uint8_t>& m) { return sendDownhole(m); }},
                   [this](bool on) { menu_.setEnabled(MenuCommand::MemoryGauge, on); }),
      tarnBPanels_([this] { return tarnBPorts(); }, [this] { if (taskPanelsChanged_) taskPanelsChanged_(); }),
      tarnPanels_([this] { return tarnPorts(); }, [this] { if (taskPanelsChanged_) taskPanelsChanged_(); }),
      allPanels_({&panels_, &gaugePanels_, &tarnBPanels_, &tarnPanels_}),
      tools_(library_, ports.prompter, allPanels_, frames_),
      files_(fs_),
      session_(fs_, ports.prompter, ports.paths.kvrFolder()) {
  library_.initToolsData(ports.program.systemUnits);
  usb_ = std::make_unique<CUSBPort>(*link_.backend);
  port_ = std::make_unique<PPort>(*usb_, ports.clock, frames_);
  port_->setRawLog(ports.program.rawTelemetryLog.get());
  string_ = std::make_unique<DeclaredString>(tools_);
  if (virtualTime) {
    acquisition_ = std::make_unique<TimerAcquisition>(ports.loop, ports.clock);
  } else {
    acquisition_ = std::make_unique<ThreadAcquisition>(ports.loop, ports.clock);
  }

  TelemetryHooks th;
  th.logRunning = [this] { return dialog_ && dialog_->logRunning(); };
  th.startAcquisition = [this] {
    if (dialog_) acquisition_->start(*port_, flags_, dialog_.get());
  };
  th.stringVerified = [this] {
    tools_.setModeWord(ports_.program.modeWord);
    telemetrySession_.newSession = true;
    telemetrySession_.initializationPending = true;
    telemetrySession_.sessionNumber = session_.started() ? nextSessionNumber(session_.sessionFolder()) : 1;
  };
  th.beforePanelOpen = [this](const records::ToolList& list) {
    mirrorDeclaredString(link_, list, records::isEnglish(ports_.program.modeWord));
    placeSimulatedWinch(link_, ports_.program.systemParameters[records::kSimStartDepth].value);
  };
  th.closeTarnCRawData = [this] {
    if (auto* f = dynamic_cast<tools::TarnC*>(library_.family(records::kTarnC))) f->CloseTARN_C_DLLRawDataFile();
  };
  telemetry_ = std::make_unique<TeleManager>(*port_, *string_, flags_, ports.prompter, ports.clock, ports.loop, th);

  LoggingParts parts{ports.loop, ports.clock, ports.prompter, ports.program, session_, tools_, files_,
                     *port_,     *telemetry_, flags_, menu_, *acquisition_};
  auto menuChanged = hooks.menuChanged;
  hooks.logStarted = [this, told = std::move(hooks.logStarted)](std::uint8_t direction, bool station) {
    if (!station) openTarnRawFile();
    const auto motion = station ? WinchMotion::Still : direction == kLogUp ? WinchMotion::Up : WinchMotion::Down;
    driveSimulatedWinch(link_, motion, ports_.program.systemParameters[records::kSimSpeed].value);
    if (told) told(direction, station);
  };
  // A TARN-C log records into the session's raw inertial stream, opened here when no station has yet.
  hooks.openTarnCDataFile = [this](std::uint8_t) {
    auto* panel = panels_.panel();
    return !panel || panel->openSessionFiles();
  };
  hooks.logStopped = [this, told = std::move(hooks.logStopped)] {
    driveSimulatedWinch(link_, WinchMotion::Still, 0);
    if (told) told();
  };
  hooks.closeToolDataFile = [this, told = std::move(hooks.closeToolDataFile)](std::uint8_t code) {
    if (code == records::kTarn) static_cast<tools::Tarn*>(library_.family(records::kTarn))->closeRawFile();
    if (told) told(code);
  };
  dialog_ = std::make_unique<CKVRDlg>(parts, std::move(hooks));
  playback_ = std::make_unique<CPlayback>(
      PlaybackParts{ports.prompter, ports.program, session_, tools_, files_, menu_, *dialog_}, std::move(menuChanged));
  charts_ = std::make_unique<ChartRecorder>(ports.prompter, ports.clock, [this] {
    ChartRecorder::Context c;
    c.mainFolder = ports_.program.mainFolder;
    c.sessionFolder = session_.sessionFolder();
    c.channels = &tools_.channels();
    c.dataFile = [this] { return dialog_->outputFile(); };
    c.modeWord = tools_.modeWord();
    const auto& job = session_.job();
    c.job.client = job.client;
    c.job.wellName = job.wellName;
    c.job.fieldName = job.field;
    c.job.loggingDate = job.loggingDate;
    return c;
  });
  dialog_->setDisplay(charts_.get());
  mainCommands_ = std::make_unique<MainCommands>(ports.loop, *dialog_);
  panels_.setPanelMaker([this] { return makeTarnCPanel(); });
}

std::unique_ptr<tarnc::CTARN_C_TaskDlg> LoggingStation::makeTarnCPanel() {
  tarnc::TaskPanelHost host;
  host.telemetryRunning = [this] { return telemetry_ && telemetry_->telemetryActive(); };
  host.depthLogRunning = [this] { return tools_.depthLogRunning(); };
  host.stationLogRunning = [this] { return tools_.stationLogRunning(); };
  host.logUp = [this] { return tools_.direction() == kLogUp; };
  host.recordedFile = [this] { return dialog_->outputFile(); };
  host.sessionFolder = [this] { return session_.sessionFolder(); };
  host.wellName = [this] { return session_.job().wellName; };
  host.postToMain = [this](tarnc::MainCommand c) { mainCommands_->post(c); };
  host.send = [this](const std::vector<std::uint8_t>& m) { return sendDownhole(m); };
  return std::make_unique<tarnc::CTARN_C_TaskDlg>(tarnc::TaskPanelPorts{
      ports_.loop, ports_.prompter, ports_.clock, settings_,
      ports_.paths.documentsFolder(), tools_, telemetrySession_, std::move(host)});
}

bool LoggingStation::sendDownhole(const std::vector<std::uint8_t>& m) {
  return telemetry_ && telemetry_->SendDownholeMessage(m.data(), static_cast<std::uint32_t>(m.size()));
}

tarnb::TarnBPorts LoggingStation::tarnBPorts() {
  tarnb::TarnBLog log;
  log.depthLogRunning = [this] { return dialog_ && dialog_->depthLogRunning(); };
  log.stationLogRunning = [this] { return dialog_ && dialog_->stationLogRunning(); };
  log.startStationLog = [this] {
    if (dialog_) dialog_->startLog(kLogStation, true);
  };
  log.stopLogging = [this] {
    if (dialog_) dialog_->stopLogging();
  };
  log.recordingFile = [this] { return dialog_ ? dialog_->outputFile() : std::filesystem::path{}; };
  return {ports_.loop, ports_.prompter, settings_, library_, fs_,
          [this] {
            return tarnb::TarnBContext{session_.sessionFolder(), session_.job().wellName, ports_.program.modeWord};
          },
          std::move(log), [this](const std::filesystem::path& path, const std::string& text) {
            if (reportViewer_) reportViewer_(path, text);
          }};
}

// A depth log of a string with a TARN tool keeps its raw frames beside the data file.
void LoggingStation::openTarnRawFile() {
  const bool tarn = std::any_of(tools_.toolList().begin(), tools_.toolList().end(),
                                [](const records::ToolEntry& t) { return t.isTool() && t.code() == records::kTarn; });
  if (!tarn) return;
  auto path = dialog_->outputFile();
  path.replace_extension(".bin");
  if (!static_cast<tools::Tarn*>(library_.family(records::kTarn))->openRawFile(path.string()))
    platform::tell(ports_.prompter, "ERROR", "The TARN raw data file " + path.string() + " could not be created.",
                   platform::Icon::Error);
}

tarn::TarnPorts LoggingStation::tarnPorts() {
  return {ports_.loop,
          ports_.prompter,
          ports_.clock,
          library_,
          [this] { return session_.sessionFolder(); },
          [this] { return tools_.panelDepth(); },
          [this] { return tools_.framesDispatched(); }};
}

LoggingStation::~LoggingStation() {
  acquisition_->stop(flags_);
  allPanels_.destroyAll();  // the panels hold the dialog and the tool manager
  playback_.reset();
  dialog_.reset();
  telemetry_.reset();
}

void LoggingStation::setSystemUnits(const records::SystemUnitsS& units) {
  library_.globals().SystemUnits = units;
  if (!tools_.toolList().empty() && !dialog_->logRunning() && !playback_->fileChosen() && !playback_->running())
    tools_.createChannels();
}

std::optional<std::string> LoggingStation::startBatchJob(const std::string& user, const std::string& client,
                                                        const std::string& well, const std::vector<std::string>& names) {
  records::JobRecord job;
  job.userName = user;
  job.client = client;
  job.wellName = well;
  if (!session_.confirmJobData(job)) return std::string("the job data did not start a session");
  menu_.onJobDataConfirmed();
  return declareString(names);
}

std::optional<std::string> LoggingStation::declareString(const std::vector<std::string>& names) {
  ToolStringEditor editor(tools_, ports_.prompter, fs_, ports_.program.mainFolder / "ToolList.txt");
  editor.open();
  if (!editor.toolListLoaded()) return std::string("ToolList.txt could not be read in ") + ports_.program.mainFolder.string();
  for (const auto& name : names) {
    const auto& avail = editor.availableTools();
    const auto& acc = editor.accessories();
    if (auto it = std::find(avail.begin(), avail.end(), name); it != avail.end()) {
      if (!editor.addTool(static_cast<std::size_t>(it - avail.begin()))) return "the tool " + name + " was refused";
    } else if (auto a = std::find(acc.begin(), acc.end(), name); a != acc.end()) {
      editor.addAccessory(static_cast<std::size_t>(a - acc.begin()));
    } else {
      return "the tool " + name + " is not in ToolList.txt";
    }
  }
  editor.confirm(ports_.program.modeWord);
  return std::nullopt;
}

}  // namespace kvr
