#pragma once
// Runs the acquisition reads: on a thread of its own with the real clock, or from a 250 ms
// timer of the event loop under virtual time. Either way a read that brought bytes posts
// command 113 to the logging controller.

#include <memory>
#include <thread>

#include "kvr/link/Acquisition.h"
#include "platform/EventLoop.h"

namespace kvr {

inline constexpr int kFrameTickCommand = 113;

class AcquisitionDriver {
 public:
  virtual ~AcquisitionDriver() = default;
  // Starts reading; flags.keepRunning is set by the caller.
  virtual void start(PPort& port, AcquisitionFlags& flags, platform::EventTarget* dialog) = 0;
  // Clears keep-running and waits until the reads have ended.
  virtual void stop(AcquisitionFlags& flags) = 0;
};

// The real acquisition thread. It checks the clock every millisecond; reads stay 250 ms apart.
class ThreadAcquisition final : public AcquisitionDriver {
 public:
  ThreadAcquisition(platform::EventLoop& loop, platform::Clock& clock) : loop_(loop), clock_(clock) {}
  ~ThreadAcquisition() override;
  void start(PPort& port, AcquisitionFlags& flags, platform::EventTarget* dialog) override;
  void stop(AcquisitionFlags& flags) override;

 private:
  platform::EventLoop& loop_;
  platform::Clock& clock_;
  std::thread thread_;
  AcquisitionFlags* flags_ = nullptr;
};

// The same reads from a virtual timer, for ManualLoop and the headless simulated run.
class TimerAcquisition final : public AcquisitionDriver, public platform::EventTarget {
 public:
  static constexpr int kReadTimer = 250;
  TimerAcquisition(platform::EventLoop& loop, platform::Clock& clock) : loop_(loop), clock_(clock) {}
  ~TimerAcquisition() override { loop_.forget(this); }
  void start(PPort& port, AcquisitionFlags& flags, platform::EventTarget* dialog) override;
  void stop(AcquisitionFlags& flags) override;
  void onTimer(int timerId) override;
  void onCommand(int, std::int64_t) override {}

 private:
  platform::EventLoop& loop_;
  platform::Clock& clock_;
  std::unique_ptr<AcquisitionCycle> cycle_;
  AcquisitionFlags* flags_ = nullptr;
  platform::EventTarget* dialog_ = nullptr;
};

}  // namespace kvr
