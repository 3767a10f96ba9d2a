// Any bytes as a KVR data file: the full read sequence by stored counts, the documented
// sequence with the counts a session would expect, the summary check and the rows to the end.
// Checks that a sound result describes the file exactly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/datafile/DataFileInspection.h"
#include "common/datafile/FileCounter.h"
#include "common/datafile/MemoryFiles.h"

namespace {

void readExpected(kvr::CFileManager& fm, std::size_t expected) {
  records::ToolList tools;
  records::ChannelList channels;
  if (fm.readToolList(tools) || fm.readChannelList(channels)) return;
  for (const auto& t : tools) {
    if (!t.isTool()) continue;
    std::vector<records::ToolParameterS> block(expected);
    if (fm.readParameterBlock(block)) return;
  }
  std::uint8_t d = 0;
  std::vector<records::SysParameterS> sys;
  records::JobRecord job;
  if (fm.readDirection(d) || fm.readMainSystemParameters(sys) || fm.readJobRecord(job)) return;
  kvr::DataFileSummary s;
  if (fm.summaryCheck(kvr::kSectionRows, s) != 0) return;
  std::vector<float> rows(channels.size() * 64 + 1);
  while (fm.readWholeRows(rows, channels.size()) > 0) {
  }
  std::size_t got = 0;
  fm.readRows(rows, got);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kvr::MemoryFileSystem fs;
  fs.setFile("in.kvr", std::vector<std::uint8_t>(data, data + size));
  kvr::CFileManager fm(fs);
  kvr::DataFileContents c;
  const int r = kvr::inspectDataFile(fm, "in.kvr", c);
  if (r != 0 && r != -1 && r != -2) __builtin_trap();
  if (r == 0) {
    const auto& s = c.summary;
    const std::uint64_t rowBytes = std::uint64_t{s.rowWidth} * 4;
    if (s.wholeRows == 0 || s.sectionStart[kvr::kSectionRows] + s.wholeRows * rowBytes + s.trailingBytes != size ||
        s.trailingBytes >= rowBytes || c.channels.size() != s.rowWidth || c.jobRecord.size() != 1640 ||
        fm.inputPosition() != s.sectionStart[kvr::kSectionRows])
      __builtin_trap();
  }
  // Other positions for the summary check, then the sequence a session would run.
  kvr::DataFileSummary s;
  fm.summaryCheck(size > 0 ? data[0] % 9 : 0, s);
  if (fm.openInput("in.kvr") == 0) readExpected(fm, size > 1 ? data[size - 1] % 4 : 0);
  return 0;
}
