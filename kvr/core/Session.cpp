#include "kvr/core/Session.h"

#include "kvr/core/SessionFolders.h"

namespace kvr {

bool Session::createFolders(const records::JobRecord& job, std::filesystem::path& folder) {
  if (createSessionFolders(fs_, dataFolder_, job.userName, job.client, job.wellName, folder) != 0) {
    platform::tell(prompter_, kFoldersFailed.title, kFoldersFailed.text, platform::Icon::Error);
    return false;
  }
  return true;
}

bool Session::confirmJobData(const records::JobRecord& edited) {
  const bool namesMissing = edited.userName.empty() || edited.client.empty() || edited.wellName.empty();
  // A running session stays whole: its later logs never move into a half-named folder.
  if (namesMissing && started_) {
    platform::tell(prompter_, kNamesMissingTitle, kNamesMissingText, platform::Icon::Warning);
    return false;
  }
  std::filesystem::path folder;
  if (!createFolders(edited, folder)) return false;
  job_ = edited;
  sessionFolder_ = folder;
  if (namesMissing) {
    platform::tell(prompter_, kNamesMissingTitle, kNamesMissingText, platform::Icon::Warning);
    return false;
  }
  started_ = true;
  return true;
}

bool Session::adopt(const records::JobRecord& loaded) {
  std::filesystem::path folder;
  if (!createFolders(loaded, folder)) return false;
  job_ = loaded;
  sessionFolder_ = folder;
  started_ = true;
  return true;
}

}  // namespace kvr
