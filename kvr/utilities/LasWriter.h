#pragma once
// Writes the data lines of a conversion: reads the rows in large blocks, filters them, and
// for every output index takes the first recorded row that reaches it (a gap in the
// recording repeats that row for every index it jumped over). The header goes first and is
// finished after the last line, so STRT, STOP and STEP agree with the index column.

#include <cstdint>
#include <functional>
#include <vector>

#include "common/datafile/CFileManager.h"
#include "kvr/utilities/LasIndex.h"
#include "kvr/utilities/LasJob.h"
#include "kvr/utilities/LasSource.h"
#include "kvr/utilities/TextOutput.h"

namespace kvr::utilities {

struct LasWriteResult {
  bool ok = true;  // false: the output refused bytes (what was written stays)
  std::int64_t linesWritten = 0;
  std::uint64_t rowsRead = 0;
  std::uint64_t bytesWritten = 0;
};

class LasWriter {
 public:
  // Called after every data line with the number written so far.
  using Progress = std::function<void(std::int64_t linesWritten)>;

  LasWriter(const LasSource& source, const LasJob& job);
  // `input` is open and positioned at the first row.
  LasWriteResult run(CFileManager& input, TextOutput& output, const Progress& progress);

 private:
  enum class Kind : std::uint8_t { Plain, LineSpeed, MergedCcl, StartDepth };
  struct Column {
    std::uint32_t column;
    Kind kind;
    float lastGoodSpeed = 0;  // the last "LSPD" value written that was no spike
    float spikeLimit = 0;     // "LSPD": larger values are spikes, in the channel's unit
  };

  char* writeValue(char* p, Column& c, const float* row);
  char* writeNull(char* p) const;
  char* writeLine(char* p, std::int64_t line, const float* row);
  char* writeWrappedLine(char* p, std::int64_t line, const float* row);
  bool flush(TextOutput& out, char*& p, LasWriteResult& r);

  const LasSource& source_;
  const LasJob& job_;
  IndexGrid grid_;
  std::vector<Column> columns_;
  std::string separator_;
  std::vector<char> buffer_;
};

}  // namespace kvr::utilities
