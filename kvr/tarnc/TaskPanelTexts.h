#pragma once
// The texts and titles of the "TARN-C Task Panel", its stations and its survey reports,
// byte for byte as the program shows them. "\xEF\xBF\xBD" is the replacement character the
// panel has always shown where a degree sign belongs.

#include "kvr/core/ToolManagerMessages.h"

namespace kvr::tarnc::text {

struct Box {
  const char* title;
  const char* text;
};

inline constexpr const char* kPanelTitle = "TARN-C Task Panel";
// Questions that never had a title of their own take the program's.
inline constexpr const char* kUntitled = kvr::toolmsg::kDefaultTitle;

// Initialization and the turning test.
inline constexpr Box kInitRunning{"ATTENTON",
                                  "There's an ongoing initialization process, please wait until it's finished."};
inline constexpr Box kImuMissing{
    "ATTENTON",
    "IMU sensor pack is either not connected or failing to communicate\nThis initialization process will only check "
    "TARN cartridge and TURNING DEVICE system\nDo you want to continue the initialization process ?"};
inline constexpr Box kInitTimeOut{"WARNING",
                                  "Time out while waiting command acknoledge from the tool\nPlease re-try initializing again"};
inline constexpr Box kInitDone{"MESSAGE", "Tool succesfully initialized"};
// %s: the position name.
inline constexpr const char* kPositionErrorTitle = "ERROR";
inline constexpr const char* kPositionError =
    "Error while trying to reach position %s\nPlease verify the TURN DEVICE and IMU are not jammed\nTry removing sensor "
    "housing to visually check for correct rotation !";
inline constexpr const char* kPos0 = "0\xEF\xBF\xBD";
inline constexpr const char* kPos90 = "90\xEF\xBF\xBD";
inline constexpr const char* kPos270 = "270\xEF\xBF\xBD";
inline constexpr const char* kPos180 = "180\xEF\xBF\xBD";

// The common survey checks.
inline constexpr Box kNoTelemetry{"ATTENTION", "You must start the telemetry before attempting to record a station"};
inline constexpr Box kLatitudeZero{
    "ATTENTION",
    "User's input latitude is CERO !\nPlease double check if this is the correct value !\nIf your current position is "
    "ECUATOR then use a small value\nlike 0.00001 for the latitude to avoid this message.\n"};
inline constexpr Box kNoCalibration{kUntitled, "You should load a valid sensor calibration\nDo you want to continue anyway ?"};
inline constexpr Box kDepthLogging{kUntitled, "You are currently depth logging...\nTo continue you must stop logging first !"};
inline constexpr Box kCancelStation{kUntitled,
                                    "There's a northseeking measurement ongoing.\nDo you want to cancel this process ?"};

// Continuous surveys.
inline constexpr Box kResetRecommended{
    "ATTENTION", "Perform a North Seeking is recommended before continue.\nDo you want to continue anyway?"};
inline constexpr Box kLowQuality{kUntitled,
                                 "Quality Check of the last station is LOW.\nPerform a North Seeking is recommended before "
                                 "continue.\nDo you want to continue anyway?"};
inline constexpr Box kResetNow{"ATTENTION", "Do you want to run a Reset Station NOW ?"};

// The north-seeking station.
inline constexpr Box kNotInitialized{"WARNING", "Tool not initialized.\nPlease click INITIALIZE and try again"};
inline constexpr Box kSwitchLayout{
    "ATTENTION", "To perform a North Seeking Station task manager will switch to Survey Mode\nDo you want to proceed ?"};
inline constexpr Box kNoiseHigh{"WARNING",
                                "The sensor noise level is high !\nUsually this means the tool is moving or vibrating.\nDo "
                                "you want to continue with the northseeking measurement anyway ?"};
inline constexpr Box kNotReady{"WARNING",
                               "Tool not ready for North Seeking station\nWait for tool status to turn READY and try again"};
inline constexpr Box kRawFile{"ERROR", "TARN-C Raw data file could not be opened\nCheck for enough disk space and try again"};
inline constexpr Box kMoveTimeOut{"WARNING",
                                  "Time out while waiting the tools to complete the station\nPlease re-try acquiring the "
                                  "station"};
// A half that brought fewer than two rows cannot be averaged.
inline constexpr Box kNoSamples{"WARNING",
                                "No sensor data arrived during the station\nCheck the telemetry and re-try acquiring the "
                                "station"};

// The survey report pair.
inline constexpr Box kContinueUploaded{
    "MESSAGE",
    "You have uploaded survey data !\nClick \"YES\" to continue adding stations to this report\nClick \"NO\" to continue "
    "the latest report or create a new one"};
inline constexpr Box kContinueExisting{
    "Message",
    "There's a report file already created in the current WELL folder\nClick \"YES\" to continue adding stations to "
    "this report\nClick \"NO\" to create a new file (current report will not be changed)"};
inline constexpr Box kReportFailed{
    "ERROR", "Output Survey Report File could not be created !\nTry again later, if that doesn't work restart KVR."};
inline constexpr Box kUploadFailed{"FILE ERROR", "The requested file could not be opened"};

inline constexpr const char* kNoPreviousSurvey = "NO_PRESVIOUS_SURVEY_FILE";

}  // namespace kvr::tarnc::text
