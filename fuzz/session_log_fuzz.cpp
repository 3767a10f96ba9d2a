// Feeds arbitrary bytes to the session event log reader and the segment finder.

#include "kvr/postprocess/SessionLog.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace pp = kvr::postprocess;
  const auto events = pp::parseSessionLog(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const auto& e : events)
    if (e.Flag.size() > 255) std::abort();
  const auto r = pp::findSegments(events);
  if (!r.stations.empty() && r.segments.size() + 1 != r.stations.size()) std::abort();
  return 0;
}
