#pragma once
// The process clock and the calendar. Busy-wait delays become sleeps on this clock,
// so under the virtual clock of ManualLoop they take no wall time.

#include <cstdint>

namespace platform {

struct CalendarTime {
  int year = 1970;  // four digits
  int month = 1;    // 1-12
  int day = 1;      // 1-31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes backwards.
  virtual std::int64_t nowMs() const = 0;
  // Local calendar time, as the program stamps files and reports.
  virtual CalendarTime localTime() const = 0;
  // Waits; safe from any thread.
  virtual void sleepMs(int ms) = 0;
};

}  // namespace platform
