// The LAS 2.0 checker on arbitrary bytes: it must report, never crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kvr/utilities/LasCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto report = kvr::utilities::checkLas2(std::string_view(reinterpret_cast<const char*>(data), size));
  return report.lines > size + 1 ? 1 : 0;
}
