#pragma once
// SESSION.INI in the session folder: the monitor file in use and the window positions.

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/datafile/FilePorts.h"

namespace kvr {

inline constexpr const char* kSessionIniName = "SESSION.INI";

struct WindowPosition {
  std::string key;  // "MAIN_DLG", "MONITORS_DLG", "TARN-B_DLG", "TARN-C_DLG", "VUNT_DLG"
  int left = 0;
  int top = 0;
  friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

struct SessionIni {
  std::optional<std::string> monitorFile;
  std::vector<WindowPosition> windows;  // in the order they are written; MAIN_DLG first
};

std::string formatSessionIni(const SessionIni& ini);
bool writeSessionIni(FileSystem& fs, const std::filesystem::path& sessionFolder, const SessionIni& ini);

// The monitor file after "[MONITOR_FILE]", if any.
std::optional<std::string> sessionMonitorFile(const std::string& text);
// The position stored for a key in "[WIN_COORDINATES]", read up to "[END]"; nullopt when the
// key is missing or its numbers do not read.
std::optional<std::pair<int, int>> sessionWindowPosition(const std::string& text, const std::string& key);

}  // namespace kvr
