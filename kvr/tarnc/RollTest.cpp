// The roll test and the axis correction of the TARN-C task panel: eight measurements of the
// horizontal tool with the panel's averaging and move-settle-stabilise cycle, the operator
// guided by prompts, then the graded report. The tool points EAST for measurements 1-4 and
// WEST for 5-8 of a roll test; an axis correction turns it by hand to 0, 90, 180 and 270
// degrees and takes indexer positions 0 and 180 at each.
#include <cmath>
#include <cstdlib>

#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "kvr/tarnc/RollTestTexts.h"
#include "platform/TextFormat.h"

namespace kvr::tarnc {

namespace {

constexpr double kRollPosition[8] = {0, 90, 180, 270, 0, 90, 180, 270};
constexpr double kAxisPosition[8] = {0, 0, 90, 90, 180, 180, 270, 270};

const text::ProcedureTexts& textsOf(RollKind kind) {
  return kind == RollKind::RollTest ? text::kRollTest : text::kAxisCorrection;
}

// Measurement k (1-8) of each procedure has its own averaging window after the station's two.
std::size_t averageOf(RollKind kind, int k) {
  return static_cast<std::size_t>((kind == RollKind::RollTest ? 2 : 10) + k - 1);
}

double positionOf(RollKind kind, int k) {
  return (kind == RollKind::RollTest ? kRollPosition : kAxisPosition)[k - 1];
}

// The indexer move after measurement k.
std::uint8_t moveAfter(RollKind kind, int k) {
  if (kind == RollKind::AxisCorrection) return k % 2 ? CTARN_C_TaskDlg::kTo180 : CTARN_C_TaskDlg::kTo0;
  static constexpr std::uint8_t kRoll[4] = {CTARN_C_TaskDlg::kTo90, CTARN_C_TaskDlg::kTo180, CTARN_C_TaskDlg::kTo270,
                                            CTARN_C_TaskDlg::kTo0};
  return kRoll[(k - 1) % 4];
}

int resendTimerOf(std::uint8_t code) {
  switch (code) {
    case CTARN_C_TaskDlg::kTo90: return CTARN_C_TaskDlg::kResend90;
    case CTARN_C_TaskDlg::kTo180: return CTARN_C_TaskDlg::kResend180;
    case CTARN_C_TaskDlg::kTo270: return CTARN_C_TaskDlg::kResend270;
    default: return CTARN_C_TaskDlg::kResend0;
  }
}

RollMeasurement measurementOf(const PositionAverage& a) {
  return {a.rawRates[0], a.rawRates[1], a.angles[0], a.angles[2], a.temps[3], a.temps[4]};
}

}  // namespace

void CTARN_C_TaskDlg::stopRollProcedures() {
  rollStep_ = axisStep_ = 0;
  rollButton_ = text::kRollTest.idleButton;
  axisButton_ = text::kAxisCorrection.idleButton;
}

// The station log the panel started for the measurement just taken gives the measurement its
// number; a log the logging controller refused leaves -1.
void CTARN_C_TaskDlg::closeProcedureLog() {
  if (fileNumber_ == -1) return;
  fileNumber_ = ports_.host.stationLogRunning() ? recordedFileNumber() : -1;
  if (fileNumber_ >= 0) ports_.host.postToMain(MainCommand::StopLogging);
}

// The current row shows measurement k done; a new row waits for the next one.
void CTARN_C_TaskDlg::finishProcedureRow(RollKind kind, int k) {
  const PositionAverage& a = averages_[averageOf(kind, k)];
  auto& row = list_.current();
  row.status() = kDone;
  row.file() = fileNumber_;
  row.v[2] = positionOf(kind, k);
  row.v[3] = a.rawRates[0], row.v[4] = a.rawRates[1];
  row.v[5] = a.rawAcc[0], row.v[6] = a.rawAcc[1], row.v[7] = a.rawAcc[2];
  StationRow next;
  next.station() = row.station() + 1;
  next.v[2] = -99999;  // shown "..."
  next.status() = kReady;
  list_.addRow(next);
}

void CTARN_C_TaskDlg::procedureButton(RollKind kind) {
  const auto& t = textsOf(kind);
  if (!ports_.host.telemetryRunning()) return tell(t.noTelemetry.title, t.noTelemetry.text);
  if (calStatus_ != "Loaded" && !ask(t.noCalibration.title, t.noCalibration.text)) return;
  if (stationRunning_ || rollStep_ || axisStep_) {
    if (ask(text::kCancelProcedure.title, text::kCancelProcedure.text)) stopProcedure();
    changed();
    return;
  }
  if (status() != tools::wire::tarnc::kReady) return tell(t.notReady.title, t.notReady.text);
  ticks_ = 0;
  globals().TARNC_SurveyMode = 1;
  stepOf(kind) = 0;
  if (options_.createStationFiles && (ports_.host.depthLogRunning() || ports_.host.stationLogRunning())) {
    ports_.host.postToMain(MainCommand::StopLogging);
  }
  fileNumber_ = -1;
  (kind == RollKind::RollTest ? rollButton_ : axisButton_) = t.runningButton;
  stop({kRefresh});
  target_ = static_cast<int>(std::lround(options_.stationTime));
  list_.reset(Layout::RollTest);
  returning_ = false;
  noiseAccepted_ = false;
  procedureStep(kind);
}

void CTARN_C_TaskDlg::procedureStep(RollKind kind) {
  const int s = stepOf(kind);
  ticks_ = 0;
  stationRunning_ = true;
  closeProcedureLog();
  if (s > 0) finishProcedureRow(kind, s);
  changed();
  if (options_.createStationFiles) {
    ports_.host.postToMain(MainCommand::StationLog);
    fileNumber_ = kPendingFile;
  }
  std::string prompt;
  if (kind == RollKind::RollTest && s == 0) {
    prompt = text::kPointEast;
  } else if (kind == RollKind::RollTest && s == 4) {
    prompt = platform::format(text::kPointWest, static_cast<double>(averages_[averageOf(kind, 1)].angles[2]));
  } else if (kind == RollKind::AxisCorrection && s % 2 == 0) {
    prompt = platform::format(text::kRotateTo, 45 * s);
  }
  if (!prompt.empty()) tell(text::kPromptTitle, prompt.c_str(), platform::Icon::Information);
  // The prompt may have been answered after a Stop (window timers run under it).
  if (!stationRunning_) return;
  averager_.reset(ports_.tools.ring(), ports_.tools.channels(), rawLog_);
  start(kind == RollKind::RollTest ? kRollTick1 + s : kAxisTick, 500);
  stepOf(kind) = s + 1;
  progressShown_ = true;
  list_.current().status() = kAcquiring0;
  changed();
}

void CTARN_C_TaskDlg::procedureTick(RollKind kind) {
  const int k = stepOf(kind);
  ++ticks_;
  returning_ = false;
  averager_.accumulate(ports_.tools.ring(), rawLog_);
  if (ticks_ < target_) return changed();
  refreshRunning();
  stop({kind == RollKind::RollTest ? kRollTick1 + k - 1 : kAxisTick});
  if (!averager_.finish(averages_[averageOf(kind, k)], globals().TARNC_AnglePos, rawLog_)) return failStation();
  resend_ = 2;
  start(kWaitRotation, 200);
  const std::uint8_t code = moveAfter(kind, k);
  start(resendTimerOf(code), 5000);
  send(code);
  if (k == 8) {
    returning_ = true;
    ports_.loop.post(this, kind == RollKind::RollTest ? kRollEnd : kAxisEnd);
  }
  changed();
}

void CTARN_C_TaskDlg::procedureEnd(RollKind kind) {
  closeProcedureLog();
  (kind == RollKind::RollTest ? rollButton_ : axisButton_) = textsOf(kind).idleButton;
  stationRunning_ = false;
  stepOf(kind) = 0;
  progressShown_ = false;
  finishProcedureRow(kind, 8);
  changed();
  writeProcedureReport(kind);
}

void CTARN_C_TaskDlg::writeProcedureReport(RollKind kind) {
  RollInput in;
  in.kind = kind;
  in.latitude = std::strtod(latitudeText_.c_str(), nullptr);
  in.calibrationDate = calDate_;
  in.serialNumber = calSerial_;
  in.calibrationVersion = calVersion_;
  in.stationTime = options_.stationTime;
  for (int k = 1; k <= 8; ++k) in.m[static_cast<std::size_t>(k - 1)] = measurementOf(averages_[averageOf(kind, k)]);
  if (auto* f = family()) {
    const double t1 = rollT1(in.m), t2 = rollT2(in.m);
    const auto offset = f->GetCorrected_TARNC_Gyro_Offset(t1, t2);
    const auto gain = f->GetCorrected_TARNC_Gyro_Gain(t1, t2);
    const auto drift = f->GetCorrected_TARNC_Gyro_Gravity_Coeficients(t1, t2);
    in.expected = {offset.X, offset.Y, gain.X, gain.Y, drift.Gx[0], drift.Gx[1], drift.Gy[0], drift.Gy[1]};
  }
  // Without job data there is no session folder: nothing is written beside the program.
  const auto folder = ports_.host.sessionFolder();
  const auto path = folder.empty() ? folder : nextRollReportPath(folder, kind);
  if (path.empty() || !writeRollReport(path, rollReportText(in))) {
    // Nothing was written, so the question that offers to show it is not asked.
    return tell(text::kRollReportFailed.title, text::kRollReportFailed.text, platform::Icon::Error);
  }
  procedureReport_ = path;
  if (ask(text::kRollDone.title, text::kRollDone.text, platform::Icon::Information) && viewer_) viewer_(path);
}

}  // namespace kvr::tarnc
