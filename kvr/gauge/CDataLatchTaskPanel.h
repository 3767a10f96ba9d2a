#pragma once
// The "Data Latch Manager" panel of the VUNT memory gauge without its window: the status
// line and readouts from the VUNT globals (timer 100), the connect sequence (timers 101 and
// 102, command 130), erase with GO, new job and check recording (timers 105, 106, 109, 110),
// and the page transfer the download asks for (commands 121-124 and 131, timers 103, 104,
// 107 and 108). Every command goes to the gauge as a downhole message.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "toolslib/Globals.h"

namespace kvr::gauge {

struct GaugePorts {
  platform::EventLoop& loop;
  platform::Prompter& prompter;
  tools::Globals& globals;
  // The downhole message [3, 240, 0, code] or [5, 240, 0, 0x68, page high, page low].
  std::function<bool(const std::vector<std::uint8_t>&)> send;
};

using platform::rgb;

struct StatusLine {
  std::string text;
  platform::Colour colour = rgb(0, 255, 0);
};

class CDataLatchTaskPanel final : public platform::EventTarget {
 public:
  enum Timer : int { kStatusTimer = 100, kConnectTimer, kProgressTimer, kHalfATimer, kHalfBTimer, kEraseTimer,
                     kGoTimer, kHalfPauseTimer, kPagePauseTimer, kCheckTimer, kNewJobTimer };
  enum Command : int { kFirstPage = 121, kNextPage, kRequestHalfB, kHalfAAgain, kSendGo, kConnectStep = 130,
                       kPageAgain };
  // Commands 121 and 131 carry this parameter when a retry posts them.
  static constexpr std::int64_t kRetry = 1;
  static constexpr int kMaxRetries = 10;

  // Starts at once, as a panel made for a new string.
  explicit CDataLatchTaskPanel(GaugePorts ports);
  ~CDataLatchTaskPanel() override;
  // As made anew: the controls' first texts, every sequence stopped, the status timer running.
  void start();
  // Every timer and queued command stopped (the string that had the gauge is gone).
  void stop();

  // The buttons.
  void connect();
  void online();
  void ping();
  void eraseJobs();
  void newJob();
  void checkRecording();

  const StatusLine& status() const { return status_; }
  const std::string& pressureText() const { return pressure_; }
  const std::string& temperatureText() const { return temperature_; }
  int progress() const { return progress_; }
  bool frameSkipped() const { return frameSkip_; }
  bool retrying() const { return retrying_; }

  // The download's side of the page transfer.
  void requestFirstPage(std::uint16_t jobStartPage);
  void requestNextPage();
  void setFirstPageDone() { firstPage_ = 1; }
  bool pageComplete() const { return pageComplete_; }
  bool transferFailed() const { return transferFailed_; }
  // Told when the page became complete or its transfer failed.
  void setPageListener(std::function<void()> listener) { pageListener_ = std::move(listener); }

  tools::Globals& globals() { return ports_.globals; }
  platform::Prompter& prompter() { return ports_.prompter; }
  platform::EventLoop& loop() { return ports_.loop; }

  // Step 9 of the connect sequence shows "Memory Gauge Status".
  void setStatusDialog(std::function<void()> show) { showStatus_ = std::move(show); }
  // After the status line, a readout or the progress bar changed.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void onTimer(int timerId) override;
  void onCommand(int command, std::int64_t param) override;

 private:
  void refreshStatus();
  void runConnectStep();
  void connectTick();
  void progressTick();
  void send(std::uint8_t code);
  void sendPage(std::uint16_t page);
  void waitAck(Timer timer);
  void sendAndWait(std::uint8_t code, Timer timer);
  void confirmThenSend(const char* question, std::uint8_t code, Timer timer);
  void ackTick(Timer timer);
  void halfTick(bool halfB);
  void pageRequest(int command, std::int64_t param);
  void show(const char* title, const char* text);
  void notifyPage();
  void changed();

  GaugePorts ports_;
  StatusLine status_;
  std::string pressure_ = "14.70", temperature_ = "25.0";
  int progress_ = 0;
  int stage_ = 0;      // the next step of the connect sequence
  int running_ = 0;    // the step being waited on
  int ticks_ = 0;
  int retries_ = 0;
  bool retrying_ = false;
  int firstPage_ = 0;
  std::uint16_t jobStartPage_ = 0;
  std::uint16_t currentPage_ = 0;
  bool pageComplete_ = false;
  bool transferFailed_ = false;
  bool frameSkip_ = false;
  std::function<void()> pageListener_, showStatus_, changed_;
};

}  // namespace kvr::gauge
