#pragma once
// The tool and channel lists of a merged file.

#include <cstddef>
#include <string>
#include <vector>

#include "common/records/ChannelStruct.h"

namespace kvr::utilities {

// Room for a renaming suffix behind an 11-character mnemonic in the 20-byte field.
inline constexpr std::size_t kMaxSuffixLength = 8;
inline constexpr std::size_t kMaxMnemonicLength = 19;

// The tools (kind 1) of File 1, then the tools of File 2 whose name is not in File 1;
// accessories are dropped. fromFile2 lists, for each tool of File 2 in order, whether
// the merged list took it.
records::ToolList mergedToolList(const records::ToolList& file1, const records::ToolList& file2,
                                 std::vector<bool>& file2ToolTaken);

// File 2's mnemonic with the suffix, as the 20-byte field keeps it.
std::string renamedMnemonic(const std::string& mnemonic, const std::string& suffix);

// Indices of File 2 channels whose renamed mnemonic equals a File 1 mnemonic.
std::vector<std::size_t> duplicateChannels(const records::ChannelList& file1, const records::ChannelList& file2,
                                           const std::string& suffix);

// File 1's channels followed by the kept File 2 channels (renamed), renumbered so that the
// column of every entry is its position in the list: each block (a run that starts at
// index 0 in its file) starts one column after the previous entry, and the entries of a
// block count up from 0 without gaps, also where a dropped duplicate left one.
records::ChannelList mergedChannelList(const records::ChannelList& file1, const records::ChannelList& file2,
                                       const std::vector<bool>& file2Kept, const std::string& suffix);

// Columns of a file's row to copy, one per channel entry (base + index).
std::vector<std::size_t> sourceColumns(const records::ChannelList& channels);
std::vector<std::size_t> sourceColumns(const records::ChannelList& channels, const std::vector<bool>& kept);

}  // namespace kvr::utilities
