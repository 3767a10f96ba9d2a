#pragma once
// The fixed places of the program: the data root that stands for the old drive root,
// the folder of the programs, the documents folder, and opening a text file in an editor.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class Paths {
 public:
  virtual ~Paths() = default;
  // Stands for "C:\": the main folder's default, and the parent of KVRFolder and datalog.txt.
  virtual std::filesystem::path dataRoot() const = 0;
  // The folder the kvr program runs from.
  virtual std::filesystem::path programFolder() const = 0;
  // The shipped files (ToolList.txt, DEFAULT_FORMAT.TXT, templates).
  virtual std::filesystem::path shippedDataFolder() const = 0;
  virtual std::filesystem::path documentsFolder() const = 0;
  // Opens a written text file for the user to read; false when nothing could be started.
  virtual bool openInEditor(const std::filesystem::path& file) = 0;

  // "C:\KVRFolder" and "C:\datalog.txt" under the data root.
  std::filesystem::path kvrFolder() const { return dataRoot() / "KVRFolder"; }
  std::filesystem::path telemetryLogFile() const { return dataRoot() / "datalog.txt"; }
  // Maps a stored Windows path ("C:\a\b.txt", "a\b") onto this machine: the drive
  // becomes the data root and backslashes become separators.
  std::filesystem::path fromWindows(std::string_view windowsPath) const;
};

}  // namespace platform
