#include "kvr/app/SessionCommands.h"

#include "common/datafile/FileMessages.h"
#include "common/records/SystemMode.h"
#include "kvr/core/SessionFolders.h"
#include "kvr/logging/StaticData.h"

namespace kvr {

namespace {
constexpr std::uint8_t kDirection = 0;  // a saved session carries the current log direction
}

std::optional<std::filesystem::path> saveSession(LoggingStation& station, platform::Prompter& prompter, ProgramSettings& program,
                 const SessionIni& windows) {
  auto& tools = station.tools();
  if (tools.toolList().empty() || !station.session().started()) {
    platform::tell(prompter, kNoSessionTitle, kNoSessionText);
    return std::nullopt;
  }
  platform::FileRequest request;
  request.filter = kSessionFileFilter;
  request.defaultName = kSessionDefaultName;
  request.defaultExtension = "KVR";
  request.initialDir = station.session().sessionFolder().string();
  auto chosen = prompter.saveFile(request);
  if (!chosen) return std::nullopt;
  CFileManager files(station.fileSystem());
  // The data file manager adds ".kvr" itself.
  std::filesystem::path path(*chosen);
  std::string ext = path.extension().string();
  std::string name = (ext == ".kvr" || ext == ".KVR") ? path.stem().string() : path.filename().string();
  if (files.createOutputFile(path.parent_path(), name) != 0) {
    platform::tell(prompter, "ERROR", kOpenInputFailed.text, platform::Icon::Error);
    return std::nullopt;
  }
  const bool logging = tools.depthLogRunning() || tools.stationLogRunning();
  program.systemParameters[records::kSvyMode].value = static_cast<float>(program.modeWord);
  int r = writeStaticData(files, tools, logging ? static_cast<std::uint8_t>(tools.direction()) : kDirection,
                          program.systemParameters, station.session().job());
  r |= files.closeOutput();
  if (r != 0) {
    show(prompter, kStaticWriteFailed);
    return std::nullopt;
  }
  if (!writeSessionIni(station.fileSystem(), station.session().sessionFolder(), windows)) {
    platform::tell(prompter, kSessionIniFailedTitle, kSessionIniFailedText);
  }
  return files.lastFilePath();
}

bool loadSession(LoggingStation& station, platform::Prompter& prompter, ProgramSettings& program,
                 const SessionLoadSteps& steps) {
  platform::FileRequest request;
  request.filter = kDataFileFilter;
  request.initialDir = station.session().started() ? station.session().sessionFolder().string()
                                                   : station.session().dataFolder().string();
  auto chosen = prompter.openFile(request);
  if (!chosen) return false;
  CFileManager files(station.fileSystem());
  if (files.openInput(*chosen) != 0) {
    show(prompter, kOpenInputFailed);
    return false;
  }
  auto& tools = station.tools();
  StoredStaticData stored;
  records::JobRecord job;
  int r = readStaticData(files, tools.tools(), program.systemParameters, stored);
  if (r == 0) r = files.readJobRecord(job);
  files.closeInput();
  if (r != 0) {
    show(prompter, readFailureMessage(r));
    return false;
  }
  // The folders are made before anything is replaced: a session that cannot be adopted
  // leaves the tool string, its parameters and the mode word as they were.
  if (!station.session().adopt(job)) return false;
  adoptStaticData(stored, tools, program);
  tools.createChannels();
  tools.allocateRing();
  tools.initialiseTools(program.modeWord);
  station.menu().onJobDataConfirmed();

  // SESSION.INI, when there is one.
  auto text = station.fileSystem().readText(station.session().sessionFolder() / kSessionIniName, 1 << 20);
  if (text && (program.startupFlags & kLoadLatestMonitorFile) && steps.reopenMonitors) {
    std::string file = sessionMonitorFile(*text).value_or(std::string());
    if (!file.empty() && !station.fileSystem().openInput(file)) file.clear();
    steps.reopenMonitors(file);
  }
  if (text && (program.startupFlags & kRearrangeAllWindows) && steps.positionWindow) {
    for (const char* key : {"MAIN_DLG", "MONITORS_DLG", "TARN-B_DLG", "TARN-C_DLG", "VUNT_DLG"}) {
      if (auto pos = sessionWindowPosition(*text, key)) steps.positionWindow(key, pos->first, pos->second);
    }
  }
  if ((program.startupFlags & kLoadPresentationFormats) && steps.loadPresentationFormats)
    steps.loadPresentationFormats();
  return true;
}

}  // namespace kvr
