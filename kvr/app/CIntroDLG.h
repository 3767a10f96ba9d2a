#pragma once
// The splash: product name, "Version:" and the version text; it closes itself after 2 s.

#include <functional>
#include <string>

#include "platform/EventLoop.h"

namespace kvr {

class CIntroDLG final : public platform::EventTarget {
 public:
  static constexpr int kCloseTimer = 100;
  static constexpr int kShowMs = 2000;

  CIntroDLG(platform::EventLoop& loop, std::function<void()> close) : loop_(loop), close_(std::move(close)) {}
  ~CIntroDLG() override { loop_.forget(this); }

  void open() { loop_.startTimer(this, kCloseTimer, kShowMs); }
  static std::string versionLine(const std::string& version) { return "Version: " + version; }

  void onTimer(int timerId) override {
    if (timerId != kCloseTimer) return;
    loop_.stopTimer(this, kCloseTimer);
    if (close_) close_();
  }
  void onCommand(int, std::int64_t) override {}

 private:
  platform::EventLoop& loop_;
  std::function<void()> close_;
};

}  // namespace kvr
