#pragma once
// The folders of a session under the data folder ("KVRFolder" under the data root):
// the data folder, the user's folder, "Clients", the client's folder and the well's folder,
// which is the session folder.

#include <filesystem>
#include <string>

#include "common/datafile/FilePorts.h"

namespace kvr {

struct FolderMessage {
  const char* title;
  const char* text;
};
// Shown by the caller when createSessionFolders fails.
inline constexpr FolderMessage kFoldersFailed{
    "FATAL", "Error while creating program folders, exit the program\nand check for enough disk space !"};

// Creates the folders in order, each if missing. Returns 0 and sets sessionFolder, or -1 at
// the first folder that cannot be created. A name holding a path separator, or "." or "..",
// would reach outside its parent folder and fails the same way.
int createSessionFolders(FileSystem& fs, const std::filesystem::path& dataFolder, const std::string& user,
                         const std::string& client, const std::string& well, std::filesystem::path& sessionFolder);

// The session folder the names give, without creating anything.
std::filesystem::path sessionFolderOf(const std::filesystem::path& dataFolder, const std::string& client,
                                      const std::string& well);

}  // namespace kvr
