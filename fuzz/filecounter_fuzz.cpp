// Any bytes as FileCounter.txt: the number is never negative and can always grow by one.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/datafile/FileCounter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const int n = kvr::parseFileCounter(std::string_view(reinterpret_cast<const char*>(data), size));
  if (n < 0 || n > INT_MAX - 1) __builtin_trap();
  return 0;
}
