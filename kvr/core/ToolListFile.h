#pragma once
// ToolList.txt: the tools and accessories the "ToolString Manager" offers and the description
// of each. A file users edit by hand: every block may be missing, descriptions may be cut
// short or hold text where a number belongs. Whatever cannot be used is left out with one
// line in problems; nothing half-read becomes a tool entry.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "common/records/ChannelStruct.h"

namespace kvr {

struct ToolListFile {
  std::vector<std::string> tools;        // "&STARTLIST" ... "&ENDLIST"
  std::vector<std::string> accessories;  // "&STARTACSESORY" ... "&ENDACSESORY"
  // "&STARTSTRUCT" ... "&ENDSTRUCT": key (the name as listed) and its entry, in file order.
  std::vector<std::pair<std::string, records::ToolEntry>> descriptions;
  std::vector<std::string> problems;

  // The first description of a listed name; nullptr when there is none.
  const records::ToolEntry* find(std::string_view listedName) const;
  // A tool entry for a string item: the description with the serial number in the kind word.
  std::optional<records::ToolEntry> makeEntry(std::string_view listedName, std::uint32_t serial) const;
};

constexpr std::size_t kToolNameMax = 11;  // the 12-byte name field keeps its NUL
constexpr std::size_t kToolListMaxBytes = 4 * 1024 * 1024;

ToolListFile parseToolList(std::string_view text);
// nullopt when the file cannot be read.
std::optional<ToolListFile> loadToolList(FileSystem& fs, const std::filesystem::path& path);

}  // namespace kvr
