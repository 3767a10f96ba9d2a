#include "kvr/app/CalibrationCommands.h"

#include "kvr/calibration/CalibrationMessages.h"
#include "kvr/calibration/ParameterReport.h"

namespace kvr {

std::filesystem::path reportFolder(LoggingStation& station, platform::Paths& paths) {
  if (station.session().started()) return station.session().sessionFolder();
  std::error_code ignored;
  std::filesystem::create_directories(paths.kvrFolder(), ignored);
  return paths.kvrFolder();
}

bool haveToolString(LoggingStation& station, platform::Prompter& prompter) {
  for (const auto& entry : station.tools().toolList())
    if (entry.isTool()) return true;
  platform::tell(prompter, cal_text::kTitleError, cal_text::kNoToolString, platform::Icon::Error);
  return false;
}

Calibrations::Calibrations(LoggingStation& station, platform::Prompter& prompter, platform::EventLoop& loop,
                           platform::Clock& clock, platform::Paths& paths, CalibrationView& view)
    : families_(station.library()), sender_(station.telemetry()) {
  manager_ = std::make_unique<CCaliManager>(
      CalibrationPorts{families_, sender_, prompter, loop, clock, view, station.fileSystem()},
      station.tools().toolList(), reportFolder(station, paths));
}

std::filesystem::path createReportList(LoggingStation& station, platform::Prompter& prompter,
                                       const platform::Clock& clock, platform::Paths& paths,
                                       const std::vector<records::SysParameterS>& system) {
  const ParameterReportInput input{system, station.library(), station.tools().toolList()};
  return writeParameterReport(station.fileSystem(), reportFolder(station, paths), input, clock, prompter);
}

}  // namespace kvr
