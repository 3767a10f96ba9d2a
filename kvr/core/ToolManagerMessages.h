#pragma once
// The texts the tool string manager shows, each next to nothing but its title.

namespace kvr::toolmsg {

inline constexpr const char* kErrorTitle = "ERROR";
inline constexpr const char* kToolListMissing =
    "Tool string list file could not be loaded\nWithout a tool list the ToolString can not be defined";
inline constexpr const char* kInputErrorTitle = "INPUT ERROR";
inline constexpr const char* kDuplicateSpinner = "You shouldnt have duplicated Spinner. Remove the existing one.";
// Entries of a hand-edited tool list that could not be used; the problems follow, one a line.
inline constexpr const char* kToolListProblemsTitle = "WARNING";
inline constexpr const char* kToolListProblems = "Some entries of ToolList.txt could not be read and are left out:";

inline constexpr const char* kTarnBTableTitle = "Tool: TARN-B";
inline constexpr const char* kTarnBTableQuestion =
    "There is an active TARN-B calibration in memory.\nDo you want to keep it to be used during this sesion ?";
// The program's own title, as a message box without a caption of its own shows it.
inline constexpr const char* kDefaultTitle = "KVR";
inline constexpr const char* kTarnCTableQuestion =
    "There is an active TARN-C calibration in memory.\nDo you want to keep it to be used during this sesion ?";

}  // namespace kvr::toolmsg
