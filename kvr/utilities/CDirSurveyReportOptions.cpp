#include "kvr/utilities/CDirSurveyReportOptions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace kvr::utilities {

namespace {
constexpr const char* kDefaultDepth = "100";
constexpr const char* kRangeTitle = "INPUT ERROR";

double depthFrom(const std::string& text) {
  double v = 0;
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(v)) return 100;
  (void)ptr;
  return v;
}

std::string twoDecimals(double v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

// The refusal of a value outside [low, high], or an empty text when it is inside.
std::string rangeRefusal(double v, double low, double high) {
  if (v >= low && v <= high) return {};
  char text[96];
  std::snprintf(text, sizeof text, "Enter a number between %g and %g.", low, high);
  return text;
}
}  // namespace

void CDirSurveyReportOptions::read() {
  autoDepth = settings_.getInt(kSection, kAutoDepthValue, 0);
  depthStart = depthFrom(settings_.getString(kSection, kDepthStartValue, kDefaultDepth));
  depthIncrement = depthFrom(settings_.getString(kSection, kDepthIncValue, kDefaultDepth));
}

bool CDirSurveyReportOptions::ok(platform::Prompter& prompter) {
  std::string refusal = rangeRefusal(depthStart, kStartLow, kStartHigh);
  if (refusal.empty()) refusal = rangeRefusal(depthIncrement, kIncLow, kIncHigh);
  if (!refusal.empty()) {
    platform::tell(prompter, kRangeTitle, refusal, platform::Icon::Warning);
    return false;
  }
  settings_.setInt(kSection, kAutoDepthValue, autoDepth);
  settings_.setString(kSection, kDepthStartValue, twoDecimals(depthStart));
  settings_.setString(kSection, kDepthIncValue, twoDecimals(depthIncrement));
  return true;
}

}  // namespace kvr::utilities
