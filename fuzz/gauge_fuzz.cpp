// The memory gauge's uploads from arbitrary frames: the TOOLS library assembles the payload
// chunks of every gauge mode into its globals, then the panel's readers walk the job table,
// the program (to its uploaded length) and the data page.
#include <cstddef>
#include <cstdint>

#include "kvr/gauge/GaugeJobs.h"
#include "toolslib/Library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tools::Library lib;
  tools::Family* vunt = lib.family(240);
  const std::size_t n = vunt->dataBytes();
  float row[32];
  for (std::size_t at = 0; at + n <= size; at += n) {
    float* p = row;
    vunt->processData({data + at, n}, 0, 0, &p, row, row + 31, {});
  }
  tools::Globals& g = lib.globals();
  volatile std::uint32_t sink = 0;
  for (const auto& job : kvr::gauge::listJobs(g.VUNTJobFat)) sink = sink + job.samples + job.startPage;
  sink = sink + kvr::gauge::allocatedSamples(g.VUNTJobFat) + static_cast<std::uint32_t>(kvr::gauge::recordedJobCount(g.VUNTJobFat));
  kvr::gauge::ProgramReader program(g.VUNTProgramBuffer, g.VUNTProgramLength);
  while (const auto e = program.next()) sink = sink + e->minutes + e->intervalS;
  for (std::size_t i = 0; i < tools::vunt::kSamplesPerPage; ++i)
    sink = sink + tools::vunt::getSample(g.VUNTDataPage.data() + i * tools::vunt::kSampleBytes).pressure;
  return 0;
}
