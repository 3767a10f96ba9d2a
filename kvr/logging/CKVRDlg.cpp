#include "kvr/logging/CKVRDlg.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/datafile/FileMessages.h"
#include "common/records/SystemMode.h"
#include "kvr/logging/LoggingMessages.h"
#include "kvr/logging/StaticData.h"

namespace kvr {

namespace {
constexpr std::uint8_t kPanelEnglishBit = 0x20;
constexpr std::uint8_t kTarnCode = 220;
constexpr std::uint8_t kTarnCCode = 227;
}  // namespace

CKVRDlg::CKVRDlg(LoggingParts parts, LoggingHooks hooks) : parts_(parts), hooks_(std::move(hooks)) {
  rateTimeMs_ = parts_.clock.nowMs();
}

CKVRDlg::~CKVRDlg() {
  parts_.acquisition.stop(parts_.flags);
  parts_.loop.forget(this);
}

bool CKVRDlg::refuse(const char* title, const char* text) {
  platform::tell(parts_.prompter, title, text, platform::Icon::Warning);
  return false;
}

void CKVRDlg::menuChanged() {
  if (hooks_.menuChanged) hooks_.menuChanged();
}

bool CKVRDlg::unitsMatchPanel() {
  const bool panelEnglish = (tools_().panelStatus() & kPanelEnglishBit) != 0;
  const std::int32_t word = parts_.program.modeWord;
  if (panelEnglish && !records::isEnglish(word)) return refuse(msg::kPanelEnglish.title, msg::kPanelEnglish.text);
  if (!panelEnglish && (word & records::kModeMetric) == 0) {
    return refuse(msg::kPanelMetric.title, msg::kPanelMetric.text);
  }
  return true;
}

// Sections 1 to 6 after the output file was created; 0, or -1 after any failed write.
int CKVRDlg::writeStaticData(std::uint8_t direction) {
  auto& table = parts_.program.systemParameters;
  const auto now = parts_.clock.localTime();
  records::LogStartStamp stamp;
  stamp.hour = static_cast<float>(now.hour);
  stamp.minute = static_cast<float>(now.minute);
  stamp.second = static_cast<float>(now.second);
  stamp.day = static_cast<float>(now.day);
  stamp.month = static_cast<float>(now.month);
  stamp.year = static_cast<float>(now.year);
  stamp.depth = static_cast<float>(tools_().currentDepth());
  records::putStartStamp(table[records::kSimStartDepth], stamp);
  table[records::kSvyMode].value = static_cast<float>(parts_.program.modeWord);
  return kvr::writeStaticData(parts_.files, tools_(), direction, table, parts_.session.job(),
                              [this](const records::ToolEntry& t) {
                                if (t.code() == kTarnCCode && hooks_.openTarnCDataFile &&
                                    !hooks_.openTarnCDataFile(t.code())) {
                                  platform::tell(parts_.prompter, msg::kTarnCDataFile.title, msg::kTarnCDataFile.text,
                                                 platform::Icon::Error);
                                }
                              });
}

bool CKVRDlg::startLog(std::uint8_t direction, bool station) {
  if (!parts_.telemetry.telemetryActive()) return refuse(msg::kNoTelemetry.title, msg::kNoTelemetry.text);
  if (hooks_.presentationEditorOpen && hooks_.presentationEditorOpen()) {
    return refuse(msg::kEditorOpen.title, msg::kEditorOpen.text);
  }
  if (!unitsMatchPanel()) return false;

  auto& files = parts_.files;
  const auto& folder = parts_.session.sessionFolder();
  const int created = files.createNumberedOutput(folder, CFileManager::logFileName(tools_().toolList(), direction, false));
  if (created != 0) {
    show(parts_.prompter, created == CFileManager::kCounterUnwritable ? kCounterWriteFailed : kCreateOutputFailed);
    return false;
  }
  outputFile_ = files.lastFilePath();
  if (writeStaticData(direction) != 0) {
    // The incomplete file stays on disk; no log runs.
    files.closeOutput();
    show(parts_.prompter, kStaticWriteFailed);
    return false;
  }

  auto& table = parts_.program.systemParameters;
  const bool english = records::isEnglish(parts_.program.modeWord);
  double simStart = tools_().simulatedDepth();
  if (!station && table[records::kSimDepth].value == 1.0f) {
    simStart = table[records::kSimStartDepth].value;
  }
  const double simStep = records::simulatedStepPerFrame(table[records::kSimSpeed].value, english);
  const bool simOn = !station && table[records::kSimDepth].selectedChoice == 1;

  auto& ring = tools_().ring();
  ring.setDisplayed(ring.write());
  ring.setFlushed(ring.write());
  tools_().setModeWord(parts_.program.modeWord);
  tools_().startLog(static_cast<LogDirection>(direction), simOn, simStart, simStep);
  rowsToDraw_ = 0;
  if (display_) display_->startLog(direction);
  lastRowMs_ = parts_.clock.nowMs();
  lastRowDepth_ = tools_().currentDepth();
  lastRowFrames_ = parts_.port.goodFrames();
  noRowTold_ = false;
  if (hooks_.logStarted) hooks_.logStarted(direction, station);
  parts_.menu.onLogStarted();
  menuChanged();
  parts_.loop.post(this, kStartFlush);
  return true;
}

void CKVRDlg::stopLogging() {
  if (!logRunning()) return;
  parts_.loop.stopTimer(this, kFlushTimer);
  tools_().stopLog();
  // Rows still waiting for the display are drawn before the display ends.
  rowsAdded();
  drawPendingRows();
  if (parts_.files.closeOutput(tools_().ring()) != 0) {
    ++flushFailures_;
    show(parts_.prompter, kFlushFailed);
  }
  if (display_) display_->endLog();
  for (const auto& t : tools_().toolList()) {
    if (t.isTool() && (t.code() == kTarnCode || t.code() == kTarnCCode) && hooks_.closeToolDataFile) {
      hooks_.closeToolDataFile(t.code());
    }
  }
  if (hooks_.logStopped) hooks_.logStopped();
  parts_.menu.onLogStopped();
  menuChanged();
}

bool CKVRDlg::startTelemetry() {
  // The frame dispatch would write into the ring a playback is replaying from.
  if (playbackRunning_) return false;
  if (!parts_.telemetry.StartTelemetry()) return false;
  parts_.menu.onTelemetryStarted();
  menuChanged();
  return true;
}

bool CKVRDlg::stopTelemetry() {
  if (!parts_.telemetry.StopTelemetry()) return false;
  parts_.acquisition.stop(parts_.flags);
  parts_.menu.onTelemetryStopped();
  menuChanged();
  return true;
}

bool CKVRDlg::closeRequest() {
  if (logRunning()) {
    platform::tell(parts_.prompter, msg::kCannotCloseWhileLogging.title, msg::kCannotCloseWhileLogging.text,
                   platform::Icon::Error);
    return false;
  }
  if (parts_.prompter.ask({msg::kQuitQuestion.title, msg::kQuitQuestion.text, platform::Buttons::YesNo,
                           platform::Icon::Question}) != platform::Answer::Yes) {
    return false;
  }
  parts_.acquisition.stop(parts_.flags);
  if (hooks_.destroyTaskPanels) hooks_.destroyTaskPanels();
  tools_().freeToolsMemory();
  parts_.program.rawTelemetryLog.reset();
  parts_.port.setRawLog(nullptr);
  parts_.port.Break();
  parts_.port.Close();
  parts_.loop.forget(this);
  if (hooks_.quit) hooks_.quit();
  return true;
}

void CKVRDlg::onTimer(int timerId) {
  if (timerId == kFlushTimer) flush();
}

void CKVRDlg::onCommand(int command, std::int64_t) {
  switch (command) {
    case kFrameTick: frameTick(); break;
    case kRowsAdded: rowsAdded(); if (rowsToDraw_ > 0) parts_.loop.post(this, kDrawRow); break;
    case kDrawRow: drawRow(); break;
    case kStartFlush: parts_.loop.startTimer(this, kFlushTimer, kFlushPeriodMs); break;
    case kPlaybackBlock:
      if (playbackRunning_ && nextPlaybackBlock_) nextPlaybackBlock_();
      break;
    default: break;
  }
}

void CKVRDlg::status(const std::string& text) {
  if (hooks_.statusText) hooks_.statusText(text);
}

void CKVRDlg::watchRows(bool rowKept) {
  if (!logRunning()) return;
  const std::int64_t now = parts_.clock.nowMs();
  if (rowKept) {
    if (noRowTold_) status("Rows are being recorded again");
    lastRowMs_ = now;
    lastRowDepth_ = tools_().currentDepth();
    lastRowFrames_ = parts_.port.goodFrames();
    noRowTold_ = false;
    return;
  }
  if (noRowTold_ || now - lastRowMs_ < kNoRowMs) return;
  noRowTold_ = true;
  const double moved = tools_().currentDepth() - lastRowDepth_;
  const bool up = tools_().direction() == kLogUp;
  std::string why;
  if (parts_.port.goodFrames() == lastRowFrames_) {
    why = "no telemetry frame has arrived from the panel";
  } else if (up && moved >= 0) {
    why = "a log up keeps a row each time the tool comes up one depth step, and the depth is not going up";
  } else if (!up && moved <= 0) {
    why = "a log down keeps a row each time the tool goes down one depth step, and the depth is not going down";
  } else {
    why = "the tool has not travelled one depth step";
  }
  char depth[32];
  std::snprintf(depth, sizeof depth, "%.2f", tools_().currentDepth());
  status("No row recorded for 10 s: " + why + " (depth " + depth + ")");
}

void CKVRDlg::frameTick() {
  parts_.port.setParsing(true);
  const bool found = parts_.port.Parse();
  bool rowKept = false;
  if (found && parts_.port.goodFrames() != lastGoodFrames_) {
    lastGoodFrames_ = parts_.port.goodFrames();
    DispatchResult r = tools_().dispatchFrames();
    if (hooks_.framesDispatched) hooks_.framesDispatched();
    rowKept = r.rowsAdded > 0;
    updateCounters();
    if (r.rowsToDraw) parts_.loop.post(this, kRowsAdded);
  } else if (parts_.port.frameErrors() != counters_.frameErrors || parts_.port.crcErrors() != counters_.crcErrors) {
    updateCounters();
  }
  parts_.port.setParsing(false);
  watchRows(rowKept);
}

void CKVRDlg::updateCounters() {
  counters_.goodFrames = parts_.port.goodFrames();
  counters_.frameErrors = parts_.port.frameErrors();
  counters_.crcErrors = parts_.port.crcErrors();
  counters_.readCycles = parts_.flags.readCycles.load();
  if (++counterUpdates_ % 30 == 0) {
    const std::int64_t now = parts_.clock.nowMs();
    const std::int64_t seconds = (now - rateTimeMs_) / 1000;
    // Under a second since the last rate there is nothing to divide by: keep the last rate.
    if (seconds > 0) {
      const double frames = std::fabs(static_cast<double>(counters_.goodFrames) - static_cast<double>(rateFrames_));
      char text[32];
      std::snprintf(text, sizeof text, "%.2f", frames / static_cast<double>(seconds));
      counters_.frameRate = text;
      rateTimeMs_ = now;
      rateFrames_ = counters_.goodFrames;
    }
  }
  if (hooks_.countersChanged) hooks_.countersChanged();
}

void CKVRDlg::rowsAdded() {
  const auto& ring = tools_().ring();
  if (ring.rowWidth() == 0) return;
  rowsToDraw_ = static_cast<std::uint32_t>(ring.distance(ring.displayed(), ring.write()) / ring.rowWidth());
}

void CKVRDlg::drawRow() {
  auto& ring = tools_().ring();
  if (rowsToDraw_ == 0 || ring.rowWidth() == 0) {
    if (playbackRunning_) parts_.loop.post(this, kPlaybackBlock);
    return;
  }
  if (display_) display_->drawRow(ring.data() + ring.displayed(), ring.rowWidth());
  ++rowsDrawn_;
  ring.setDisplayed(ring.advance(ring.displayed(), ring.rowWidth()));
  if (--rowsToDraw_ > 0) {
    parts_.loop.post(this, kDrawRow);
  } else if (playbackRunning_) {
    parts_.loop.post(this, kPlaybackBlock);
  }
}

void CKVRDlg::drawPendingRows() {
  while (rowsToDraw_ > 0) drawRow();
}

void CKVRDlg::beginPlayback(std::uint8_t direction, const std::filesystem::path& output) {
  outputFile_ = output;
  rowsToDraw_ = 0;
  playbackRunning_ = true;
  if (display_) display_->startLog(direction);
  parts_.loop.post(this, kPlaybackBlock);
}

void CKVRDlg::drawPlaybackRows(std::uint32_t rows) {
  rowsToDraw_ = rows;
  parts_.loop.post(this, kDrawRow);
}

void CKVRDlg::endPlayback() {
  if (!playbackRunning_) return;
  // Cleared first, so the last row drawn asks for no further block.
  playbackRunning_ = false;
  drawPendingRows();
  if (display_) display_->endLog();
}

void CKVRDlg::flush() {
  if (parts_.files.flushRows(tools_().ring()) != 0) {
    ++flushFailures_;
    show(parts_.prompter, kFlushFailed);
  }
}

}  // namespace kvr
