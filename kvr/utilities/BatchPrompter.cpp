#include "kvr/utilities/BatchPrompter.h"

namespace kvr::utilities {

platform::Answer BatchPrompter::ask(const platform::Message& message) {
  out_ << message.title << ": " << message.text << '\n';
  if (message.buttons == platform::Buttons::Ok) {
    if (message.icon == platform::Icon::Error) ++failures_;
    return platform::Answer::Ok;
  }
  bool yesNo = message.buttons == platform::Buttons::YesNo || message.buttons == platform::Buttons::YesNoCancel;
  if (yesNo && questions_ == platform::Answer::Ok) return platform::Answer::Yes;
  if (yesNo && questions_ == platform::Answer::Cancel) return platform::Answer::No;
  if (message.buttons == platform::Buttons::CancelTryContinue)
    return questions_ == platform::Answer::Ok ? platform::Answer::Continue : platform::Answer::Cancel;
  return questions_;
}

}  // namespace kvr::utilities
