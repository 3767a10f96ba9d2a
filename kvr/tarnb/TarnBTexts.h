#pragma once
// The TARN-B panel's own texts.

namespace kvr::tarnb::text {

inline constexpr const char* kPanelTitle = "TARN B Task Panel";
inline constexpr const char* kStartStation = "&Start Station";
inline constexpr const char* kStopStation = "&Stop Station";
inline constexpr const char* kFilter = "KVR Data files (*.kvr)|*.kvr||";
inline constexpr const char* kAddCurrentFile = "You cannot add the current logging file !!";
inline constexpr const char* kConvertCurrentFile = "You cannot convert the current logging file !!";
inline constexpr const char* kNotOpened = "The requested file could not be opened";
inline constexpr const char* kStaticRead = "Error while trying to read static data from the file";
inline constexpr const char* kStaticIntegrity = "Error while checking static data integrity\nFile could be corrupted, try again";
inline constexpr const char* kTooManyIntervals = "Too Many Inervals (Max. Allowed = 100)";
inline constexpr const char* kOutOfRange = "The input value is out of the data file range";
inline constexpr const char* kNeedStation = "You must load a station data file before attempting create a report";
inline constexpr const char* kTxtFailed = "The report .TXT file could not be created\nCheck for enough disk space and try again.";
inline constexpr const char* kLasFailed = "The report .LAS file could not be created\nCheck for enough disk space and try again.";
inline constexpr const char* kLasCreated = "Directional Survey .LAS file has been created along with the standard report file.";
inline constexpr const char* kReportUnreadable = "The report file could not be read !";
inline constexpr const char* kSavedAskView = "A report ASCII file for this station has been saved\nDo you want to create view it ?";
inline constexpr const char* kRollTestStations = "You must have a minimum of 8 stations to complete a roll test.";
inline constexpr const char* kLatitudeRange = "The well latitude must lie between -80 and 80 degrees.";

inline constexpr const char* kFatal = "FATAL ERROR";
inline constexpr const char* kError = "ERROR";
inline constexpr const char* kAttention = "ATTENTION";

}  // namespace kvr::tarnb::text
