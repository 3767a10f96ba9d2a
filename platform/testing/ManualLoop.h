#pragma once
// An event loop on virtual time. advance(ms) moves the clock and fires every timer and
// posted command that falls due, in time order; nothing ever waits on the wall clock.

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "platform/Clock.h"
#include "platform/EventLoop.h"

namespace platform::testing {

class ManualLoop;

// The clock of a ManualLoop. sleepMs moves virtual time on without firing anything,
// as a busy wait on the interface thread blocked the old message loop.
class VirtualClock final : public Clock {
 public:
  std::int64_t nowMs() const override;
  CalendarTime localTime() const override;
  void sleepMs(int ms) override;
  void setCalendarBase(const CalendarTime& base) { base_ = base; }

 private:
  friend class ManualLoop;
  mutable std::mutex mutex_;
  std::int64_t now_ = 0;
  CalendarTime base_{2026, 1, 1, 8, 0, 0, 0};
};

class ManualLoop final : public EventLoop {
 public:
  void startTimer(EventTarget* owner, int timerId, int periodMs) override;
  void stopTimer(EventTarget* owner, int timerId) override;
  void post(EventTarget* owner, int command, std::int64_t param = 0) override;
  void forget(EventTarget* owner) override;

  // Runs posted commands, then moves time on by ms, firing due timers in order and the
  // commands they post in between.
  void advance(std::int64_t ms);
  // Runs every queued command (and those they post) without moving time.
  void runPending();
  // Runs at most n queued commands (a window caught half-way through a chain); how many ran.
  std::size_t runPending(std::size_t n);
  // Advances in steps until pred() holds or the budget of virtual ms runs out; true when it held.
  template <class Pred>
  bool advanceUntil(Pred pred, std::int64_t budgetMs, std::int64_t stepMs = 10) {
    for (std::int64_t t = 0; t <= budgetMs; t += stepMs) {
      runPending();
      if (pred()) return true;
      advance(stepMs);
    }
    return pred();
  }

  VirtualClock& clock() { return clock_; }
  std::int64_t now() const { return clock_.nowMs(); }
  bool timerActive(EventTarget* owner, int timerId) const;
  int timerPeriod(EventTarget* owner, int timerId) const;  // 0 when not running
  std::size_t pendingCommands() const;

 private:
  struct Timer {
    int period = 0;
    std::int64_t due = 0;
    std::uint64_t generation = 0;
  };
  struct Posted {
    EventTarget* owner;
    int command;
    std::int64_t param;
  };
  bool runOnePosted();
  bool fireNextDue(std::int64_t until);

  VirtualClock clock_;
  std::map<std::pair<EventTarget*, int>, Timer> timers_;
  std::uint64_t generation_ = 0;
  mutable std::mutex postMutex_;
  std::deque<Posted> posted_;
};

}  // namespace platform::testing
