// The survey station reader and the well path over arbitrary bytes: every outcome is a
// station, the end or a named bad line, and the path never holds a non-finite value.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "kvr/utilities/PathFile.h"
#include "kvr/utilities/WellPath.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvr::utilities::StationReader reader(text);
  auto path = kvr::utilities::computeWellPath(reader, 2000);
  for (const auto& r : path.rows) {
    if (!std::isfinite(r.ns) || !std::isfinite(r.ew) || !std::isfinite(r.tvd)) std::abort();
  }
  if (path.outcome == kvr::utilities::WellPathResult::Outcome::BadLine && reader.badLineNumber() == 0) std::abort();
  (void)kvr::utilities::formatPathFile(path.rows);
  return 0;
}
