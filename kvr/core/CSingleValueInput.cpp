#include "kvr/core/CSingleValueInput.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace kvr {
namespace {
constexpr const char* kTitle = "ATTENTION";
constexpr const char* kIntegerRange = "The range of the input value must be between %i and %i";
constexpr const char* kFloatRange = "The range of the input value must be between %f and %f";

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}
}  // namespace

CSingleValueInput::CSingleValueInput(std::string title, std::string prompt, double minimum, double maximum, Mode mode,
                                     double initial)
    : title_(std::move(title)), prompt_(std::move(prompt)), min_(minimum), max_(maximum), mode_(mode), value_(initial) {}

std::string CSingleValueInput::initialText() const {
  char buf[64];
  if (mode_ == Mode::Integer) std::snprintf(buf, sizeof buf, "%d", static_cast<int>(value_));
  else std::snprintf(buf, sizeof buf, "%f", value_);
  return buf;
}

std::string CSingleValueInput::rangeMessage() const {
  char buf[160];
  if (mode_ == Mode::Integer)
    std::snprintf(buf, sizeof buf, kIntegerRange, static_cast<int>(min_), static_cast<int>(max_));
  else
    std::snprintf(buf, sizeof buf, kFloatRange, min_, max_);
  return buf;
}

bool CSingleValueInput::accept(std::string_view text, platform::Prompter& prompter) {
  text = trimmed(text);
  double v = 0;
  bool parsed = false;
  if (mode_ == Mode::Integer) {
    long long i = 0;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), i);
    parsed = !text.empty() && ec == std::errc() && p == text.data() + text.size();
    v = static_cast<double>(i);
  } else {
    // from_chars reads the C locale's notation whatever the process locale is.
    std::string_view t = text;
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    parsed = !t.empty() && ec == std::errc() && p == t.data() + t.size() && std::isfinite(v);
  }
  // Text that is no number of the mode is refused like a value outside the range.
  if (!parsed || v < min_ || v > max_) {
    prompter.ask({kTitle, rangeMessage(), platform::Buttons::Ok, platform::Icon::Warning});
    return false;
  }
  value_ = v;
  return true;
}

}  // namespace kvr
