#include "platform/TextFormat.h"

#include <cstdio>

namespace platform {

std::string vformat(const char* pattern, std::va_list args) {
  std::va_list copy;
  va_copy(copy, args);
  const int n = std::vsnprintf(nullptr, 0, pattern, copy);
  va_end(copy);
  if (n <= 0) return {};
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(s.data(), s.size(), pattern, args);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

std::string format(const char* pattern, ...) {
  std::va_list args;
  va_start(args, pattern);
  std::string s = vformat(pattern, args);
  va_end(args);
  return s;
}

}  // namespace platform
