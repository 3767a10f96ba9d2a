#include "kvr/app/CKVRApp.h"

#include <system_error>

#include "common/records/SystemMode.h"
#include "kvr/core/SettingKeys.h"

namespace kvr {

namespace {
constexpr int kTelemetryLogUnset = 255;
}

bool CKVRApp::InitInstance(const StartupHooks& hooks) {
  program_.version = kVersion;
  readFolders();              // 4
  readTelemetryLogOption();   // 5
  readUnits();                // 6
  program_.startupFlags =     // 7
      static_cast<std::uint16_t>(settings_.getInt(keys::kOptions, keys::kStartUp, 7));
  readMainFolder();           // 8
  provideShippedFiles(program_.mainFolder, paths_.shippedDataFolder());
  if (hooks.showSplash) hooks.showSplash(program_.version);  // 9
  if (hooks.loadStatusIcons) hooks.loadStatusIcons();        // 10
  if (hooks.initToolsData) hooks.initToolsData();
  program_.modeWord = records::kDefaultModeWord;
  rebuildSystemParameters();
  if (hooks.createMainDialog) hooks.createMainDialog();      // 11
  openRawTelemetryLog();      // 12
  // 13: the operating-system type only chose between Windows families. There is no Windows
  // version to read here, and the NT family is the one whose behaviour this port follows.
  program_.osType = kWindowsNt;
  return true;
}

void CKVRApp::readFolders() {
  program_.calibrationsFolder = settings_.getString(keys::kProgramFolders, keys::kCalibrations, "");
  program_.lastUserAccessed = settings_.getString(keys::kProgramFolders, keys::kLastUserAccessed, "");
  program_.outputFolder = settings_.getString(keys::kProgramFolders, keys::kOutput, "");
}

void CKVRApp::readTelemetryLogOption() {
  if (settings_.getInt(keys::kOptions, keys::kTelemetryLog, kTelemetryLogUnset) == kTelemetryLogUnset) {
    settings_.setInt(keys::kOptions, keys::kTelemetryLog, 1);
  }
  program_.telemetryLogDisabled = settings_.getInt(keys::kOptions, keys::kTelemetryLog, 1) != 0;
}

void CKVRApp::readUnits() {
  const auto& lists = records::unitLists();
  for (std::size_t i = 0; i < lists.size(); ++i) {
    int v = settings_.getInt(keys::kUnits, lists[i].settingName, lists[i].base);
    // A unit code is one byte; anything else stored by hand keeps the default.
    program_.systemUnits.code[i] = static_cast<std::uint8_t>(v >= 0 && v <= 255 ? v : lists[i].base);
  }
}

std::filesystem::path CKVRApp::mainFolderFrom(const std::string& stored) const {
  if (stored.empty() || stored == "C:\\") return paths_.dataRoot();
  if (stored.size() >= 2 && stored[1] == ':') return paths_.fromWindows(stored);
  return std::filesystem::path(stored);
}

ProgramSettings CKVRApp::batchSettings(const platform::Paths& paths, std::int32_t modeWord) {
  ProgramSettings program;
  program.mainFolder = mainFolderText(paths.dataRoot());
  provideShippedFiles(program.mainFolder, paths.shippedDataFolder());
  program.modeWord = modeWord;
  program.depthStep = records::depthStep(modeWord);
  program.systemParameters = records::defaultSystemParameters(modeWord);
  return program;
}

std::string CKVRApp::mainFolderText(const std::filesystem::path& folder) {
  std::string s = folder.string();
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

void CKVRApp::readMainFolder() {
  std::string stored = settings_.getString(keys::kProgramFolders, keys::kMainFolder, "C:\\");
  program_.mainFolder = mainFolderText(mainFolderFrom(stored));
}

// A new user finds a working tool list and presentation file in the main folder.
void CKVRApp::provideShippedFiles(const std::filesystem::path& mainFolder, const std::filesystem::path& shipped) {
  std::error_code ec;
  std::filesystem::create_directories(mainFolder, ec);
  for (const char* name : {"ToolList.txt", "DEFAULT_FORMAT.TXT", "ENGLISH_FORMAT.TXT"}) {
    auto target = mainFolder / name;
    auto source = shipped / name;
    if (!std::filesystem::exists(target, ec) && std::filesystem::exists(source, ec)) {
      std::filesystem::copy_file(source, target, ec);
    }
  }
}

void CKVRApp::rebuildSystemParameters() {
  program_.depthStep = records::depthStep(program_.modeWord);
  program_.systemParameters = records::defaultSystemParameters(program_.modeWord);
}

void CKVRApp::openRawTelemetryLog() {
  program_.rawTelemetryLog.reset();
  if (program_.telemetryLogDisabled) return;
  std::error_code ec;
  std::filesystem::create_directories(paths_.dataRoot(), ec);
  // Created anew at every start; when it cannot be opened start-up simply goes on without it.
  program_.rawTelemetryLog.reset(std::fopen(paths_.telemetryLogFile().c_str(), "wb"));
}

}  // namespace kvr
