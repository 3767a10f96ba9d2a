#include "kvr/core/SessionFolders.h"

#include "common/records/FileNameRule.h"

namespace kvr {

namespace {
bool safeName(const std::string& name) { return records::nameStaysInFolder(name); }
}  // namespace

std::filesystem::path sessionFolderOf(const std::filesystem::path& dataFolder, const std::string& client,
                                      const std::string& well) {
  return dataFolder / "Clients" / client / well;
}

int createSessionFolders(FileSystem& fs, const std::filesystem::path& dataFolder, const std::string& user,
                         const std::string& client, const std::string& well, std::filesystem::path& sessionFolder) {
  const std::filesystem::path clients = dataFolder / "Clients";
  const std::filesystem::path order[] = {dataFolder, dataFolder / user, clients, clients / client,
                                         clients / client / well};
  const bool names[] = {true, safeName(user), true, safeName(client), safeName(well)};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    if (!names[i] || fs.createFolder(order[i]) == FolderResult::Failed) return -1;
  }
  sessionFolder = order[4];
  return 0;
}

}  // namespace kvr
