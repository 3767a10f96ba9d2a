#pragma once
// "&Tool Parameters", "&Calibrations" and "Create &Report List" over the logging station:
// the editors get the station's TOOLS library, tool string, telemetry and files, and their
// reports go to the session folder (the KVR folder before a session starts).

#include <filesystem>
#include <memory>

#include "kvr/app/LoggingStation.h"
#include "kvr/calibration/CCaliManager.h"
#include "kvr/calibration/CParaManager.h"
#include "kvr/calibration/TeleSender.h"

namespace kvr {

// The folder the reports go to.
std::filesystem::path reportFolder(LoggingStation& station, platform::Paths& paths);

// Shows the message and answers false when no tool string has been declared (the entries
// then open nothing rather than an editor without an array).
bool haveToolString(LoggingStation& station, platform::Prompter& prompter);

class ToolParameters {
 public:
  explicit ToolParameters(LoggingStation& station)
      : sender_(station.telemetry()), editor_(station.library(), station.tools().toolList(), sender_) {}
  CParaManager& editor() { return editor_; }

 private:
  TeleSender sender_;
  CParaManager editor_;
};

// The calibration dialog's behaviour while it is open; the report stays open with it.
class Calibrations {
 public:
  Calibrations(LoggingStation& station, platform::Prompter& prompter, platform::EventLoop& loop,
               platform::Clock& clock, platform::Paths& paths, CalibrationView& view);
  CCaliManager& manager() { return *manager_; }

 private:
  LibraryFamilies families_;
  TeleSender sender_;
  std::unique_ptr<CCaliManager> manager_;
};

// "Create &Report List": the path written, or empty.
std::filesystem::path createReportList(LoggingStation& station, platform::Prompter& prompter,
                                       const platform::Clock& clock, platform::Paths& paths,
                                       const std::vector<records::SysParameterS>& system);

}  // namespace kvr
