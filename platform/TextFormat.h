#pragma once
// printf into a std::string, for report lines and messages laid out by printf patterns.

#include <cstdarg>
#include <string>

namespace platform {

std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string vformat(const char* pattern, std::va_list args);

}  // namespace platform
