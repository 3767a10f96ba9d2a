#pragma once
// The memory gauge's texts and captions, byte for byte as the operator sees them.

namespace kvr::gauge::text {

inline constexpr const char* kPanelTitle = "Data Latch Manager";
inline constexpr const char* kStatusTitle = "Memory Gauge Status";
inline constexpr const char* kDownloadTitle = "Memory Gauge Download Data";
inline constexpr const char* kDatePickerTitle = "DATE PICKER";

inline constexpr const char* kError = "ERROR";
inline constexpr const char* kErrorLower = "Error";
inline constexpr const char* kMessage = "MESSAGE";
inline constexpr const char* kWarning = "WARNING";
inline constexpr const char* kFatal = "FATAL ERROR";

inline constexpr const char* kModes[8] = {"Please Wait...",
                                          "Looking for Device...",
                                          "Online Data",
                                          "Uploading Calibration...",
                                          "Uploading Program...",
                                          "Uploading Memory Data (A)...",
                                          "Uploading Memory Data (B)...",
                                          "Uploading Job Table..."};
inline constexpr const char* kLinkDown = "Link is Down !";
inline constexpr const char* kLinkUp = "Link is Up !";

inline constexpr const char* kStageError =
    "Downhole Tool did not acknoledge last command!\nTry connect to tool again\nStage Error: %d";
inline constexpr const char* kEraseQuestion = "Are you sure to delete all jobs data in the downhole gauge ?";
inline constexpr const char* kEraseDone = "All Jobs have been successfully reset !";
inline constexpr const char* kEraseFailed = "Error while reseting FAT table\nPlease repeat sending the command";
inline constexpr const char* kGoFailed = "Error while sending GO command !\nPlease repeat sending the command";
inline constexpr const char* kNewJobQuestion = "Are you sure you want to start a new job in the memory gauge ?";
inline constexpr const char* kNewJobDone =
    "The memory gaguge has been re-started !\nA new Job record should be on going, please after 30 sec check the "
    "gauge status\nby pressing -Check Rec- button";
inline constexpr const char* kCheckDone = "a New Job has been succesfully started and the gauge is now recording !";
inline constexpr const char* kNotRecording = "Error: Memory Gauge is not recording !\nPlease repeat this command";
inline constexpr const char* kHalfAFailed = "Error en la recepcion de pagina A";
inline constexpr const char* kHalfBFailed = "Error en la recepcion de pagina B";
inline constexpr const char* kLinkUnreliable = "Downhole link is not reliable !\nIt is too difficult to get data from the tool";
inline constexpr const char* kNoJob = "There is no JOB recorded.\nThe Tool connected does not have any data to download";
inline constexpr const char* kTextOpenFailed = "The requested file could not be opened";
inline constexpr const char* kBinaryOpenFailed = "The asociated binary file could not be opened";
// A write that fails part way (a full disk) ends the download with these.
inline constexpr const char* kTextWriteFailed = "The requested file could not be written";
inline constexpr const char* kBinaryWriteFailed = "The asociated binary file could not be written";
inline constexpr const char* kDownloaded = "Memory successfully downloaded";

inline constexpr const char* kSaveFilter = "TXT ASCII files (*.txt)|*.txt||";
inline constexpr const char* kSaveExtension = "TXT";

}  // namespace kvr::gauge::text
