#include "kvr/utilities/MergeLists.h"

#include <algorithm>
#include <set>

namespace kvr::utilities {

records::ToolList mergedToolList(const records::ToolList& file1, const records::ToolList& file2,
                                 std::vector<bool>& file2ToolTaken) {
  records::ToolList out;
  std::set<std::string> names;
  for (const auto& t : file1) {
    if (!t.isTool()) continue;
    out.push_back(t);
    names.insert(t.name);
  }
  file2ToolTaken.clear();
  for (const auto& t : file2) {
    if (!t.isTool()) continue;
    bool take = names.count(t.name) == 0;
    file2ToolTaken.push_back(take);
    if (take) out.push_back(t);
  }
  return out;
}

std::string renamedMnemonic(const std::string& mnemonic, const std::string& suffix) {
  std::string name = mnemonic + suffix;
  if (name.size() > kMaxMnemonicLength) name.resize(kMaxMnemonicLength);
  return name;
}

std::vector<std::size_t> duplicateChannels(const records::ChannelList& file1, const records::ChannelList& file2,
                                           const std::string& suffix) {
  std::set<std::string> names;
  for (const auto& c : file1) names.insert(c.mnemonic);
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < file2.size(); ++i)
    if (names.count(renamedMnemonic(file2[i].mnemonic, suffix))) out.push_back(i);
  return out;
}

namespace {
// Appends a file's kept entries; a new block starts at each entry of index 0 and at the
// first entry of the file.
void appendRenumbered(records::ChannelList& out, const records::ChannelList& in, const std::vector<bool>* kept,
                      const std::string* suffix) {
  long block = -1;      // block of the file the last appended entry came from
  long current = -1;    // block of the entry being looked at
  std::uint32_t base = 0;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (i == 0 || in[i].index == 0) ++current;
    if (kept && !(*kept)[i]) continue;
    records::ChannelStruct c = in[i];
    if (suffix) c.mnemonic = renamedMnemonic(c.mnemonic, *suffix);
    const auto position = static_cast<std::uint32_t>(out.size());
    if (current != block) {
      base = position;
      block = current;
    }
    c.baseColumn = base;
    c.index = position - base;
    out.push_back(c);
  }
}
}  // namespace

records::ChannelList mergedChannelList(const records::ChannelList& file1, const records::ChannelList& file2,
                                       const std::vector<bool>& file2Kept, const std::string& suffix) {
  records::ChannelList out;
  appendRenumbered(out, file1, nullptr, nullptr);
  appendRenumbered(out, file2, &file2Kept, &suffix);
  return out;
}

std::vector<std::size_t> sourceColumns(const records::ChannelList& channels) {
  std::vector<std::size_t> out;
  for (const auto& c : channels) out.push_back(c.column());
  return out;
}

std::vector<std::size_t> sourceColumns(const records::ChannelList& channels, const std::vector<bool>& kept) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < channels.size(); ++i)
    if (kept[i]) out.push_back(channels[i].column());
  return out;
}

}  // namespace kvr::utilities
