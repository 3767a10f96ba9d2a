#pragma once
// Where the diagnostic traces of the post-processing go (the debug output): the desktop
// program sends them to its log, the headless program to standard error on request, the
// tests keep them.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kvr::postprocess {

class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual void trace(std::string_view text) = 0;
};

class NullTrace final : public TraceSink {
 public:
  void trace(std::string_view) override {}
};

class KeptTrace final : public TraceSink {
 public:
  void trace(std::string_view text) override { lines.emplace_back(text); }
  std::vector<std::string> lines;
};

// printf into a string, in the C locale the program runs in.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
std::string vformat(const char* pattern, std::va_list args);

}  // namespace kvr::postprocess
