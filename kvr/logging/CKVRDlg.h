#pragma once
// The logging controller: starts and stops logs, runs the acquisition pipeline (acquisition
// reads -> frame parser -> frame dispatch -> sample ring -> data file and log display), shows
// the telemetry counters and decides when the program may quit. It never shows a window: it
// talks to its ports and exposes its state for the main window.

#include <cstdint>
#include <functional>
#include <string>

#include "common/datafile/CFileManager.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/MainMenu.h"
#include "kvr/core/ProgramSettings.h"
#include "kvr/core/Session.h"
#include "kvr/link/TeleManager.h"
#include "kvr/logging/AcquisitionDriver.h"
#include "kvr/logging/LogDisplaySink.h"
#include "platform/Clock.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"

namespace kvr {

// The parts the controller drives; all outlive it.
struct LoggingParts {
  platform::EventLoop& loop;
  platform::Clock& clock;
  platform::Prompter& prompter;
  ProgramSettings& program;
  Session& session;
  CToolManager& tools;
  CFileManager& files;
  PPort& port;
  TeleManager& telemetry;
  AcquisitionFlags& flags;
  MainMenu& menu;
  AcquisitionDriver& acquisition;
};

// What the controller tells the program around it; every hook may stay empty.
struct LoggingHooks {
  std::function<bool()> presentationEditorOpen;
  std::function<void()> countersChanged;    // the status box
  std::function<void()> framesDispatched;   // after each batch of frames (the monitors)
  std::function<void()> menuChanged;
  std::function<bool(std::uint8_t code)> openTarnCDataFile;  // false: the file could not be opened
  std::function<void(std::uint8_t code)> closeToolDataFile;  // TARN raw data, TARN-C continuous data
  std::function<void()> destroyTaskPanels;
  std::function<void()> quit;               // post the quit message
  std::function<void(std::uint8_t direction, bool station)> logStarted;
  std::function<void()> logStopped;
  std::function<void(const std::string&)> statusText;  // the status line
};

struct TelemetryCounters {
  std::uint32_t goodFrames = 0;
  std::uint32_t frameErrors = 0;
  std::uint32_t crcErrors = 0;
  std::uint32_t readCycles = 0;
  std::string frameRate = "0.00";
};

class CKVRDlg final : public platform::EventTarget {
 public:
  static constexpr int kFlushTimer = 2;
  static constexpr int kFlushPeriodMs = 5000;
  // A log that keeps no row this long says why in the status line.
  static constexpr std::int64_t kNoRowMs = 10000;
  enum Command : int { kDrawRow = 103, kStartFlush = 108, kRowsAdded = 109, kPlaybackBlock = 111, kFrameTick = 113 };

  CKVRDlg(LoggingParts parts, LoggingHooks hooks = {});
  ~CKVRDlg() override;

  // "Start Log &UP" (1, false), "Start Log &DOWN" (0, false), "S&tation Log" (2, true).
  bool startLog(std::uint8_t direction, bool station);
  void stopLogging();
  // "&Start Telemetry" / "S&top Telemetry" with their menu rows.
  bool startTelemetry();
  bool stopTelemetry();
  // The window's close request; true when the program quits.
  bool closeRequest();

  void setDisplay(LogDisplaySink* display) { display_ = display; }

  // --- playback: the same row display as a log, fed block by block ---
  // Command 111 (all rows of a block drawn) calls this.
  void setPlaybackHandler(std::function<void()> nextBlock) { nextPlaybackBlock_ = std::move(nextBlock); }
  // Starts the log display for the file's direction and posts 111 for the first block;
  // `output` names the chart data files (the output file, or "Not Created").
  void beginPlayback(std::uint8_t direction, const std::filesystem::path& output);
  // The rows of the ring from its display position, one per command 103, then 111.
  void drawPlaybackRows(std::uint32_t rows);
  // Draws the rows still waiting and ends the log display.
  void endPlayback();
  bool playbackRunning() const { return playbackRunning_; }

  bool depthLogRunning() const { return tools_().depthLogRunning(); }
  bool stationLogRunning() const { return tools_().stationLogRunning(); }
  bool logRunning() const { return depthLogRunning() || stationLogRunning(); }
  const TelemetryCounters& counters() const { return counters_; }
  const std::filesystem::path& outputFile() const { return outputFile_; }
  std::uint64_t rowsDrawn() const { return rowsDrawn_; }
  int flushFailures() const { return flushFailures_; }

  void onTimer(int timerId) override;
  void onCommand(int command, std::int64_t param) override;

 private:
  CToolManager& tools_() const { return parts_.tools; }
  bool refuse(const char* title, const char* text);
  bool unitsMatchPanel();
  int writeStaticData(std::uint8_t direction);
  void frameTick();
  void updateCounters();
  void rowsAdded();
  void drawRow();
  void drawPendingRows();
  void flush();
  void menuChanged();
  void watchRows(bool rowKept);
  void status(const std::string& text);

  LoggingParts parts_;
  LoggingHooks hooks_;
  LogDisplaySink* display_ = nullptr;
  TelemetryCounters counters_;
  std::uint32_t lastGoodFrames_ = 0;
  std::uint32_t rowsToDraw_ = 0;
  std::uint64_t rowsDrawn_ = 0;
  int counterUpdates_ = 0;
  std::int64_t rateTimeMs_ = 0;
  std::uint32_t rateFrames_ = 0;
  int flushFailures_ = 0;
  bool playbackRunning_ = false;
  std::function<void()> nextPlaybackBlock_;
  std::filesystem::path outputFile_;
  // The no-row watch of the running log.
  std::int64_t lastRowMs_ = 0;
  double lastRowDepth_ = 0;
  std::uint32_t lastRowFrames_ = 0;
  bool noRowTold_ = false;
};

}  // namespace kvr
