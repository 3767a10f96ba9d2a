// Feeds arbitrary bytes to the survey report loader behind "Upload": it must never read out of
// bounds, and every row it keeps must be one a station line could have written.

#include "kvr/tarnc/SurveyReport.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<kvr::tarnc::LoadedStation> rows;
  bool header = false;
  const bool ok = kvr::tarnc::parseSurveyReport(std::string_view(reinterpret_cast<const char*>(data), size), rows, &header);
  if (ok && !header) std::abort();
  for (const auto& r : rows) {
    for (double v : r.row.v) {
      if (!std::isfinite(v)) std::abort();
    }
  }
  return 0;
}
