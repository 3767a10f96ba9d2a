// Feeds arbitrary bytes to the TARN drift file reader; the measurements it accepts must write
// back to a text it reads the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "kvr/tarn/DriftFile.h"

namespace {
std::string written(const kvr::tarn::DriftFileRead& r) {
  std::string text;
  for (const auto& m : r.measurements) text += kvr::tarn::formatDriftMeasurement(m);
  return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto r = kvr::tarn::parseDriftFile(std::string_view(reinterpret_cast<const char*>(data), size));
  if (r.measurements.size() > kvr::tarn::kMaxDriftMeasurements) std::abort();
  const std::string text = written(r);
  const auto again = kvr::tarn::parseDriftFile(text);
  if (!again.error.empty() || written(again) != text) std::abort();
  (void)kvr::tarn::offsetsAtFrame(r.measurements, static_cast<double>(size) * 1000.0);
  return 0;
}
