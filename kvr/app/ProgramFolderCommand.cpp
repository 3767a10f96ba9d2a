#include "kvr/app/ProgramFolderCommand.h"

#include "kvr/app/CKVRApp.h"
#include "kvr/core/SettingKeys.h"

namespace kvr {

bool chooseProgramFolder(platform::Prompter& prompter, platform::Settings& settings,
                         std::filesystem::path& mainFolder) {
  platform::FileRequest request;
  request.filter = kProgramFileFilter;
  request.defaultName = kProgramFileName;
  request.initialDir = mainFolder.string();
  auto chosen = prompter.openFile(request);
  if (!chosen) return false;
  std::string text = *chosen;
  auto cut = text.find_last_of('/');
  if (cut == std::string::npos) return false;
  std::string folder = text.substr(0, cut + 1);
  if (folder == CKVRApp::mainFolderText(mainFolder)) return false;
  settings.setString(keys::kProgramFolders, keys::kMainFolder, folder);
  mainFolder = folder;
  platform::tell(prompter, kNewProgramFolderTitle, kNewProgramFolderText);
  return true;
}

}  // namespace kvr
