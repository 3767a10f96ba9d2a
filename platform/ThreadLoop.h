#pragma once
// An event loop on the real clock without a window system, for the command-line programs
// that run against a real panel: timers and posted commands run on the thread that calls run().

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "platform/EventLoop.h"
#include "platform/SystemClock.h"

namespace platform {

class ThreadLoop final : public EventLoop {
 public:
  void startTimer(EventTarget* owner, int timerId, int periodMs) override;
  void stopTimer(EventTarget* owner, int timerId) override;
  void post(EventTarget* owner, int command, std::int64_t param = 0) override;
  void forget(EventTarget* owner) override;

  // Runs until quit() is called (from any thread, or from a handler).
  void run();
  void quit();
  SystemClock& clock() { return clock_; }

 private:
  struct Timer {
    int period;
    std::int64_t due;
  };
  struct Posted {
    EventTarget* owner;
    int command;
    std::int64_t param;
  };
  SystemClock clock_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::map<std::pair<EventTarget*, int>, Timer> timers_;
  std::deque<Posted> posted_;
  bool quit_ = false;
};

}  // namespace platform
