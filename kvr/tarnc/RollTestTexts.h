#pragma once
// The texts of the roll test and the axis correction, byte for byte as the panel shows them.
// The roll prompts carry "\xEF\xBF\xBD" where a degree sign belongs, the axis prompts a real one.

#include "kvr/tarnc/TaskPanelTexts.h"

namespace kvr::tarnc::text {

struct ProcedureTexts {
  Box noTelemetry, noCalibration, notReady;
  const char* idleButton;     // after a run or a cancel
  const char* runningButton;  // while it runs
};

inline constexpr ProcedureTexts kRollTest{
    {"ATTENTION", "You must start the telemetry before attempting to perform a rolltest"},
    {kUntitled, "You should load a valid sensor calibration\nDo you whant to continue anyway ?"},
    {"WARNING",
     "Tool not ready for rolltest measurements\nWait for tool status to turn READY and try again\nIf it doesn't turn "
     "READY, make sure IMU sensor pack is properly connected !"},
    "Rolltest",
    "Stop RT"};
inline constexpr ProcedureTexts kAxisCorrection{
    {"ATTENTION", "You must start the telemetry before attempting to perform an axis correction."},
    {kUntitled, "You should load a valid sensor calibration\nDo you want to continue anyway ?"},
    {"WARNING",
     "Tool not ready for axis correction\nWait for tool status to turn READY and try again\nIf it doesn't turn READY, "
     "make sure IMU sensor pack is properly connected !"},
    "Axis Correction",
    "Stop AC"};

inline constexpr Box kCancelProcedure{kUntitled, "There's a measurement ongoing.\nDo you want to cancel this process ?"};

inline constexpr const char* kPromptTitle = "MESSAGE";
inline constexpr const char* kPointEast =
    "Please place the tool horizontal and pointing EAST within +/- 15\xEF\xBF\xBD\nThen wait for about 10 seconds before "
    "clicking OK...";
// %.2f: the HSTF of the first measurement.
inline constexpr const char* kPointWest =
    "Please turn the whole toolstring by 180\xEF\xBF\xBD in order to point WEST.\nThen, adjust to reach an HSTF of "
    "%.2f\xEF\xBF\xBD +/-0.5\xEF\xBF\xBD.\nThen wait for about 10 seconds before clicking OK...";
// %d: 0, 90, 180, 270.
inline constexpr const char* kRotateTo =
    "Please rotate the tool to %d\xC2\xB0\nThen wait for about 10 seconds before clicking OK...";

inline constexpr Box kRollReportFailed{"FATAL ERROR",
                                       "The report .TXT file could not be created\nCheck for enough disk space and try "
                                       "again."};
inline constexpr Box kRollDone{"MESSAGE",
                               "Rolltest process completed !\nAn output report file has been created.\nDo you want to "
                               "view the report file now ?"};
inline constexpr const char* kReportViewerTitle = "Report Viewer";

}  // namespace kvr::tarnc::text
