#pragma once
// Window timers with ids and posted window commands, in the shape the program's
// windows used them: a target owns timers by id and receives commands posted to it.

#include <cstdint>

namespace platform {

class EventTarget {
 public:
  virtual ~EventTarget() = default;
  virtual void onTimer(int timerId) = 0;
  virtual void onCommand(int command, std::int64_t param) = 0;
};

class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Starts a periodic timer; starting an id that runs already restarts it with the new period.
  virtual void startTimer(EventTarget* owner, int timerId, int periodMs) = 0;
  virtual void stopTimer(EventTarget* owner, int timerId) = 0;
  // Queues a command for the interface thread. The only call that is safe from any thread.
  virtual void post(EventTarget* owner, int command, std::int64_t param = 0) = 0;
  // Drops every timer and queued command of a target; call before the target dies.
  virtual void forget(EventTarget* owner) = 0;
};

}  // namespace platform
