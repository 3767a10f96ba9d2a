#include "platform/qt/QtEventLoop.h"

#include <QMetaObject>

namespace platform::qt {

QtEventLoop::~QtEventLoop() { timers_.clear(); }

void QtEventLoop::startTimer(EventTarget* owner, int timerId, int periodMs) {
  auto& slot = timers_[{owner, timerId}];
  if (!slot) {
    slot = std::make_unique<QTimer>();
    QObject::connect(slot.get(), &QTimer::timeout, this, [owner, timerId] { owner->onTimer(timerId); });
  }
  slot->start(periodMs < 1 ? 1 : periodMs);
}

void QtEventLoop::stopTimer(EventTarget* owner, int timerId) {
  auto it = timers_.find({owner, timerId});
  if (it == timers_.end()) return;
  it->second->stop();
  // Deleting a timer from inside its own timeout is not allowed: let Qt do it later.
  it->second.release()->deleteLater();
  timers_.erase(it);
}

void QtEventLoop::post(EventTarget* owner, int command, std::int64_t param) {
  std::uint64_t epoch = 0;
  {
    std::lock_guard lock(mutex_);
    epoch = epochs_[owner];
  }
  QMetaObject::invokeMethod(
      this, [this, owner, command, param, epoch] { deliver(owner, command, param, epoch); }, Qt::QueuedConnection);
}

void QtEventLoop::deliver(EventTarget* owner, int command, std::int64_t param, std::uint64_t epoch) {
  {
    std::lock_guard lock(mutex_);
    if (epochs_[owner] != epoch) return;
  }
  owner->onCommand(command, param);
}

void QtEventLoop::forget(EventTarget* owner) {
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->first.first == owner) {
      it->second->stop();
      it->second.release()->deleteLater();
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
  std::lock_guard lock(mutex_);
  ++epochs_[owner];
}

}  // namespace platform::qt
