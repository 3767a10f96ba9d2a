#pragma once
// "Program Folder": the main folder is the folder of a chosen kvr program.

#include <filesystem>
#include <string>

#include "platform/Prompter.h"
#include "platform/Settings.h"

namespace kvr {

inline constexpr const char* kNewProgramFolderText =
    "A new specified program folder has been set !\nBe sure this is the right folder or return to the last working folder";
inline constexpr const char* kNewProgramFolderTitle = "MESSAGE";
// The program here is "kvr"; the old name is still offered for folders copied from elsewhere.
inline constexpr const char* kProgramFileFilter = "KVR program (kvr)|kvr|EXE Files (*.EXE)|*.EXE||";
inline constexpr const char* kProgramFileName = "kvr";

// Asks for the program file; returns true when the main folder changed (and was stored).
bool chooseProgramFolder(platform::Prompter& prompter, platform::Settings& settings,
                         std::filesystem::path& mainFolder);

}  // namespace kvr
