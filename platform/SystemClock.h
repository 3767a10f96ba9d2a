#pragma once
// The real clock: a steady millisecond count and the local calendar.

#include "platform/Clock.h"

namespace platform {

class SystemClock final : public Clock {
 public:
  SystemClock();
  std::int64_t nowMs() const override;
  CalendarTime localTime() const override;
  void sleepMs(int ms) override;

 private:
  std::int64_t startNs_;
};

}  // namespace platform
