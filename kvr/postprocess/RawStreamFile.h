#pragma once
// Reading the raw inertial stream of a session for the analysis: the header checks with
// their messages, then the samples in blocks, so a long session never needs a second copy
// of itself in memory.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/Prompter.h"
#include "kvr/postprocess/Trace.h"
#include "toolslib/tarnc/RawStream.h"

namespace kvr::postprocess {

using tools::tarnc::RawSample;

// "%sDataSession%s.raw": the event log's folder (up to its last backslash or slash) and
// its file title after the last underscore.
std::string rawStreamPathFor(const std::string& eventLogPath);
// The folder of a path up to and including its last separator, and the file title.
std::string folderOf(const std::string& path);
std::string titleOf(const std::string& path);
std::string sessionNumberOf(const std::string& path);

class RawStreamFile {
 public:
  RawStreamFile(platform::Prompter& prompter, TraceSink& trace) : prompter_(prompter), trace_(trace) {}
  ~RawStreamFile();
  RawStreamFile(const RawStreamFile&) = delete;
  RawStreamFile& operator=(const RawStreamFile&) = delete;

  // Opens and checks the header; a failure shows its message and closes the file.
  bool open(const std::string& path);
  long sampleCount() const { return count_; }
  std::uint16_t version() const { return version_; }

  // Hands every sample to `take` in order (block by block), then traces the first five.
  // A short read shows its message and gives false.
  bool readSamples(const std::function<void(std::span<const RawSample>, long first)>& take);

 private:
  void fail(const std::string& message);

  platform::Prompter& prompter_;
  TraceSink& trace_;
  std::FILE* file_ = nullptr;
  std::string path_;
  std::uint16_t version_ = 0;
  std::uint32_t headerLength_ = 0;
  long count_ = 0;
};

}  // namespace kvr::postprocess
