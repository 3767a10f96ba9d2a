#pragma once
// The "TARN-C Task Panel" without its window: initialization with the turning test, the
// north-seeking station, continuous survey start and stop, the survey report pair, the
// session event log, the status refresh, the reset countdown, and the roll test and axis
// correction (RollTest.cpp). Every step of a procedure is one window timer tick or one posted
// command, so the interface never blocks.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kvr/core/CToolManager.h"
#include "kvr/core/TelemetrySession.h"
#include "kvr/tarnc/CToolFaceMonitor.h"
#include "kvr/tarnc/PositionAverage.h"
#include "kvr/tarnc/RollReport.h"
#include "kvr/tarnc/SessionFiles.h"
#include "kvr/tarnc/StationList.h"
#include "kvr/tarnc/SurveyOptions.h"
#include "kvr/tarnc/SurveyReport.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "platform/Settings.h"
#include "toolslib/families/TarnC.h"
#include "toolslib/wire/TarnCWire.h"

namespace kvr::tarnc {

// The main window's menu commands the panel posts.
enum class MainCommand { StopLogging, StationLog, StartLogUp, StartLogDown };

// What the panel needs of the rest of the program.
struct TaskPanelHost {
  std::function<bool()> telemetryRunning;
  std::function<bool()> depthLogRunning;
  std::function<bool()> stationLogRunning;
  std::function<bool()> logUp;                          // the running log's direction
  std::function<std::filesystem::path()> recordedFile;  // the data file of the running log
  std::function<std::filesystem::path()> sessionFolder;
  std::function<std::string()> wellName;
  std::function<void(MainCommand)> postToMain;
  // The surface panel's downhole-command send: [3, 227, 0, code].
  std::function<bool(const std::vector<std::uint8_t>&)> send;
};

struct TaskPanelPorts {
  platform::EventLoop& loop;
  platform::Prompter& prompter;
  platform::Clock& clock;
  platform::Settings& settings;
  std::filesystem::path documentsFolder;
  CToolManager& tools;
  TelemetrySession& session;
  TaskPanelHost host;
};

class CTARN_C_TaskDlg final : public platform::EventTarget {
 public:
  enum Timer : int {
    kInitAck = 102, kInitTable = 104, kInitTimeOut = 107, kTurnMove = 108, kMoveTimeOut = 1000, kWaitRotation = 1001,
    kWaitReady = 1002, kTick0 = 1004, kTick180 = 1005, kRefresh = 1006, kStabilise = 1007, kResend180 = 1008,
    kResend0 = 1009, kWaitReturn = 1010, kEndStation = 1011, kResend90 = 1022, kResend270 = 1023, kCountdown = 1024,
    kSurveyDown = 1025, kSurveyUp = 1026, kQuickKalman = 1030,
    kRollTick1 = 1012, kRollTick8 = 1019, kAxisTick = 1027
  };
  enum Command : int {
    kFirstHalf = 1, kSecondHalf, kProcess, kTurnStep, kNorthSeekingButton, kRollStep, kRollEnd, kAxisStep, kAxisEnd
  };
  enum Code : std::uint8_t { kTo0 = 0x6F, kTo90 = 0x70, kTo180 = 0x71, kTo270 = 0x72, kInitialize = 0x99 };
  enum class Icon { TelemetryOff, Logging, SurveyMode };

  explicit CTARN_C_TaskDlg(TaskPanelPorts ports);
  ~CTARN_C_TaskDlg() override;

  // ---- the buttons
  void initialize();
  void northSeeking();
  void surveyUp() { surveyStart(true); }
  void surveyDown() { surveyStart(false); }
  void stopSurvey();
  void upload();
  // The two calibration checks of the horizontal tool (RollTest.cpp): start, or offer to cancel.
  void rollTest() { procedureButton(RollKind::RollTest); }
  void axisCorrection() { procedureButton(RollKind::AxisCorrection); }
  // "Aceptar" of the survey options; the range prompt when a value is refused.
  bool acceptOptions(const SurveyOptions& options);
  bool acceptFilterOptions(const FilterOptions& options);
  // "Use DLL Output" and "Enable Accel Correction" apply when clicked.
  void setUseDllOutput(bool on) { globals().usarDatosDLL = on ? 1 : 0; }
  void setAccelCorrection(bool on) { globals().usarCorreccionAcelerometro = on ? 1 : 0; }
  // "Quick Kalman": seeds the filter and pauses it after the returned seconds (20-180).
  int quickKalman(FilterOptions options);
  const tools::Globals& toolGlobals() const { return globals(); }
  // Shown while the accepted options apply a tool-face offset.
  CToolFaceMonitor& toolFaceMonitor() { return monitor_; }

  // The session's raw inertial stream and event log, opened by the first station or log after
  // telemetry start (a continuous log records into the same stream); false when the stream
  // could not be opened.
  bool openSessionFiles();

  // ---- what the view shows
  const StationList& list() const { return list_; }
  const std::string& title() const { return title_; }
  const std::string& stationButton() const { return stationButton_; }
  bool northSeekingEnabled() const { return northSeekingEnabled_; }
  bool progressShown() const { return progressShown_; }
  int progressRange() const { return target_; }
  int progressPosition() const { return ticks_; }
  const std::string& calibrationStatus() const { return calStatus_; }
  const std::string& serialNumber() const { return calSerial_; }
  const std::string& calibrationDate() const { return calDate_; }
  const std::string& calibrationVersion() const { return calVersion_; }
  const std::string& latitudeText() const { return latitudeText_; }
  const std::string& motorSpeedText() const { return motorSpeedText_; }
  const std::string& resetText() const { return resetText_; }
  Icon icon() const;
  const std::string& rollButton() const { return rollButton_; }
  const std::string& axisButton() const { return axisButton_; }
  // 0 idle, else the measurement (1-8) in progress.
  int rollStep() const { return rollStep_; }
  int axisStep() const { return axisStep_; }
  // The report the last roll test or axis correction wrote (empty: none).
  const std::filesystem::path& procedureReport() const { return procedureReport_; }
  // Shows a report when the engineer asks to view it after a roll test or an axis correction.
  void setReportViewer(std::function<void(const std::filesystem::path&)> viewer) { viewer_ = std::move(viewer); }
  // Called after anything the view shows changed.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  // ---- state, for the program and its tests
  const SurveyOptions& options() const { return options_; }
  const FilterOptions& filterOptions() const { return filter_; }
  bool toolInitialized() const { return initialized_; }
  bool initializationRunning() const { return initRunning_; }
  bool stationRunning() const { return stationRunning_; }
  const std::array<int, 4>& positionTable() const { return table_; }
  const PositionAverage& average(int i) const { return averages_[static_cast<std::size_t>(i)]; }
  const std::string& lastSurveyLabel() const { return lastSurvey_; }
  int resetCountdown() const { return countdown_; }
  const std::filesystem::path& reportPath() const { return report_.path(); }
  bool reportOpen() const { return report_.isOpen(); }
  std::filesystem::path eventLogPath() const;
  const RawDataLog& rawDataLog() const { return rawLog_; }

  void onTimer(int timerId) override;
  void onCommand(int command, std::int64_t param) override;

 private:
  struct LastStation {
    unsigned kind = 0;
    double devi = 0, azi = 0, hstf = 0, tf = 0, qc = 0;
    unsigned pos0 = 0, pos180 = 0;
  };

  // A station log was asked for; its file number is known once the log runs.
  static constexpr int kPendingFile = 0xFFFF;

  int status() const { return globals().TARNC_CtrlWord & tools::wire::tarnc::kStatusMask; }
  tools::Globals& globals() const { return ports_.tools.tools().globals(); }
  tools::TarnC* family() const;
  void send(std::uint8_t code);
  void start(int timer, int ms) { ports_.loop.startTimer(this, timer, ms); }
  void stop(std::initializer_list<int> timers);
  bool ask(const char* title, const char* text, platform::Icon icon = platform::Icon::Question);
  void tell(const char* title, const char* text, platform::Icon icon = platform::Icon::Warning);
  void changed();

  void refreshStatus();
  void refreshCalibration();
  void beginInitialization();
  void initTimeOut();
  void tableDone();
  void turnStep();
  void turnFailed(const char* position);
  void turnMoveTick();
  bool commonChecks();
  void stopProcedure();
  void startStation();
  void waitRotation();
  void waitReady();
  void halfStart(bool first);
  void halfTick(bool first);
  void failStation();
  void processStation();
  void waitReturn();
  void endStation();
  void surveyStart(bool up);
  bool openReport();
  bool loadReport(const std::filesystem::path& file);
  bool writeEvent(const std::string& name);
  int recordedFileNumber() const;
  void showCountdown();
  // The roll test and the axis correction (RollTest.cpp).
  void procedureButton(RollKind kind);
  void procedureStep(RollKind kind);
  void procedureTick(RollKind kind);
  void procedureEnd(RollKind kind);
  void finishProcedureRow(RollKind kind, int k);
  void closeProcedureLog();
  void writeProcedureReport(RollKind kind);
  void stopRollProcedures();
  int& stepOf(RollKind kind) { return kind == RollKind::RollTest ? rollStep_ : axisStep_; }
  void refreshRunning() {
    start(kRefresh, 250);
    refreshStatus();
  }

  TaskPanelPorts ports_;
  std::function<void()> changed_;
  StationList list_;
  SurveyOptions options_;
  FilterOptions filter_;
  RawDataLog rawLog_;
  ReportPair report_;
  PositionAverager averager_;
  CToolFaceMonitor monitor_;
  std::array<PositionAverage, 18> averages_{};
  std::array<int, 4> table_{};
  bool initialized_ = false, initRunning_ = false, imuMissing_ = false;
  int turnStep_ = 0, movePhase_ = 0, tableTicks_ = 0;
  bool fromStation_ = false;
  bool stationRunning_ = false;
  int ticks_ = 0, target_ = 0, resend_ = 0;
  bool returning_ = false, firstHalfPending_ = false, noiseAccepted_ = false;
  int fileNumber_ = -1;
  platform::CalendarTime startTime_;
  bool uploaded_ = false;
  std::filesystem::path uploadedPath_;
  bool endStationDue_ = false;  // a station was processed since the last END_STATION
  LastStation last_;
  int countdown_ = 0;
  std::string title_ = "TARN-C Task Panel", stationButton_ = "North-Seeking";
  bool northSeekingEnabled_ = true, progressShown_ = false;
  std::string calStatus_, calSerial_, calDate_, calVersion_, latitudeText_, motorSpeedText_;
  std::string resetText_ = "00m, 00s";
  std::string lastSurvey_;
  int rollStep_ = 0, axisStep_ = 0;
  std::string rollButton_ = "RollTest", axisButton_ = "Axis Correction";
  std::filesystem::path procedureReport_;
  std::function<void(const std::filesystem::path&)> viewer_;
};

}  // namespace kvr::tarnc
