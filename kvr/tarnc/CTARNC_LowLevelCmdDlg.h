#pragma once
// The "Low Level Commands Terminal" of the TARN-C tool without its window: the chosen
// command, its help text, the values box and the "Current Status" line; "Send to Tool"
// checks the values, sends the command as a downhole message and watches the TOOLS globals
// on 200 ms timers for the tool's answer.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/EventLoop.h"
#include "platform/Prompter.h"
#include "toolslib/Globals.h"

namespace kvr::tarnc {

struct TerminalPorts {
  platform::EventLoop& loop;
  platform::Prompter& prompter;
  tools::Globals& globals;
  // The task panel's downhole-command send: the whole message [n + 2, 227, 0, payload].
  std::function<bool(const std::vector<std::uint8_t>&)> send;
};

class CTARNC_LowLevelCmdDlg final : public platform::EventTarget {
 public:
  static constexpr int kCommands = 18;
  enum Timer : int { kAckTimer = 1, kTableTimer, kPositionReadTimer, kPositionDataTimer, kImuReadTimer,
                     kImuTableTimer, kImuDetectionTimer };
  static constexpr int kTickMs = 200;
  static constexpr int kTries = 5;

  explicit CTARNC_LowLevelCmdDlg(TerminalPorts ports);
  ~CTARNC_LowLevelCmdDlg() override;

  // Choosing a command shows its help text and clears the status line and the values box.
  void choose(int command);
  void setValues(std::string text) { values_ = std::move(text); }
  void sendToTool();

  int command() const { return command_; }
  const std::string& help() const { return help_; }
  const std::string& status() const { return status_; }
  const std::string& values() const { return values_; }
  // Called after the status line or the values box changed.
  void setChanged(std::function<void()> changed) { changed_ = std::move(changed); }

  void onTimer(int timerId) override;
  void onCommand(int, std::int64_t) override {}

 private:
  bool refuse(const char* text);
  void sendPayload(const std::vector<std::uint8_t>& payload);
  void watchAck(const std::vector<std::uint8_t>& payload);
  void watchRead(std::uint8_t code, Timer timer);
  void show(std::string text);
  void stopAll();
  void sendTablePart();

  TerminalPorts ports_;
  int command_ = 0;
  std::string help_, status_, values_;
  int tries_ = 0;
  int chunksLeft_ = 0;
  std::uint8_t readCode_ = 0;
  std::vector<std::vector<std::uint8_t>> parts_;
  std::function<void()> changed_;
};

}  // namespace kvr::tarnc
