#pragma once
// The fixed texts of the continuous-mode post-processing: message boxes, captions and the
// printf patterns of the traces that go to the debug output.

namespace kvr::postprocess::text {

inline constexpr const char* kError = "ERROR";
inline constexpr const char* kWarning = "WARNING";

// Session event log
inline constexpr const char* kCsvOpen = "Could not open the CSV session file.";
inline constexpr const char* kNeedTwoStations = "Need at least 2 END_STATION events to define a CONTINUO segment.";
inline constexpr const char* kSegmentsFound =
    "Found %d CONTINUO segments between %d stations.\n\nCheck Output window for details.";
inline constexpr const char* kSegmentsCaption = "Continuos Detected";

// Raw inertial stream
inline constexpr const char* kRawOpen = "Could not open the associated RAW file:\n%s";
inline constexpr const char* kRawHeader = "Could not read RAW header (7 bytes).";
inline constexpr const char* kRawMagic = "Invalid RAW magic byte: 0x%02X (expected 0xAA).";
inline constexpr const char* kRawHeaderShort = "Invalid RAW header length: %lu bytes (minimum is 7).";
inline constexpr const char* kRawHeaderLong = "Invalid RAW header length (%lu) for file size (%ld).";
inline constexpr const char* kRawNoSamples = "RAW payload does not contain complete samples.";
inline constexpr const char* kRawShortRead = "Could not read all RAW samples. Expected %ld, read %u.";
inline constexpr const char* kTestComplete =
    "Test Complete!\n\nCSV Events: %d\nRAW Samples: %ld (%.1f sec)\n\nCheck Output window for details.";
inline constexpr const char* kTestCaption = "Test Results";

// Processing
inline constexpr const char* kEqualPositions = "Pos0 and Pos180 are the same value. Cannot compute RotPos.";
inline constexpr const char* kMismatch =
    "Calibration mismatch detected.\n\nKVR Calibration:\n  SN: %s\n  Date: %s\n\nRAW Calibration:\n  SN: %s\n"
    "  Date: %s\n\nDo you want to use RAW calibration?\n\nSelecting NO will keep using the KVR calibration.";
inline constexpr const char* kMismatchCaption = "Calibration Selection";
// When the headless program is told which calibration to use and it is not there.
inline constexpr const char* kNoRawCalibration = "The RAW file holds no calibration.";
inline constexpr const char* kNoKvrCalibration = "No KVR calibration is loaded.";
inline constexpr const char* kTooManySamples = "Not enough memory for the %ld samples of the RAW file.";

// Outputs
inline constexpr const char* kSurveyCreate = "Could not create survey LAS file.";
inline constexpr const char* kDepthCreate = "Could not create depth LAS file.";
inline constexpr const char* kReportCreate = "Could not create continuous mode report file.";
inline constexpr const char* kSurveyDone = "Survey LAS exported to:\n%s";
inline constexpr const char* kSurveyCaption = "Survey LAS Complete";
inline constexpr const char* kDepthDone = "Depth LAS exported to:\n%s";
inline constexpr const char* kDepthCaption = "Depth LAS Complete";
inline constexpr const char* kReportDone = "Continuous mode report exported to:\n%s";
inline constexpr const char* kReportCaption = "Report Complete";

}  // namespace kvr::postprocess::text
