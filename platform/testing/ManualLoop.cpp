#include "platform/testing/ManualLoop.h"


namespace platform::testing {

std::int64_t VirtualClock::nowMs() const {
  std::lock_guard lock(mutex_);
  return now_;
}

CalendarTime VirtualClock::localTime() const {
  std::int64_t ms = nowMs();
  CalendarTime t = base_;
  // Whole days are not expected in tests; carry seconds, minutes and hours into the day.
  std::int64_t total = ((static_cast<std::int64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 +
                       t.millisecond + ms;
  static constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::int64_t days = total / 86400000;
  total %= 86400000;
  t.hour = static_cast<int>(total / 3600000);
  t.minute = static_cast<int>(total / 60000 % 60);
  t.second = static_cast<int>(total / 1000 % 60);
  t.millisecond = static_cast<int>(total % 1000);
  while (days-- > 0) {
    bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    int len = kDaysIn[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    if (++t.day > len) {
      t.day = 1;
      if (++t.month > 12) {
        t.month = 1;
        ++t.year;
      }
    }
  }
  return t;
}

void VirtualClock::sleepMs(int ms) {
  if (ms <= 0) return;
  std::lock_guard lock(mutex_);
  now_ += ms;
}

void ManualLoop::startTimer(EventTarget* owner, int timerId, int periodMs) {
  Timer& t = timers_[{owner, timerId}];
  t.period = periodMs < 1 ? 1 : periodMs;
  t.due = now() + t.period;
  t.generation = ++generation_;
}

void ManualLoop::stopTimer(EventTarget* owner, int timerId) { timers_.erase({owner, timerId}); }

void ManualLoop::post(EventTarget* owner, int command, std::int64_t param) {
  std::lock_guard lock(postMutex_);
  posted_.push_back({owner, command, param});
}

void ManualLoop::forget(EventTarget* owner) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    it = it->first.first == owner ? timers_.erase(it) : std::next(it);
  }
  std::lock_guard lock(postMutex_);
  for (auto it = posted_.begin(); it != posted_.end();) {
    it = it->owner == owner ? posted_.erase(it) : std::next(it);
  }
}

bool ManualLoop::runOnePosted() {
  Posted p{};
  {
    std::lock_guard lock(postMutex_);
    if (posted_.empty()) return false;
    p = posted_.front();
    posted_.pop_front();
  }
  p.owner->onCommand(p.command, p.param);
  return true;
}

void ManualLoop::runPending() {
  while (runOnePosted()) {
  }
}

std::size_t ManualLoop::runPending(std::size_t n) {
  std::size_t ran = 0;
  while (ran < n && runOnePosted()) ++ran;
  return ran;
}

// Fires the earliest timer due at or before `until` (ties: the one started first).
bool ManualLoop::fireNextDue(std::int64_t until) {
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due > until) continue;
    if (best == timers_.end() || it->second.due < best->second.due ||
        (it->second.due == best->second.due && it->second.generation < best->second.generation)) {
      best = it;
    }
  }
  if (best == timers_.end()) return false;
  auto key = best->first;
  std::int64_t due = best->second.due;
  {
    std::lock_guard lock(clock_.mutex_);
    if (clock_.now_ < due) clock_.now_ = due;
  }
  // A timer that fell behind (a sleep on the clock) fires once, then keeps its period from now.
  best->second.due = (due + best->second.period <= now()) ? now() + best->second.period : due + best->second.period;
  key.first->onTimer(key.second);
  runPending();
  return true;
}

void ManualLoop::advance(std::int64_t ms) {
  runPending();
  const std::int64_t until = now() + (ms < 0 ? 0 : ms);
  while (fireNextDue(until)) {
  }
  std::lock_guard lock(clock_.mutex_);
  if (clock_.now_ < until) clock_.now_ = until;
}

bool ManualLoop::timerActive(EventTarget* owner, int timerId) const { return timers_.count({owner, timerId}) != 0; }

int ManualLoop::timerPeriod(EventTarget* owner, int timerId) const {
  auto it = timers_.find({owner, timerId});
  return it == timers_.end() ? 0 : it->second.period;
}

std::size_t ManualLoop::pendingCommands() const {
  std::lock_guard lock(postMutex_);
  return posted_.size();
}

}  // namespace platform::testing
