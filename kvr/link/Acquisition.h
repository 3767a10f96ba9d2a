#pragma once
// What the acquisition thread and the interface thread share, and one pass of the
// thread's loop. The logging controller owns the thread:
//
//   flags.running = true;
//   AcquisitionCycle cycle(port, flags, clock);
//   while (flags.keepRunning) {
//     if (cycle.poll()) loop.post(dialog, 113);   // bytes arrived: parse on the interface thread
//     clock.sleepMs(1);                           // reads stay 250 ms apart
//   }
//   flags.running = false;
//
// Under ManualLoop the same poll() runs from a virtual timer.

#include <atomic>
#include <cstdint>

#include "kvr/link/PPort.h"
#include "platform/Clock.h"

namespace kvr {

struct AcquisitionFlags {
  std::atomic<bool> keepRunning{false};
  std::atomic<bool> running{false};
  std::atomic<bool> reading{false};
  std::atomic<std::uint32_t> readCycles{0};  // "Read Cycles"
};

class AcquisitionCycle {
 public:
  static constexpr std::int64_t kReadPeriodMs = 250;

  AcquisitionCycle(PPort& port, AcquisitionFlags& flags, const platform::Clock& clock)
      : port_(port), flags_(flags), clock_(clock) {}

  // Reads when at least 250 ms passed since the last read; true when bytes arrived.
  bool poll() {
    const std::int64_t now = clock_.nowMs();
    if (started_ && now - lastRead_ < kReadPeriodMs) return false;
    started_ = true;
    flags_.reading = true;
    ++flags_.readCycles;
    lastRead_ = now;
    const bool got = port_.Read();
    flags_.reading = false;
    return got;
  }

 private:
  PPort& port_;
  AcquisitionFlags& flags_;
  const platform::Clock& clock_;
  bool started_ = false;
  std::int64_t lastRead_ = 0;
};

}  // namespace kvr
