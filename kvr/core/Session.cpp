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
  std::filesystem::path folder;
  if (!createFolders(edited, folder)) return false;
  job_ = edited;
  sessionFolder_ = folder;
  if (job_.userName.empty() || job_.client.empty() || job_.wellName.empty()) {
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
