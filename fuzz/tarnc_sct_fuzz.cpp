// Feeds arbitrary bytes to the TARN-C sensor correction table reader; what it accepts must
// write back to a text it reads the same.

#include "toolslib/tarnc/SensorCalibration.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto r = tools::tarnc::parseSct(std::string_view(reinterpret_cast<const char*>(data), size));
  if (r.calibration) {
    const std::string text = tools::tarnc::formatSct(*r.calibration);
    const auto again = tools::tarnc::parseSct(text);
    if (!again.calibration || tools::tarnc::formatSct(*again.calibration) != text) std::abort();
  }
  return 0;
}
