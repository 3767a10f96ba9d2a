#include "kvr/app/LoggingStation.h"

#include <algorithm>

#include "common/records/SystemMode.h"
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
               [this](const std::vector<std::uint8_t>& m) {
                 return telemetry_ && telemetry_->SendDownholeMessage(m.data(), static_cast<std::uint32_t>(m.size()));
               }},
              [this](bool on) { menu_.setEnabled(MenuCommand::TarnCLowLevelCommands, on); }),
      tarnBPanels_([this] { return tarnBPorts(); }, [this] { if (taskPanelsChanged_) taskPanelsChanged_(); }),
      tarnPanels_([this] { return tarnPorts(); }, [this] { if (taskPanelsChanged_) taskPanelsChanged_(); }),
      panelSet_({&panels_, &tarnBPanels_, &tarnPanels_}),
      tools_(library_, ports.prompter, panelSet_, frames_),
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
  playback_.reset();
  dialog_.reset();
  telemetry_.reset();
}

void LoggingStation::setSystemUnits(const records::SystemUnitsS& units) {
  library_.globals().SystemUnits = units;
  if (!tools_.toolList().empty() && !dialog_->logRunning() && !playback_->fileChosen() && !playback_->running())
    tools_.createChannels();
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
