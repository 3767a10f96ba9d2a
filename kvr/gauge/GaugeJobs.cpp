#include "kvr/gauge/GaugeJobs.h"

#include <algorithm>

namespace kvr::gauge {

namespace v = tools::vunt;

std::vector<GaugeJob> listJobs(std::span<const std::uint16_t> table) {
  std::vector<GaugeJob> jobs;
  std::uint16_t previous = 0;
  for (std::size_t i = 0; i < table.size() && i < v::kMaxJobs; ++i) {
    const std::uint16_t end = table[i];
    if (end == 0 || end <= previous) break;
    jobs.push_back({previous, static_cast<std::uint32_t>((end - previous) * v::kSamplesPerPage)});
    previous = end;
  }
  return jobs;
}

int recordedJobCount(std::span<const std::uint16_t> table) {
  int n = 0;
  while (static_cast<std::size_t>(n) < table.size() && n < 11 && table[static_cast<std::size_t>(n)] != 0) ++n;
  return std::min(n, 10);
}

std::uint32_t allocatedSamples(std::span<const std::uint16_t> table) {
  std::uint16_t last = table.empty() ? 0 : table[0];
  for (std::size_t i = std::min<std::size_t>(9, table.size() - 1); table.size() > 1 && i >= 1; --i) {
    if (table[i] != 0) {
      last = table[i];
      break;
    }
  }
  return static_cast<std::uint32_t>(last) * v::kSamplesPerPage;
}

ProgramReader::ProgramReader(std::span<const std::uint8_t> buffer, std::size_t length)
    : program_(buffer.first(std::min(length, buffer.size()))) {}

std::optional<ProgramEntry> ProgramReader::next() {
  if (program_.size() - at_ < v::kProgramEntryBytes) return std::nullopt;
  const std::uint8_t* p = program_.data() + at_;
  at_ += v::kProgramEntryBytes;
  return ProgramEntry{static_cast<std::uint16_t>(p[0] << 8 | p[1]), static_cast<std::uint16_t>(p[2] << 8 | p[3])};
}

}  // namespace kvr::gauge

#include <cstdio>

#include "kvr/gauge/CToolConexionDlg.h"

namespace kvr::gauge {

CToolConexionDlg gaugeStatus(const tools::Globals& g) {
  char s[4][64];
  std::snprintf(s[0], sizeof s[0], "%.0f", v::calibrationDouble(g.VUNTCalibration, v::kSerialOffset));
  std::snprintf(s[1], sizeof s[1], "%.0f", v::calibrationDouble(g.VUNTCalibration, v::kModelOffset));
  std::snprintf(s[2], sizeof s[2], "%d", recordedJobCount(g.VUNTJobFat));
  std::snprintf(s[3], sizeof s[3], "%d", static_cast<int>(allocatedSamples(g.VUNTJobFat)));
  return {s[0], s[1], s[2], s[3]};
}

}  // namespace kvr::gauge
