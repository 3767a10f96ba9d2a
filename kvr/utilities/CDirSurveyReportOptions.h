#pragma once
// "Report Generation Options ": the depth start and step of the directional survey report
// and its automatic station depth flag, kept in the program settings.

#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace kvr::utilities {

class CDirSurveyReportOptions {
 public:
  static constexpr const char* kSection = "Options";
  static constexpr const char* kAutoDepthValue = "DS_AutoDepth";
  static constexpr const char* kDepthStartValue = "DS_DepthStart";
  static constexpr const char* kDepthIncValue = "DS_DepthInc";
  static constexpr double kStartLow = 0, kStartHigh = 50000;
  static constexpr double kIncLow = -3000, kIncHigh = 3000;

  explicit CDirSurveyReportOptions(platform::Settings& settings) : settings_(settings) { read(); }

  // Reads the three values (missing or unreadable depths give 100).
  void read();
  // Checks both depths against their accepted ranges, then writes the flag as an integer
  // and both depths as text with two decimals. False (nothing written) on a refusal.
  bool ok(platform::Prompter& prompter);

  int autoDepth = 0;           // "Automatic Station Depth"
  double depthStart = 100;     // "Starting Depth:"
  double depthIncrement = 100; // "Depth Increment:", negative for up directions

 private:
  platform::Settings& settings_;
};

}  // namespace kvr::utilities
