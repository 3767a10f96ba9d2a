#pragma once
// The application object: the start-up sequence from the settings to the main dialog.

#include <functional>

#include "kvr/core/ProgramSettings.h"
#include "platform/Paths.h"
#include "platform/Settings.h"

namespace kvr {

// The parts of start-up that belong to windows and libraries, supplied by the program.
struct StartupHooks {
  std::function<void(const std::string& version)> showSplash;  // modal; closes itself after 2 s
  std::function<void()> loadStatusIcons;
  std::function<void()> initToolsData;  // the TOOLS library's initialisation
  std::function<void()> createMainDialog;
};

class CKVRApp {
 public:
  static constexpr const char* kSettingsKey = "KVR - Varexa";
  static constexpr const char* kVersion = "2.5.2";
  static constexpr std::uint8_t kWindowsNt = 16;

  CKVRApp(platform::Settings& settings, platform::Paths& paths) : settings_(settings), paths_(paths) {}

  // Runs the start-up steps in their order; returns true so that the event loop runs.
  bool InitInstance(const StartupHooks& hooks);

  ProgramSettings& program() { return program_; }
  const ProgramSettings& program() const { return program_; }

  // Maps the stored "Main Folder" text onto this machine; "C:\" is the data root.
  std::filesystem::path mainFolderFrom(const std::string& stored) const;
  // Text stored for a main folder, with a trailing separator.
  static std::string mainFolderText(const std::filesystem::path& folder);

  // Copies the shipped ToolList.txt and DEFAULT_FORMAT.TXT into a main folder that lacks them.
  static void provideShippedFiles(const std::filesystem::path& mainFolder, const std::filesystem::path& shipped);

  // What a program without the settings starts with: the main folder at the data root with
  // the shipped files, the mode word, its depth step and the system parameter defaults.
  static ProgramSettings batchSettings(const platform::Paths& paths, std::int32_t modeWord);

  // Rebuilds the system parameter table with its defaults for the current mode word.
  void rebuildSystemParameters();

 private:
  void readFolders();
  void readTelemetryLogOption();
  void readUnits();
  void readMainFolder();
  void openRawTelemetryLog();

  platform::Settings& settings_;
  platform::Paths& paths_;
  ProgramSettings program_;
};

}  // namespace kvr
