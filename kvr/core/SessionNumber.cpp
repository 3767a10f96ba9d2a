#include "kvr/core/SessionNumber.h"

#include <charconv>
#include <string>

namespace kvr {

int nextSessionNumber(const std::filesystem::path& sessionFolder) {
  int largest = 0;
  std::error_code ec;
  std::filesystem::directory_iterator it(sessionFolder / "Output", ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    const std::string prefix = "Session_";
    if (name.size() < prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (name.compare(name.size() - 4, 4, ".csv") != 0) continue;
    auto dot = name.find_last_of('.');
    // The number runs from the prefix to the last "."; anything that is not a number counts as 0.
    int n = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + dot;
    auto [p, e] = std::from_chars(first, last, n);
    if (e != std::errc() || p != last) n = 0;
    if (n > largest) largest = n;
  }
  return largest + 1;
}

}  // namespace kvr
