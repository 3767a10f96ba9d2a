#pragma once
// "DATE PICKER" without its window: a calendar day and a time of day, kept inside the
// range the download's 32-bit time values can hold (1 January 1970 to 31 December 2105).

#include <cstdint>

#include "platform/Clock.h"

namespace kvr::gauge {

struct PickedDate {
  std::uint32_t date = 0;  // the day at 00:00 UTC, seconds since 1 January 1970
  std::uint32_t time = 0;  // the day plus the time of day
};

class CDatePickerDlg {
 public:
  static constexpr int kFirstYear = 1970, kLastYear = 2105;

  // Opens on the clock's present day and time (clamped into the range).
  explicit CDatePickerDlg(const platform::CalendarTime& now);

  // False, and nothing changes, for a day that does not exist or lies outside the range.
  bool setDate(int year, int month, int day);
  // False, and nothing changes, outside 00:00:00 to 23:59:59.
  bool setTime(int hour, int minute, int second);

  int year() const { return year_; }
  int month() const { return month_; }
  int day() const { return day_; }
  int hour() const { return hour_; }
  int minute() const { return minute_; }
  int second() const { return second_; }
  PickedDate picked() const;

  static bool validDate(int year, int month, int day);

 private:
  int year_ = kFirstYear, month_ = 1, day_ = 1;
  int hour_ = 0, minute_ = 0, second_ = 0;
};

}  // namespace kvr::gauge
