#include "kvr/core/CToolSelector.h"

#include <algorithm>

#include "common/datafile/FileMessages.h"

namespace kvr {
namespace {
constexpr const char* kFilter = "KVR Data files (*.kvr)|*.kvr||";
}

CToolSelector::CToolSelector(CToolManager& manager, CFileManager& files, platform::Prompter& prompter)
    : manager_(manager), files_(files), prompter_(prompter) {}

bool CToolSelector::chooseFile(const std::filesystem::path& sessionFolder) {
  platform::FileRequest request;
  request.filter = kFilter;
  request.defaultExtension = "kvr";
  request.initialDir = sessionFolder.string();
  const auto path = prompter_.openFile(request);
  if (!path) return false;
  return readFile(*path);
}

bool CToolSelector::readFile(const std::filesystem::path& path) {
  stored_.clear();
  candidates_.clear();
  if (files_.openInput(path) != 0) {
    show(prompter_, kOpenInputFailed);
    return false;
  }
  records::ToolList fileTools;
  records::ChannelList fileChannels;
  int r = files_.readToolList(fileTools);
  if (r == 0) r = files_.readChannelList(fileChannels);
  for (const auto& tool : fileTools) {
    if (r != 0) break;
    if (!tool.isTool()) continue;
    Stored s{tool.name, tool.code(), {}};
    r = files_.readStoredParameterBlock(s.block);
    stored_.push_back(std::move(s));
  }
  files_.closeInput();
  if (r != 0) {
    show(prompter_, readFailureMessage(r));
    stored_.clear();
    return false;
  }
  for (const auto& s : stored_) {
    const auto& current = manager_.toolList();
    const bool present = std::any_of(current.begin(), current.end(),
                                     [&](const records::ToolEntry& t) { return t.isTool() && t.name == s.name; });
    if (present && std::find(candidates_.begin(), candidates_.end(), s.name) == candidates_.end())
      candidates_.push_back(s.name);
  }
  return true;
}

int CToolSelector::apply(const std::vector<std::string>& chosen) {
  int loaded = 0;
  for (const auto& name : chosen) {
    auto stored = std::find_if(stored_.begin(), stored_.end(), [&](const Stored& s) { return s.name == name; });
    if (stored == stored_.end()) continue;
    for (const auto& tool : manager_.toolList()) {
      if (!tool.isTool() || tool.name != name) continue;
      tools::Family* family = manager_.tools().family(tool.code());
      if (!family) break;
      if (family->loadParameterList(stored->block, true)) ++loaded;
      else show(prompter_, kIntegrityFailed);
      break;
    }
  }
  return loaded;
}

}  // namespace kvr
