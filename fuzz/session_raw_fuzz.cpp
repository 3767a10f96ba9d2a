// Feeds arbitrary bytes, as a file, to the raw inertial stream reader of the analysis.

#include "kvr/postprocess/RawStreamFile.h"
#include "platform/testing/ScriptedPrompter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace pp = kvr::postprocess;
  static const std::string path = [] {
    std::string name = (std::filesystem::temp_directory_path() / "varexa-raw-fuzz-XXXXXX").string();
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) ::close(fd);
    return name;
  }();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  platform::testing::ScriptedPrompter prompter;
  pp::NullTrace trace;
  pp::RawStreamFile raw(prompter, trace);
  long seen = 0;
  if (raw.open(path)) {
    if (static_cast<std::size_t>(raw.sampleCount()) * 120 + 7 > size) std::abort();
    raw.readSamples([&](std::span<const pp::RawSample> block, long first) {
      if (first != seen) std::abort();
      seen += static_cast<long>(block.size());
    });
    if (seen != raw.sampleCount()) std::abort();
  } else if (prompter.messages().size() != 1) {
    std::abort();
  }
  return 0;
}
