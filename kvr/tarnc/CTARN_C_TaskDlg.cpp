#include "kvr/tarnc/CTARN_C_TaskDlg.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "common/records/ToolCodes.h"
#include "kvr/tarnc/TaskPanelTexts.h"
#include "navikor/Navikor.h"
#include "platform/TextFormat.h"
#include "toolslib/GyroMath.h"

namespace kvr::tarnc {

using platform::format;

namespace {

constexpr double kToDeg = tools::gyro::kRadToDeg;
// A table transfer (status 10) that has not ended after this many 200 ms ticks has failed.
constexpr int kTableTicks = 50;
// Statuses of the tool (its control word's status bits).
constexpr int kNotReadyStatus = tools::wire::tarnc::kNotReady, kReadyStatus = tools::wire::tarnc::kReady,
              kNoisy = tools::wire::tarnc::kMoving, kRotating = tools::wire::tarnc::kRotating,
              kTable = tools::wire::tarnc::kTableTransfer;

bool near(int a, int b, int within) { return std::abs(a - b) <= within; }

}  // namespace

CTARN_C_TaskDlg::CTARN_C_TaskDlg(TaskPanelPorts ports)
    : ports_(std::move(ports)),
      rawLog_(ports_.documentsFolder),
      monitor_(ports_.loop, ports_.tools, ports_.host.telemetryRunning),
      lastSurvey_(text::kNoPreviousSurvey) {
  list_.reset(Layout::Stations);
  refreshCalibration();
  start(kRefresh, 250);
  options_ = loadSurveyOptions({ports_.settings, globals(), family() ? &family()->getParameterList() : nullptr,
                                ports_.tools.tools().navikor()});
  filter_ = loadFilterOptions(ports_.settings);
  // The eight roll-test windows start empty; each reset marks the raw data log.
  for (int i = 0; i < 8; ++i) averager_.reset(ports_.tools.ring(), ports_.tools.channels(), rawLog_);
}

CTARN_C_TaskDlg::~CTARN_C_TaskDlg() {
  ports_.loop.forget(this);
  globals().TARNC_SurveyMode = 0;
}

tools::TarnC* CTARN_C_TaskDlg::family() const {
  return dynamic_cast<tools::TarnC*>(ports_.tools.tools().family(records::kTarnC));
}

std::filesystem::path CTARN_C_TaskDlg::eventLogPath() const {
  return SessionEventLog::pathOf(ports_.host.sessionFolder(), static_cast<unsigned>(ports_.session.sessionNumber));
}

void CTARN_C_TaskDlg::send(std::uint8_t code) {
  if (ports_.host.send) ports_.host.send({3, records::kTarnC, 0, code});
}

void CTARN_C_TaskDlg::stop(std::initializer_list<int> timers) {
  for (int t : timers) ports_.loop.stopTimer(this, t);
}

bool CTARN_C_TaskDlg::ask(const char* title, const char* t, platform::Icon icon) {
  return ports_.prompter.ask({title, t, platform::Buttons::YesNo, icon}) == platform::Answer::Yes;
}

void CTARN_C_TaskDlg::tell(const char* title, const char* t, platform::Icon icon) {
  platform::tell(ports_.prompter, title, t, icon);
}

void CTARN_C_TaskDlg::changed() {
  if (changed_) changed_();
}

CTARN_C_TaskDlg::Icon CTARN_C_TaskDlg::icon() const {
  if (!ports_.host.telemetryRunning()) return Icon::TelemetryOff;
  return globals().TARNC_SurveyMode ? Icon::SurveyMode : Icon::Logging;
}

// ---- status refresh and calibration status

void CTARN_C_TaskDlg::refreshStatus() {
  switch (status()) {
    case kReadyStatus: list_.current().status() = kReady; break;
    case kNoisy: list_.current().status() = kMoving; break;
    case kRotating: list_.current().status() = kFlipping; break;
    default: list_.current().status() = kNotReady; break;
  }
  refreshCalibration();
  changed();
}

void CTARN_C_TaskDlg::refreshCalibration() {
  auto* f = family();
  const auto& g = globals();
  const bool type2 = g.TARNC_Cal_Type == 2.0;
  double motorHz = 0;
  if (!f || f->CheckTARN_C_CorrectionTableActive() == 0) {
    calStatus_ = "Not Loaded";
    calSerial_ = calDate_ = calVersion_ = "-";
  } else {
    calStatus_ = "Loaded";
    calSerial_ = g.TARNC_Cal_Sensor_SN;
    calDate_ = g.TARNC_Cal_Date;
    calVersion_ = format("%.1f", g.TARNC_Cal_Type);
    motorHz = type2 ? g.TARNC_DTGFrequency * 0.3125 + 800 : g.TARNC_DTGFrequency * 0.15625 + 400;
  }
  if (f && !f->getParameterList().empty()) {
    const double latitude = f->getParameterList()[0].value;
    latitudeText_ = format("%.5f", latitude);
    ports_.tools.tools().navikor().SetLatitud(latitude);
  } else {
    latitudeText_.clear();
  }
  motorSpeedText_ = type2 ? format("%.1f", motorHz * 60 / 4) : "0.0";
  if (g.TARNC_TurnOnActive) motorSpeedText_ += "*";
}

// ---- initialization and the turning test

void CTARN_C_TaskDlg::initialize() {
  if (initRunning_) return tell(text::kInitRunning.title, text::kInitRunning.text);
  fromStation_ = false;
  beginInitialization();
}

void CTARN_C_TaskDlg::beginInitialization() {
  if (status() == kNotReadyStatus) {
    if (!ask(text::kImuMissing.title, text::kImuMissing.text, platform::Icon::Warning)) return;
    imuMissing_ = true;
  } else {
    imuMissing_ = false;
  }
  if (!fromStation_) initRunning_ = true;
  send(kInitialize);
  turnStep_ = 0;
  tableTicks_ = 0;
  globals().TARNC_SpecialFrameDataCount = 0;
  start(kInitAck, 200);
  start(kInitTimeOut, 3000);
}

void CTARN_C_TaskDlg::initTimeOut() {
  stop({kInitTimeOut, kInitAck, kInitTable, kTurnMove});
  initRunning_ = false;
  fromStation_ = false;
  tell(text::kInitTimeOut.title, text::kInitTimeOut.text);
  changed();
}

void CTARN_C_TaskDlg::tableDone() {
  auto& g = globals();
  stop({kInitTable, kInitTimeOut});
  const bool equalCounts = g.TARNC_TDDataBuf[0] == g.TARNC_TDDataBuf[2];
  if (g.TARNC_SpecialFrameDataCount != 4 || equalCounts) {
    // A table that did not come whole, or whose 0 and 180 counts are equal, cannot place the indexer.
    initialized_ = false;
    if (equalCounts && g.TARNC_SpecialFrameDataCount == 4) {
      initRunning_ = false;
      fromStation_ = false;
      turnFailed(text::kPos180);
    } else {
      initTimeOut();
    }
    return;
  }
  initialized_ = true;
  for (int i = 0; i < 4; ++i) table_[static_cast<std::size_t>(i)] = g.TARNC_TDDataBuf[static_cast<std::size_t>(i)];
  g.cuentas_0deg = table_[0];
  g.cuentas_180deg = table_[2];
  ports_.session.initializationPending = false;
  changed();
  if (fromStation_) {
    fromStation_ = false;
    northSeeking();
  } else {
    ports_.loop.post(this, kTurnStep);
  }
}

void CTARN_C_TaskDlg::turnFailed(const char* position) {
  initRunning_ = false;
  tell(text::kPositionErrorTitle, format(text::kPositionError, position).c_str(), platform::Icon::Error);
  changed();
}

void CTARN_C_TaskDlg::turnStep() {
  movePhase_ = 0;
  stop({kInitTimeOut, kTurnMove});
  const int at = globals().TARNC_AnglePos;
  auto move = [&](std::uint8_t code, int next) {
    send(code);
    turnStep_ = next;
    start(kInitTimeOut, 10000);
    start(kTurnMove, 100);
  };
  switch (turnStep_) {
    case 0:
      if (near(at, table_[0], 10)) move(kTo90, 1);
      else move(kTo0, 1000);
      return;
    case 1000:
      if (near(at, table_[0], 15)) return move(kTo90, 1);
      return turnFailed(text::kPos0);
    case 1:
    case 2:
    case 3: {
      // 90, then 270, then 180 degrees: the table entry to be near, its name, the next move.
      struct Leg {
        std::size_t entry;
        const char* name;
        std::uint8_t next;
      };
      static constexpr Leg legs[] = {{1, text::kPos90, kTo270}, {3, text::kPos270, kTo180}, {2, text::kPos180, kTo0}};
      const Leg& leg = legs[turnStep_ - 1];
      if (near(at, table_[leg.entry], 10)) return move(leg.next, turnStep_ + 1);
      return turnFailed(leg.name);
    }
    case 4:
    default:
      initRunning_ = false;
      turnStep_ = 0;
      if (near(at, table_[0], 15)) {
        tell(text::kInitDone.title, text::kInitDone.text, platform::Icon::Information);
        changed();
        return;
      }
      return turnFailed(text::kPos0);
  }
}

void CTARN_C_TaskDlg::turnMoveTick() {
  const int s = status();
  if (movePhase_ == 0) {
    if (s == kRotating) movePhase_ = 1;
    return;
  }
  if (s == kReadyStatus || (imuMissing_ && s == kNotReadyStatus)) {
    stop({kTurnMove, kInitTimeOut});
    ports_.loop.post(this, kTurnStep);
  }
}

// ---- the common checks and Stop

bool CTARN_C_TaskDlg::commonChecks() {
  if (!ports_.host.telemetryRunning()) {
    tell(text::kNoTelemetry.title, text::kNoTelemetry.text);
    return false;
  }
  if (std::strtod(latitudeText_.c_str(), nullptr) == 0) {
    tell(text::kLatitudeZero.title, text::kLatitudeZero.text);
    return false;
  }
  if (calStatus_ != "Loaded" && !ask(text::kNoCalibration.title, text::kNoCalibration.text)) return false;
  if (ports_.host.depthLogRunning()) {
    tell(text::kDepthLogging.title, text::kDepthLogging.text);
    return false;
  }
  if (stationRunning_) {
    if (ask(text::kCancelStation.title, text::kCancelStation.text)) stopProcedure();
    return false;
  }
  return true;
}

int CTARN_C_TaskDlg::recordedFileNumber() const {
  // Station files are named tools + "_STATION" + "_n": the number follows the last "_" (none: 0).
  const std::string stem = ports_.host.recordedFile().stem().string();
  const auto us = stem.find_last_of('_');
  if (us == std::string::npos) return 0;
  char* end = nullptr;
  const long n = std::strtol(stem.c_str() + us + 1, &end, 10);
  return (*end == '\0' && end != stem.c_str() + us + 1 && n >= 0 && n < 100000) ? static_cast<int>(n) : 0;
}

void CTARN_C_TaskDlg::stopProcedure() {
  if (fileNumber_ != -1) {
    fileNumber_ = ports_.host.stationLogRunning() ? recordedFileNumber() : -1;
    ports_.host.postToMain(MainCommand::StopLogging);
  }
  progressShown_ = false;
  list_.current().status() = kReady;
  stationButton_ = "North-Seeking";
  stationRunning_ = false;
  stop({kTick0, kTick180, kMoveTimeOut, kWaitRotation, kWaitReady, kStabilise, kResend180, kResend0, kResend90,
        kResend270, kAxisTick});
  for (int t = kRollTick1; t <= kRollTick8; ++t) stop({t});
  stopRollProcedures();
  refreshRunning();
  returning_ = true;
  start(kWaitRotation, 200);
  resend_ = 2;
  start(kResend0, 5000);
  send(kTo0);
  changed();
}

// ---- the north-seeking station

void CTARN_C_TaskDlg::northSeeking() {
  if (initRunning_) return tell(text::kInitRunning.title, text::kInitRunning.text);
  if (ports_.session.initializationPending && ports_.host.telemetryRunning()) {
    fromStation_ = true;
    beginInitialization();
    return;
  }
  if (!initialized_) return tell(text::kNotInitialized.title, text::kNotInitialized.text);
  if (!commonChecks()) return;
  if (list_.layout() != Layout::Stations) {
    if (!ask(text::kSwitchLayout.title, text::kSwitchLayout.text)) return;
    list_.reset(Layout::Stations);
    stopProcedure();
    report_.close();
  }
  if (!report_.isOpen()) openReport();
  noiseAccepted_ = false;
  const int s = status();
  if (s == kNoisy) {
    if (!ask(text::kNoiseHigh.title, text::kNoiseHigh.text, platform::Icon::Warning)) return;
    noiseAccepted_ = true;
  } else if (s != kReadyStatus) {
    return tell(text::kNotReady.title, text::kNotReady.text);
  }
  if (!openSessionFiles()) return tell(text::kRawFile.title, text::kRawFile.text, platform::Icon::Error);
  startStation();
}

bool CTARN_C_TaskDlg::openSessionFiles() {
  if (!ports_.session.newSession) return true;
  auto* f = family();
  const auto folder = ports_.host.sessionFolder();
  if (folder.empty()) return false;  // no job data yet: no session folder to write into
  const std::string number = std::to_string(static_cast<unsigned>(ports_.session.sessionNumber));
  if (!f || !f->OpenTARN_C_DLLRawDataFile(folder.string(), "DataSession", number)) return false;
  globals().OnlineTimeTARN = 0;
  globals().OnlineTimeTARN_Previo = 0;
  ports_.session.newSession = false;
  SessionEventLog::CreateSessionLog(folder, static_cast<unsigned>(ports_.session.sessionNumber));
  return true;
}

void CTARN_C_TaskDlg::startStation() {
  auto& g = globals();
  ticks_ = 0;
  if (filter_.stationKalman) {
    g.KG = filter_.initialGain;
    g.Ees = filter_.initialErrEs;
    g.Outes = 0;
    g.Err = filter_.initialErrM;
    g.Kalman_Pause = 0;
  }
  g.TARNC_SurveyMode = 1;
  progressShown_ = true;
  stationRunning_ = true;
  stationButton_ = "Stop Station";
  refreshStatus();
  target_ = static_cast<int>(std::lround(options_.stationTime));
  send(kTo0);
  start(kWaitRotation, 200);
  resend_ = 2;
  start(kResend0, 5000);
  returning_ = false;
  firstHalfPending_ = true;
  // The row's depth: the running count with "Activate Auto Depth", else the wireline depth now.
  auto& row = list_.current();
  if (options_.autoDepth) {
    if (list_.rows().size() == 1) row.depth() = options_.initialDepth;
  } else {
    row.depth() = ports_.tools.panelDepth();
  }
  fileNumber_ = -1;
  if (options_.createStationFiles) {
    if (ports_.host.depthLogRunning() || ports_.host.stationLogRunning()) {
      ports_.host.postToMain(MainCommand::StopLogging);
    }
    ports_.host.postToMain(MainCommand::StationLog);
    fileNumber_ = kPendingFile;
  }
  startTime_ = ports_.clock.localTime();
  changed();
}

void CTARN_C_TaskDlg::waitRotation() {
  if (status() != kRotating) return;
  stop({kResend180, kResend0, kResend90, kResend270, kWaitRotation});
  if (!returning_) {
    start(kWaitReady, 200);
    start(kMoveTimeOut, 10000);
  } else {
    start(kWaitReturn, 200);
  }
}

void CTARN_C_TaskDlg::waitReady() {
  const int s = status();
  if (s != kReadyStatus && !(s == kNoisy && noiseAccepted_)) return;
  stop({kMoveTimeOut, kWaitReady, kRefresh});
  start(kStabilise, static_cast<int>(std::lround(options_.stabilisationTime * 1000)));
  list_.current().status() = kWaiting;
  changed();
}

void CTARN_C_TaskDlg::halfStart(bool first) {
  stop({kRefresh});
  list_.current().status() = first ? kAcquiring0 : kAcquiring180;
  ticks_ = 0;
  globals().Kalman_Pause = 0;
  averager_.reset(ports_.tools.ring(), ports_.tools.channels(), rawLog_);
  progressShown_ = true;
  start(first ? kTick0 : kTick180, 500);
  if (first && !writeEvent("START_STATION")) tell(text::kRawFile.title, text::kRawFile.text, platform::Icon::Error);
  changed();
}

void CTARN_C_TaskDlg::halfTick(bool first) {
  ++ticks_;
  averager_.accumulate(ports_.tools.ring(), rawLog_);
  if (ticks_ < target_) return changed();
  refreshRunning();
  stop({first ? kTick0 : kTick180});
  if (!averager_.finish(averages_[first ? 0 : 1], globals().TARNC_AnglePos, rawLog_)) return failStation();
  globals().Kalman_Pause = 1;
  resend_ = 2;
  start(kWaitRotation, 200);
  if (first) {
    start(kResend180, 5000);
    firstHalfPending_ = false;
    send(kTo180);
  } else {
    start(kResend0, 5000);
    send(kTo0);
    returning_ = true;
    ports_.loop.post(this, kProcess);
  }
  changed();
}

void CTARN_C_TaskDlg::failStation() {
  // Averages of fewer than two rows are no station: say so and bring the indexer home.
  globals().Kalman_Pause = 1;
  tell(text::kNoSamples.title, text::kNoSamples.text);
  stopProcedure();
}

void CTARN_C_TaskDlg::processStation() {
  progressShown_ = false;
  if (fileNumber_ == kPendingFile) {
    // A station log the logging controller refused leaves no file to number.
    fileNumber_ = ports_.host.stationLogRunning() ? recordedFileNumber() : -1;
    if (fileNumber_ >= 0) ports_.host.postToMain(MainCommand::StopLogging);
  }
  auto& nav = ports_.tools.tools().navikor();
  ESTACIONin in[2];
  for (int k = 0; k < 2; ++k) {
    const PositionAverage& a = averages_[static_cast<std::size_t>(k)];
    ESTACIONin s;
    s.acel = nav.CalibrarAcel({a.rawAcc[0], a.rawAcc[1], a.rawAcc[2]}, {a.temps[0], a.temps[1], a.temps[2]});
    s.gyro = nav.CalibrarGyroSen({a.rawRates[0], a.rawRates[1], a.rawRates[2]}, s.acel, {a.temps[3], a.temps[3], a.temps[4]});
    const double root = std::sqrt(static_cast<double>(a.sampleCount));
    s.gyroNoise = {std::fabs(a.rawNoise[0] * nav.avgGyroGain.x / root), std::fabs(a.rawNoise[1] * nav.avgGyroGain.y / root),
                   std::fabs(a.rawNoise[2] * nav.avgGyroGain.z / root)};
    in[k] = s;
  }
  // Signed, truncating integer arithmetic; the table was refused at initialization when c180 = c0.
  const long c0 = table_[0], c180 = table_[2];
  const long p0 = averages_[0].motorPosition, p1 = averages_[1].motorPosition;
  const long span = c180 != c0 ? c180 - c0 : 1;
  const long rot0 = ((p0 - c0) * 180) / span;
  in[0].rotpos = static_cast<double>(rot0);
  in[1].rotpos = static_cast<double>(rot0 + ((p1 - p0) * 180) / span);
  const ESTACIONout out = nav.ProcesarEstacion(in[0], in[1], 100);
  auto& g = globals();
  g.RESSTA = out;
  const double devi = out.attitude.Devi * kToDeg, azi = out.attitude.Azi * kToDeg;
  const double hstf = out.attitude.Hstf * kToDeg, tf = out.attitude.Tf * kToDeg;
  const double quality = out.quality;
  last_ = {quality < 60 ? 1u : 0u, devi, azi, hstf, tf, quality, static_cast<unsigned>(table_[0]),
           static_cast<unsigned>(table_[2])};
  rawLog_.station({in[0], in[0].rotpos, averages_[0].sampleCount}, {in[1], in[1].rotpos, averages_[1].sampleCount}, out);

  auto& row = list_.current();
  const int station = static_cast<int>(row.station());
  row.file() = fileNumber_;
  row.v[3] = devi, row.v[4] = azi, row.v[5] = hstf, row.v[6] = tf;
  row.quality() = quality;
  row.status() = kDone;
  const bool muleshoe = options_.toolFaceOffsetEnabled && options_.toolFaceOffset > 0;
  list_.setCurrentMuleshoe(muleshoe);
  if (report_.isOpen()) {
    StationLine line;
    line.station = station;
    line.file = fileNumber_;
    line.depth = row.depth();
    line.devi = devi, line.azi = azi, line.hstf = hstf, line.gyrotf = tf, line.quality = quality;
    line.hour = startTime_.hour, line.minute = startTime_.minute, line.second = startTime_.second;
    line.day = startTime_.day, line.month = startTime_.month, line.year = startTime_.year;
    line.duration = options_.stationTime;
    line.muleshoeOffset = muleshoe ? options_.toolFaceOffset : 0;
    report_.writeStation(stationLine(line));
  }
  const double hstfArg = averages_[0].angles[0] > 3.0 ? out.attitude.Hstf : 100.0;
  tools::MatrixDeltaAngleStruct reset;
  if (auto* f = family()) reset = f->ResetTARN_C_Position(out.attitude.Devi, out.attitude.Azi, hstfArg, out.attitude.Tf);
  if (report_.isOpen()) {
    RawBlock block;
    block.station = station;
    block.file = fileNumber_;
    block.first = averages_[0];
    block.second = averages_[1];
    block.latitude = std::strtod(latitudeText_.c_str(), nullptr);
    block.lastSurvey = lastSurvey_;
    const double values[5] = {reset.Total, reset.DEVI, reset.HAZI, reset.HSTF, reset.TFACE};
    std::copy(std::begin(values), std::end(values), block.reset);
    report_.writeRaw(rawBlock(block));
  }
  lastSurvey_ = "STATION";
  StationRow next = row;
  next.status() = kReady;
  next.station() = station + 1;
  if (options_.autoDepth) next.depth() = row.depth() + options_.depthIncrement;
  list_.addRow(next);
  stationButton_ = "North-Seeking";
  stationRunning_ = false;
  endStationDue_ = true;
  countdown_ = std::max(0, static_cast<int>(std::lround(options_.resetInterval * 60)));
  showCountdown();
  if (countdown_ > 0) start(kCountdown, 1000);
  changed();
}

void CTARN_C_TaskDlg::waitReturn() {
  const int s = status();
  if (s != kReadyStatus && !(s == kNoisy && noiseAccepted_)) return;
  stop({kWaitReturn});
  start(kEndStation, 1000);
}

void CTARN_C_TaskDlg::endStation() {
  stop({kEndStation});
  auto& g = globals();
  if (endStationDue_) {
    endStationDue_ = false;
    SessionEventLog::AppendStationEvent(ports_.host.sessionFolder(), static_cast<unsigned>(ports_.session.sessionNumber),
                                        g.OnlineTimeTARN, "END_STATION", last_.kind, last_.devi, last_.azi, last_.hstf,
                                        last_.tf, last_.qc, last_.pos0, last_.pos180);
    g.m_MC_NEP = ports_.tools.tools().navikor().HOUSINGaIMU(
        ports_.tools.tools().navikor().AjustePOSenMAT(g.m_fPOS, 0, Param2Matrix(g.RESSTA.attitude)));
  }
  g.TARNC_SurveyMode = 0;
  changed();
}

void CTARN_C_TaskDlg::showCountdown() {
  resetText_ = countdown_ <= 0 ? std::string("Reset !") : format("%02dm, %02ds", countdown_ / 60, countdown_ % 60);
}

bool CTARN_C_TaskDlg::writeEvent(const std::string& name) {
  return SessionEventLog::AppendSessionEvent(ports_.host.sessionFolder(),
                                             static_cast<unsigned>(ports_.session.sessionNumber),
                                             globals().OnlineTimeTARN, name);
}

// ---- continuous surveys

void CTARN_C_TaskDlg::surveyStart(bool up) {
  if (!commonChecks()) return;
  if (countdown_ == 0 && !ask(text::kResetRecommended.title, text::kResetRecommended.text, platform::Icon::Warning)) {
    return stopProcedure();
  }
  if (list_.current().quality() <= 50 && !ask(text::kLowQuality.title, text::kLowQuality.text)) return stopProcedure();
  northSeekingEnabled_ = false;
  if (auto* f = family()) f->ResetTARN_C_DriftCorrectionCounter();
  // A survey before any station opens the session's files, so its events have a log to go to;
  // the log start reports a stream that cannot be opened.
  openSessionFiles();
  writeEvent(up ? "START_SURVEYUP" : "START_SURVEYDOWN");
  if (globals().TARNC_SurveyMode == 0) {
    ports_.host.postToMain(up ? MainCommand::StartLogUp : MainCommand::StartLogDown);
  } else {
    start(up ? kSurveyUp : kSurveyDown, 100);
  }
  changed();
}

void CTARN_C_TaskDlg::stopSurvey() {
  northSeekingEnabled_ = true;
  stop({kSurveyUp, kSurveyDown});
  if (ports_.host.depthLogRunning() || ports_.host.stationLogRunning()) {
    writeEvent("STOP_SURVEY");
    lastSurvey_ = std::string(ports_.host.logUp() ? "UP" : "DOWN") + ports_.host.recordedFile().filename().string();
    ports_.host.postToMain(MainCommand::StopLogging);
    if (ask(text::kResetNow.title, text::kResetNow.text, platform::Icon::Warning)) {
      ports_.loop.post(this, kNorthSeekingButton);
    }
  }
  changed();
}

// ---- the survey report pair

bool CTARN_C_TaskDlg::openReport() {
  const auto folder = ports_.host.sessionFolder();
  if (folder.empty()) {
    tell(text::kReportFailed.title, text::kReportFailed.text, platform::Icon::Error);
    return false;
  }
  ReportHeader header;
  header.wellName = ports_.host.wellName();
  header.latitude = std::strtod(latitudeText_.c_str(), nullptr);
  header.calibrationDate = calDate_;
  header.serialNumber = calSerial_;
  header.calibrationVersion = calVersion_;
  std::filesystem::path txt;
  bool existing = false;
  std::error_code ec;
  if (uploaded_ && ask(text::kContinueUploaded.title, text::kContinueUploaded.text)) {
    txt = uploadedPath_;
    existing = true;
  } else if (!std::filesystem::exists(tarnc::reportPath(folder, 0, ".txt"), ec)) {
    txt = tarnc::reportPath(folder, 0, ".txt");
  } else {
    int i = 1;
    while (i < 1000 && std::filesystem::exists(tarnc::reportPath(folder, i, ".txt"), ec)) ++i;
    if (ask(text::kContinueExisting.title, text::kContinueExisting.text)) {
      txt = tarnc::reportPath(folder, i > 1 ? i - 1 : 0, ".txt");
      existing = true;
    } else {
      txt = tarnc::reportPath(folder, i, ".txt");
    }
  }
  if (!existing && uploaded_) list_.reset(Layout::Stations);
  const bool opened = existing ? report_.openExisting(txt) : report_.create(txt, header);
  if (!opened) {
    tell(text::kReportFailed.title, text::kReportFailed.text, platform::Icon::Error);
    return false;
  }
  // A continued report carries on its numbering.
  if (existing) loadReport(txt);
  uploaded_ = false;
  title_ = std::string(text::kPanelTitle) + " - " + txt.filename().string();
  changed();
  return true;
}

bool CTARN_C_TaskDlg::loadReport(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<LoadedStation> rows;
  bool header = false;
  const bool ok = parseSurveyReport(bytes, rows, &header);
  if (!header) return false;
  list_.reset(Layout::Stations);
  for (const auto& r : rows) {
    list_.current() = r.row;
    list_.setCurrentMuleshoe(r.muleshoe);
    // The next row starts from the last one read, as after a station.
    StationRow next = r.row;
    next.status() = kReady;
    next.station() = r.row.get(0) + 1;
    list_.addRow(next);
  }
  changed();
  return ok;
}

void CTARN_C_TaskDlg::upload() {
  platform::FileRequest request;
  request.defaultExtension = "TXT";
  request.filter = "Survey Report files (*.txt)|TARNC_SurveyReport*.txt||";
  request.initialDir = ports_.host.sessionFolder().string();
  const auto chosen = ports_.prompter.openFile(request);
  if (!chosen) return;
  if (!loadReport(*chosen)) return tell(text::kUploadFailed.title, text::kUploadFailed.text, platform::Icon::Error);
  uploaded_ = true;
  uploadedPath_ = *chosen;
  report_.close();
  changed();
}

// ---- options

bool CTARN_C_TaskDlg::acceptOptions(const SurveyOptions& o) {
  auto* f = family();
  if (auto refused = applySurveyOptions(o, {ports_.settings, globals(), f ? &f->getParameterList() : nullptr,
                                            ports_.tools.tools().navikor()})) {
    tell(text::kUntitled, refused->c_str(), platform::Icon::Warning);
    return false;
  }
  options_ = o;
  monitor_.setOffset(o.toolFaceOffset, o.hstfPlusMinus180);
  monitor_.setShown(o.toolFaceOffsetEnabled);
  refreshCalibration();
  changed();
  return true;
}

bool CTARN_C_TaskDlg::acceptFilterOptions(const FilterOptions& o) {
  if (auto refused = applyFilterOptions(o, ports_.settings, globals())) {
    tell(text::kUntitled, refused->c_str(), platform::Icon::Warning);
    return false;
  }
  filter_ = o;
  return true;
}

int CTARN_C_TaskDlg::quickKalman(FilterOptions o) {
  const int seconds = startQuickKalman(o, globals());
  start(kQuickKalman, seconds * 1000);
  return seconds;
}

// ---- timers and posted commands

void CTARN_C_TaskDlg::onTimer(int id) {
  switch (id) {
    case kRefresh: refreshStatus(); break;
    case kInitAck:
      if (status() == kTable) {
        stop({kInitAck, kInitTimeOut});
        start(kInitTable, 200);
      }
      break;
    case kInitTable:
      if (status() != kTable) {
        tableDone();
      } else if (++tableTicks_ >= kTableTicks) {
        initTimeOut();
      }
      break;
    case kInitTimeOut: initTimeOut(); break;
    case kTurnMove: turnMoveTick(); break;
    case kWaitRotation: waitRotation(); break;
    case kWaitReady: waitReady(); break;
    case kMoveTimeOut:
      stop({kMoveTimeOut, kWaitRotation, kWaitReady});
      globals().TARNC_SurveyMode = 0;
      tell(text::kMoveTimeOut.title, text::kMoveTimeOut.text);
      changed();
      break;
    case kStabilise:
      stop({kStabilise});
      ports_.loop.post(this, rollStep_     ? kRollStep
                             : axisStep_   ? kAxisStep
                             : firstHalfPending_ ? kFirstHalf
                                                 : kSecondHalf);
      break;
    case kTick0: halfTick(true); break;
    case kTick180: halfTick(false); break;
    case kResend180:
    case kResend0:
    case kResend90:
    case kResend270:
      if (--resend_ <= 0) stop({id});
      send(id == kResend180 ? kTo180 : id == kResend0 ? kTo0 : id == kResend90 ? kTo90 : kTo270);
      break;
    case kWaitReturn: waitReturn(); break;
    case kEndStation: endStation(); break;
    case kCountdown:
      if (--countdown_ <= 0) {
        countdown_ = 0;
        stop({kCountdown});
      }
      showCountdown();
      changed();
      break;
    case kSurveyUp:
    case kSurveyDown:
      if (globals().TARNC_SurveyMode == 0) {
        stop({id});
        ports_.host.postToMain(id == kSurveyUp ? MainCommand::StartLogUp : MainCommand::StartLogDown);
      }
      break;
    case kQuickKalman:
      stop({kQuickKalman});
      globals().Kalman_Pause = 1;
      break;
    case kAxisTick: procedureTick(RollKind::AxisCorrection); break;
    default:
      if (id >= kRollTick1 && id <= kRollTick8) procedureTick(RollKind::RollTest);
      break;
  }
}

void CTARN_C_TaskDlg::onCommand(int command, std::int64_t) {
  switch (command) {
    case kFirstHalf: halfStart(true); break;
    case kSecondHalf: halfStart(false); break;
    case kProcess: processStation(); break;
    case kTurnStep: turnStep(); break;
    case kNorthSeekingButton: northSeeking(); break;
    case kRollStep: procedureStep(RollKind::RollTest); break;
    case kAxisStep: procedureStep(RollKind::AxisCorrection); break;
    case kRollEnd: procedureEnd(RollKind::RollTest); break;
    case kAxisEnd: procedureEnd(RollKind::AxisCorrection); break;
    default: break;
  }
}

}  // namespace kvr::tarnc
