#pragma once
// Window timers and posted commands on the Qt event loop of the interface thread.

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <utility>

#include "platform/EventLoop.h"

namespace platform::qt {

class QtEventLoop final : public QObject, public EventLoop {
 public:
  explicit QtEventLoop(QObject* parent = nullptr) : QObject(parent) {}
  ~QtEventLoop() override;

  void startTimer(EventTarget* owner, int timerId, int periodMs) override;
  void stopTimer(EventTarget* owner, int timerId) override;
  void post(EventTarget* owner, int command, std::int64_t param = 0) override;
  void forget(EventTarget* owner) override;

 private:
  void deliver(EventTarget* owner, int command, std::int64_t param, std::uint64_t epoch);
  std::map<std::pair<EventTarget*, int>, std::unique_ptr<QTimer>> timers_;
  // A forgotten target's commands still in Qt's queue are dropped by epoch.
  mutable std::mutex mutex_;
  std::map<EventTarget*, std::uint64_t> epochs_;
};

}  // namespace platform::qt
