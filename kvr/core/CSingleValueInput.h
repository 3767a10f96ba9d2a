#pragma once
// The small range-limited number dialog ("Input Serial Number" and others): a prompt, a
// minimum, a maximum, integer or float mode. OK refuses a value outside the range with the
// range message.

#include <string>
#include <string_view>

#include "platform/Prompter.h"

namespace kvr {

class CSingleValueInput {
 public:
  enum class Mode { Integer, Float };

  CSingleValueInput(std::string title, std::string prompt, double minimum, double maximum, Mode mode,
                    double initial = 0);

  const std::string& title() const { return title_; }
  const std::string& prompt() const { return prompt_; }
  double minimum() const { return min_; }
  double maximum() const { return max_; }
  Mode mode() const { return mode_; }
  // The edit box's text when the dialog opens.
  std::string initialText() const;

  // OK with the typed text: true and value() set when it is a number of the mode inside the
  // range; otherwise the range message ("ATTENTION") and false, the dialog stays open.
  bool accept(std::string_view text, platform::Prompter& prompter);
  double value() const { return value_; }
  // The message accept() shows.
  std::string rangeMessage() const;

 private:
  std::string title_, prompt_;
  double min_, max_;
  Mode mode_;
  double value_;
};

}  // namespace kvr
