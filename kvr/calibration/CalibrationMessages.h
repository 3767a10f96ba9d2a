#pragma once
// The texts of the calibration dialog and the reports, with their titles.

namespace kvr::cal_text {

inline constexpr const char* kCancelQuestion = "Are you sure you want to cancel the current calibration ?";
inline constexpr const char* kTimeout = "\nTimeout Error, Try sending again.";
inline constexpr const char* kSendFailed = "Error while sending downhole command";
inline constexpr const char* kTransferring = "Transferring Data...";
inline constexpr const char* kSctFilter = "KVR Sensor Correction Table (*.sct)|*.sct||";
inline constexpr const char* kSctExtension = "sct";
inline constexpr const char* kReportHeaderFormat = "KVR Calibration Report %48s - %s\n\n";
inline constexpr const char* kParameterHeaderFormat = "Main System Parameters: %48s - %s\n\n";
inline constexpr const char* kReportCreated = "A report file called:\n";
inline constexpr const char* kReportCreatedEnd = "\nHas been successfully created.";
inline constexpr const char* kReportFailed =
    "Error while creating report file.\nPlease check if there is enough disk space and try again";
// This program's own: the entries opened without a tool string or without a calibration.
inline constexpr const char* kNoToolString = "No ToolString has been declared by the user\nplease declare one and try again";
inline constexpr const char* kNoCalibrations = "None of the tools of the string has calibrations.";
inline constexpr const char* kUnknownCode = "\nThe calibration ended: the tool library answered an unknown step code.";

inline constexpr const char* kTitleMessage = "MESSAGE";
inline constexpr const char* kTitleError = "ERROR";

}  // namespace kvr::cal_text
