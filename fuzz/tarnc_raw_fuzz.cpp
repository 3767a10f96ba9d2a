// Feeds arbitrary bytes to the TARN-C raw inertial stream reader, and its header's
// calibration to the correction table reader, as the post-processing reads a stream.

#include "toolslib/tarnc/RawStream.h"
#include "toolslib/tarnc/SensorCalibration.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto r = tools::tarnc::readRawStream(std::span<const std::uint8_t>(data, size));
  if (r.ok) {
    if (r.samples.size() * tools::tarnc::kRawSampleBytes + r.trailingBytes + r.calibrationText.size() +
            tools::tarnc::kRawFixedHeader != size)
      std::abort();
    (void)tools::tarnc::parseSct(r.calibrationText);
  }
  return 0;
}
