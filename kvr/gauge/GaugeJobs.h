#pragma once
// What the job table and the recording program uploaded from the gauge say: the jobs that
// can be downloaded, the counts of "Memory Gauge Status", and the program entries in order.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "toolslib/vunt/GaugeRecords.h"

namespace kvr::gauge {

struct GaugeJob {
  std::uint16_t startPage = 0;
  std::uint32_t samples = 0;
};

// Jobs 1 to n: up to ten, stopping at the first word that is 0 or does not increase on the
// one before (such a table would give a negative count).
std::vector<GaugeJob> listJobs(std::span<const std::uint16_t> table);

// "Memory Gauge Status": the leading non-zero words (at most 11 examined, shown at most 10)
// and 105 x the last non-zero word among words 9 down to 1 (word 0 when they are all 0).
int recordedJobCount(std::span<const std::uint16_t> table);
std::uint32_t allocatedSamples(std::span<const std::uint16_t> table);

struct ProgramEntry {
  std::uint16_t minutes = 0;
  std::uint16_t intervalS = 0;
};

// Reads the program's 5-byte entries in order, never past its uploaded length.
class ProgramReader {
 public:
  ProgramReader(std::span<const std::uint8_t> buffer, std::size_t length);
  // The next entry; none at the end of the uploaded program.
  std::optional<ProgramEntry> next();

 private:
  std::span<const std::uint8_t> program_;
  std::size_t at_ = 0;
};

}  // namespace kvr::gauge
