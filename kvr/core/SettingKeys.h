#pragma once
// Section and value names of KVR's settings.

namespace kvr::keys {

inline constexpr const char* kProgramFolders = "Program Folders";
inline constexpr const char* kMainFolder = "Main Folder";
inline constexpr const char* kOutput = "Output";
inline constexpr const char* kLastUserAccessed = "Last User Accessed";
inline constexpr const char* kCalibrations = "Calibrations";
inline constexpr const char* kOptions = "Options";
inline constexpr const char* kTelemetryLog = "TelemetryLog";
inline constexpr const char* kStartUp = "StartUp";
inline constexpr const char* kUnits = "Units";
// Where the data root lives when $VAREXA_DATA_ROOT is not set (this port's own value).
inline constexpr const char* kDataRoot = "Data Root";

}  // namespace kvr::keys
