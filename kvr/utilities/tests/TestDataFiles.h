#pragma once
// Small KVR data files written through CFileManager into a memory file system, for the
// merge and splice tests and the benchmark.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "common/datafile/DataFileInspection.h"
#include "common/datafile/MemoryFiles.h"
#include "common/datafile/SampleRing.h"
#include "common/records/ChannelStruct.h"
#include "common/records/JobRecord.h"
#include "common/records/SysParameter.h"
#include "common/records/SystemMode.h"

namespace testfiles {

struct FileParts {
  records::ToolList tools;
  records::ChannelList channels;
  std::vector<std::vector<records::ToolParameterS>> parameters;  // one per tool of kind 1
  std::uint8_t direction = kvr::kLogDown;
  std::vector<std::vector<float>> rows;
  std::string well = "W-1";
};

inline records::ToolEntry tool(const std::string& name, std::uint32_t code, std::uint32_t kind = 1) {
  records::ToolEntry t;
  t.name = name;
  t.toolCode = code;
  t.setKind(kind);
  return t;
}

inline records::ToolParameterS parameter(const std::string& mnemonic, float value) {
  records::ToolParameterS p;
  p.mnemonic = mnemonic;
  p.value = value;
  return p;
}

// A block of channels of one tool: base column, indices from 0.
inline void addBlock(records::ChannelList& list, std::uint32_t base, std::uint32_t code,
                     std::initializer_list<const char*> mnemonics) {
  std::uint32_t i = 0;
  for (const char* m : mnemonics) list.push_back({m, "U", base, i++, code});
}

inline void write(kvr::MemoryFileSystem& fs, const std::string& path, const FileParts& s) {
  kvr::CFileManager fm(fs);
  auto folder = std::filesystem::path(path).parent_path();
  fm.createOutputFile(folder, std::filesystem::path(path).stem().string());
  int r = fm.writeToolList(s.tools);
  r |= fm.writeChannelList(s.channels);
  for (const auto& b : s.parameters) r |= fm.writeParameterBlock(b);
  r |= fm.writeDirection(s.direction);
  r |= fm.writeMainSystemParameters(records::defaultSystemParameters(records::kDefaultModeWord));
  records::JobRecord job;
  job.wellName = s.well;
  r |= fm.writeJobRecord(job);
  kvr::SampleRing ring;
  ring.allocate(s.channels.size());
  for (const auto& row : s.rows) {
    std::copy(row.begin(), row.end(), ring.data() + ring.write());
    ring.setWrite(ring.advance(ring.write(), ring.rowWidth()));
    if (ring.distance(ring.flushed(), ring.write()) >= (kvr::SampleRing::kRows - 1) * ring.rowWidth())
      r |= fm.flushRows(ring);
  }
  r |= fm.closeOutput(ring);
  if (r != 0) throw std::runtime_error("test file not written");
}

struct Read {
  kvr::DataFileContents contents;
  std::vector<std::vector<float>> rows;
};

Read read(kvr::MemoryFileSystem& fs, const std::filesystem::path& path);

}  // namespace testfiles
