#pragma once
// The messages of the logging controller.

namespace kvr::msg {

struct Text {
  const char* title;
  const char* text;
};

inline constexpr Text kNoTelemetry{"ATTENTION", "You must start the telemetry before attempting to do a log !"};
inline constexpr Text kEditorOpen{"ATTENTION",
                                  "You must close the Log Page Presentations dialog before starting a log !"};
inline constexpr Text kPanelEnglish{
    "ATTENTION",
    "The unit system for the surface panel is set to ENGLISH and KVR is set to METRIC !\nPlease correct this and "
    "before you start a log."};
inline constexpr Text kPanelMetric{
    "ATTENTION",
    "The unit system for the surface panel is set to METRIC and KVR is set to ENGLISH !\nPlease correct this and "
    "before you start a log."};
inline constexpr Text kTarnCDataFile{"ERROR",
                                     "TARN-C Inertial data file could not be opened\nCheck for enough disk space and try again"};
inline constexpr Text kCannotCloseWhileLogging{"MESSAGE", "You Cannot close the program while logging.\nStop logging first !"};
inline constexpr Text kQuitQuestion{"QUESTION", "Are you sure you want to quit the program ?"};

}  // namespace kvr::msg
