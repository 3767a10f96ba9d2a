#include "kvr/gauge/CDatePickerDlg.h"

#include "kvr/utilities/CTimeDiffCalc.h"

namespace kvr::gauge {
namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysIn(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && leap(year) ? 29 : kDays[month - 1];
}

}  // namespace

bool CDatePickerDlg::validDate(int year, int month, int day) {
  return year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysIn(year, month);
}

CDatePickerDlg::CDatePickerDlg(const platform::CalendarTime& now) {
  if (!setDate(now.year, now.month, now.day)) {
    if (now.year > kLastYear) setDate(kLastYear, 12, 31);
  }
  setTime(now.hour, now.minute, now.second);
}

bool CDatePickerDlg::setDate(int year, int month, int day) {
  if (!validDate(year, month, day)) return false;
  year_ = year, month_ = month, day_ = day;
  return true;
}

bool CDatePickerDlg::setTime(int hour, int minute, int second) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return false;
  hour_ = hour, minute_ = minute, second_ = second;
  return true;
}

PickedDate CDatePickerDlg::picked() const {
  const utilities::PickerDate date{year_, month_, day_};
  const std::int64_t day = utilities::CTimeDiffCalc::moment(date, {});
  const std::int64_t time = utilities::CTimeDiffCalc::moment(date, {hour_, minute_, second_});
  return {static_cast<std::uint32_t>(day), static_cast<std::uint32_t>(time)};
}

}  // namespace kvr::gauge
