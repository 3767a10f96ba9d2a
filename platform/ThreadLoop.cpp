#include "platform/ThreadLoop.h"

#include <chrono>

namespace platform {

void ThreadLoop::startTimer(EventTarget* owner, int timerId, int periodMs) {
  std::lock_guard lock(mutex_);
  int p = periodMs < 1 ? 1 : periodMs;
  timers_[{owner, timerId}] = Timer{p, clock_.nowMs() + p};
  wake_.notify_all();
}

void ThreadLoop::stopTimer(EventTarget* owner, int timerId) {
  std::lock_guard lock(mutex_);
  timers_.erase({owner, timerId});
}

void ThreadLoop::post(EventTarget* owner, int command, std::int64_t param) {
  std::lock_guard lock(mutex_);
  posted_.push_back({owner, command, param});
  wake_.notify_all();
}

void ThreadLoop::forget(EventTarget* owner) {
  std::lock_guard lock(mutex_);
  for (auto it = timers_.begin(); it != timers_.end();) it = it->first.first == owner ? timers_.erase(it) : std::next(it);
  for (auto it = posted_.begin(); it != posted_.end();) it = it->owner == owner ? posted_.erase(it) : std::next(it);
}

void ThreadLoop::quit() {
  std::lock_guard lock(mutex_);
  quit_ = true;
  wake_.notify_all();
}

void ThreadLoop::run() {
  std::unique_lock lock(mutex_);
  quit_ = false;
  while (!quit_) {
    if (!posted_.empty()) {
      Posted p = posted_.front();
      posted_.pop_front();
      lock.unlock();
      p.owner->onCommand(p.command, p.param);
      lock.lock();
      continue;
    }
    std::int64_t now = clock_.nowMs();
    auto due = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      if (due == timers_.end() || it->second.due < due->second.due) due = it;
    }
    if (due != timers_.end() && due->second.due <= now) {
      auto key = due->first;
      due->second.due = now + due->second.period;
      lock.unlock();
      key.first->onTimer(key.second);
      lock.lock();
      continue;
    }
    if (due == timers_.end()) {
      wake_.wait(lock);
    } else {
      wake_.wait_for(lock, std::chrono::milliseconds(due->second.due - now));
    }
  }
}

}  // namespace platform
