#include "kvr/app/UtilityCommands.h"

namespace kvr {

void prepareConverter(utilities::CKvrToAscii& converter, LoggingStation& station, const platform::Paths& paths) {
  converter.setSessionFolder(station.session().started() ? station.session().sessionFolder() : paths.kvrFolder());
  converter.setRecordingFile([&station] {
    const auto& dialog = station.dialog();
    return dialog.logRunning() || dialog.playbackRunning() ? dialog.outputFile() : std::filesystem::path();
  });
}

}  // namespace kvr
