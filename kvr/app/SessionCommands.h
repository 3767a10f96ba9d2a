#pragma once
// "&Save Session" and "&Load Previous Session": the static data of a data file without rows,
// and SESSION.INI beside it in the session folder.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "kvr/app/LoggingStation.h"
#include "kvr/core/SessionIni.h"

namespace kvr {

inline constexpr const char* kNoSessionTitle = "MESSAGE";
inline constexpr const char* kNoSessionText =
    "No session has been defined, please select <Job Data> and <Define ToolString>\nin order to define one";
inline constexpr const char* kSessionIniFailedTitle = "MESSAGE";
inline constexpr const char* kSessionIniFailedText = "The Session enviroment file could not be saved";
inline constexpr const char* kSessionFileFilter = "KVR Files (*.KVR)|*.KVR||";
inline constexpr const char* kSessionDefaultName = "MySession";
inline constexpr const char* kDataFileFilter = "KVR Data files (*.kvr)|*.kvr||";

// Saves the session; the window positions come from the caller. The file written, if any.
std::optional<std::filesystem::path> saveSession(LoggingStation& station, platform::Prompter& prompter, ProgramSettings& program,
                 const SessionIni& windows);
// Loads a saved session or a recorded file (its static data only); true when the session started.
// The start-up flags decide the rest: positionWindow moves a window named by its SESSION.INI
// key ("Re-Arrange All Windows"), loadPresentationFormats reads DEFAULT_FORMAT.TXT of the main
// folder ("Load Presentation Formats"), reopenMonitors opens the monitors window with the monitor
// file of SESSION.INI, empty when there is none or it is gone ("Load Latest Monitor File").
struct SessionLoadSteps {
  std::function<void(const std::string& key, int left, int top)> positionWindow;
  std::function<void()> loadPresentationFormats;
  std::function<void(const std::string& monitorFile)> reopenMonitors;
};
bool loadSession(LoggingStation& station, platform::Prompter& prompter, ProgramSettings& program,
                 const SessionLoadSteps& steps = {});

}  // namespace kvr
