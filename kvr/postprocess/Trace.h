#pragma once
// Where the diagnostic traces of the post-processing go (the debug output): the desktop
// program sends them to its log, the headless program to standard error on request, the
// tests keep them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextFormat.h"

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

using platform::format;
using platform::vformat;

}  // namespace kvr::postprocess
