#pragma once
// Reads a whole data file the way an inspector needs it: every section by its stored counts,
// so a file written with other parameter-list lengths opens too, then the summary check.

#include <filesystem>
#include <vector>

#include "common/datafile/CFileManager.h"

namespace kvr {

struct DataFileContents {
  records::ToolList tools;
  records::ChannelList channels;
  std::vector<std::vector<records::ToolParameterS>> parameterBlocks;  // per tool of kind 1
  std::uint8_t direction = 0;
  std::vector<records::SysParameterS> mainParameters;
  std::vector<std::uint8_t> jobRecord;  // the 1640 bytes, for jobFieldText
  DataFileSummary summary;
};

// Opens the file and reads it in the documented order, ending with the summary check that
// leaves the input at the first row. Returns the first failure: -1 or -2.
int inspectDataFile(CFileManager& fm, const std::filesystem::path& file, DataFileContents& contents);
// The same over an input already open at the file start.
int inspectOpenDataFile(CFileManager& fm, DataFileContents& contents);

}  // namespace kvr
