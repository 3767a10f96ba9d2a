// Monitor files from anywhere: the reader refuses what is not one without reading past the
// bytes it is given, and a file it takes writes back to the same boxes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kvr/monitors/MonitorFile.h"

using namespace kvr::monitors;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MonitorBoxes boxes;
  const auto result = decodeMonitorFile({data, size}, boxes);
  if (result != MonitorFileRead::Ok) {
    if (!(boxes == MonitorBoxes{})) std::abort();  // a refused file leaves the boxes alone
    return 0;
  }
  if (size < kMonitorFileBytes) std::abort();
  const auto written = encodeMonitorFile(boxes);
  if (written.size() != kMonitorFileBytes) std::abort();
  MonitorBoxes again;
  if (decodeMonitorFile(written, again) != MonitorFileRead::Ok || !(again == boxes)) std::abort();
  return 0;
}
