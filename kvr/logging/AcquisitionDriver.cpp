#include "kvr/logging/AcquisitionDriver.h"

namespace kvr {

ThreadAcquisition::~ThreadAcquisition() {
  if (flags_) stop(*flags_);
}

void ThreadAcquisition::start(PPort& port, AcquisitionFlags& flags, platform::EventTarget* dialog) {
  if (thread_.joinable()) stop(flags);
  flags_ = &flags;
  flags.running = true;
  thread_ = std::thread([this, &port, &flags, dialog] {
    AcquisitionCycle cycle(port, flags, clock_);
    while (flags.keepRunning) {
      if (cycle.poll()) loop_.post(dialog, kFrameTickCommand);
      clock_.sleepMs(1);
    }
    flags.running = false;
  });
}

void ThreadAcquisition::stop(AcquisitionFlags& flags) {
  flags.keepRunning = false;
  if (thread_.joinable()) thread_.join();
  flags.running = false;
}

void TimerAcquisition::start(PPort& port, AcquisitionFlags& flags, platform::EventTarget* dialog) {
  flags_ = &flags;
  dialog_ = dialog;
  cycle_ = std::make_unique<AcquisitionCycle>(port, flags, clock_);
  flags.running = true;
  loop_.startTimer(this, kReadTimer, static_cast<int>(AcquisitionCycle::kReadPeriodMs));
}

void TimerAcquisition::stop(AcquisitionFlags& flags) {
  flags.keepRunning = false;
  loop_.stopTimer(this, kReadTimer);
  flags.running = false;
}

void TimerAcquisition::onTimer(int timerId) {
  if (timerId != kReadTimer || !flags_ || !cycle_) return;
  if (!flags_->keepRunning) {
    stop(*flags_);
    return;
  }
  if (cycle_->poll()) loop_.post(dialog_, kFrameTickCommand);
}

}  // namespace kvr
