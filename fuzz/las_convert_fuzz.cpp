// Any bytes as the input of the KVR to ASCII converter, every channel selected, the output in
// memory: refusals must come as messages, never as a crash or a read outside the rows.
#include <cstddef>
#include <cstdint>

#include "common/datafile/MemoryFiles.h"
#include "kvr/utilities/CKvrToAscii.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static platform::testing::TempPaths paths;
  platform::testing::ScriptedPrompter prompter;
  platform::testing::VirtualClock clock;
  kvr::MemoryFileSystem fs;
  kvr::utilities::MemoryTextFiles text;
  fs.setFile("/in/FUZZ.kvr", kvr::MemoryFileSystem::Bytes(data, data + size));
  kvr::utilities::CKvrToAscii converter(prompter, paths, clock, fs, text, 21);
  if (!converter.chooseInput("/in/FUZZ.kvr")) return 0;
  auto& f = converter.fields();
  f.selected.assign(f.selected.size(), true);
  f.mergeCcl = true;
  f.filter.active = true;
  f.filter.channels = converter.channelNames();
  f.final = f.start + 50;  // keeps a run short whatever the recorded limits
  converter.convert();
  f.strictLas2 = true;
  f.wrapped = true;
  converter.convert();
  return 0;
}
