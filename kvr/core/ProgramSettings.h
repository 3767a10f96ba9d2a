#pragma once
// What KVR keeps for the life of the process once start-up has read the settings.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/records/SysParameter.h"
#include "common/records/SystemUnits.h"

namespace kvr {

// Start-up flags ("Options"/"StartUp").
constexpr std::uint16_t kLoadLatestMonitorFile = 1;
constexpr std::uint16_t kLoadPresentationFormats = 2;
constexpr std::uint16_t kRearrangeAllWindows = 4;

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f) std::fclose(f);
  }
};
using TextFile = std::unique_ptr<std::FILE, FileCloser>;

struct ProgramSettings {
  std::string version = "2.5.2";
  std::string calibrationsFolder;
  std::string lastUserAccessed;
  std::string outputFolder;
  bool telemetryLogDisabled = true;  // "TelemetryLog" non-zero
  records::SystemUnitsS systemUnits;
  std::uint16_t startupFlags = 7;
  std::filesystem::path mainFolder;  // ends in a separator
  std::int32_t modeWord = 10;
  double depthStep = 0.1;
  std::vector<records::SysParameterS> systemParameters;
  TextFile rawTelemetryLog;  // open while "TelemetryLog" is 0
  std::uint8_t osType = 0;
};

}  // namespace kvr
