#include "kvr/utilities/CTimeDiffCalc.h"

#include "kvr/utilities/ConverterMessages.h"

namespace kvr::utilities {

CTimeDiffCalc::CTimeDiffCalc(platform::Prompter& prompter, const platform::Clock& clock) : prompter_(prompter) {
  const auto now = clock.localTime();
  startDate = endDate = PickerDate{now.year, now.month, now.day};
  startTime = endTime = PickerTime{now.hour, now.minute, now.second};
}

std::int64_t CTimeDiffCalc::moment(const PickerDate& d, const PickerTime& t) {
  // Days from the civil date (proleptic Gregorian calendar).
  const std::int64_t y = d.month <= 2 ? d.year - 1 : d.year;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (d.month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + d.day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t days = era * 146097 + doe - 719468;
  return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

void CTimeDiffCalc::calculate() {
  const std::int64_t seconds = moment(endDate, endTime) - moment(startDate, startTime);
  difference_ = static_cast<double>(seconds) / 3600.0;
}

bool CTimeDiffCalc::ok() {
  const auto answer = prompter_.ask(
      platform::Message{kUseTimeOffset.title, kUseTimeOffset.text, platform::Buttons::YesNo, platform::Icon::Question});
  if (answer != platform::Answer::Yes || target_ == nullptr) return false;
  *target_ = static_cast<float>(difference_ * 3600.0 * scale_);
  return true;
}

}  // namespace kvr::utilities
