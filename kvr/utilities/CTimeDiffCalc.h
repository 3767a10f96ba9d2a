#pragma once
// "Time Differnce Calculator": the difference in hours between two calendar moments, offered
// to the caller as its time offset (seconds x 3600 x scale) when the dialog closes.

#include <cstdint>

#include "platform/Clock.h"
#include "platform/Prompter.h"

namespace kvr::utilities {

struct PickerDate {
  int year = 1970, month = 1, day = 1;
};
struct PickerTime {
  int hour = 0, minute = 0, second = 0;
};

class CTimeDiffCalc {
 public:
  // All four pickers start at the clock's current date and time.
  CTimeDiffCalc(platform::Prompter& prompter, const platform::Clock& clock);

  void setScale(double scale) { scale_ = scale; }
  void setTarget(float* target) { target_ = target; }

  PickerDate startDate, endDate;
  PickerTime startTime, endTime;

  // "<- Cal".
  void calculate();
  // Hours, as the "Difference:" edit shows them.
  double difference() const { return difference_; }
  // "OK": asks whether to use the offset; Yes stores it. Either answer closes the dialog.
  // True when it was stored.
  bool ok();

  // Seconds of a calendar moment since 1970-01-01 00:00:00, in the calendar alone (no time zone).
  static std::int64_t moment(const PickerDate& d, const PickerTime& t);

 private:
  platform::Prompter& prompter_;
  double scale_ = 1.0;
  float* target_ = nullptr;
  double difference_ = 0;
};

}  // namespace kvr::utilities
