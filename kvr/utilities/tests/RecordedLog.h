#pragma once
// Writes KVR data files for the converter's tests and benchmark, through CFileManager as
// the logging controller does: a BRIX string (surface channels, CCL1 to CCL4, GR) unless
// the test names its own channels.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "common/datafile/FilePorts.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"

namespace kvr::utilities::testing {

struct RecordedLog {
  std::uint8_t direction = 0;  // 0 down, 1 up, 2 station
  std::int32_t modeWord = 9;   // English high resolution
  float startDepth = 0;        // the "SIMSTARTD" slot
  records::ChannelList channels;
  std::vector<std::vector<float>> rows;  // one vector of channels.size() floats per row
  records::JobRecord job;

  // Surface channels plus a BRIX block; rows are left empty.
  static RecordedLog brix(std::uint8_t direction, bool english);
  // Appends a row whose column 0 is `index` and other columns `base + column`.
  void addRow(float index, float base);
  std::size_t width() const { return channels.size(); }
};

// Writes the file; returns its path (folder / name + ".kvr"). Fails the test on a write error.
std::filesystem::path writeLog(FileSystem& fs, const std::filesystem::path& folder, const std::string& name,
                               const RecordedLog& log);

}  // namespace kvr::utilities::testing
