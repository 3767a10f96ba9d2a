// The frame dispatch over arbitrary frame-ring bytes: the first bytes choose the string, the
// log and the ring positions, the rest fill the frame ring. Every position must wrap.
#include <cstddef>
#include <cstdint>

#include "common/records/ToolCodes.h"
#include "kvr/core/CToolManager.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {
constexpr std::uint8_t kCodes[] = {210, 220, 224, 227, 230, 232, 235, 240, 243, 252, 254, 211};

records::ToolEntry entry(std::uint8_t code, float length) {
  records::ToolEntry e;
  e.name = "T" + std::to_string(code);
  e.toolCode = code;
  e.dataBytes = 7;  // overwritten for known codes; kept for the unknown one
  e.lengthCm = length;
  e.sketchWidth = 43;
  e.setKind(1);
  return e;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  const std::uint16_t mask = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  kvr::NoTaskPanels panels;
  kvr::FrameRing frames;
  kvr::CToolManager manager(lib, prompter, panels, frames);
  records::ToolList list;
  for (std::size_t i = 0; i < sizeof kCodes; ++i)
    if (mask & (1u << i)) list.push_back(entry(kCodes[i], static_cast<float>(data[2] % 200)));
  manager.setToolList(list);
  manager.confirmString(data[3] & 0x0F);
  // Frame offsets as odd as the bytes say: tools may point anywhere in the frame.
  for (std::size_t i = 0; i < list.size(); ++i) manager.setFrameOffset(i, data[4] * static_cast<std::uint32_t>(i + 1));
  manager.setSurfaceBlockOffset(data[5]);
  switch (data[6] % 4) {
    case 0: break;
    case 1: manager.startLog(kvr::kLogUp, data[6] & 4, 100, 0.3); break;
    case 2: manager.startLog(kvr::kLogDown, data[6] & 4, 100, 0.3); break;
    case 3: manager.startLog(kvr::kLogStation, false, 0, 0); break;
  }
  const std::uint32_t start = static_cast<std::uint32_t>(data[7]) * 131u;
  frames.setRead(start);
  frames.setWrite(start);
  for (std::size_t i = 8; i < size; i += 4096) {
    const std::size_t n = size - i < 4096 ? size - i : 4096;
    frames.append({data + i, n});
    manager.dispatchFrames();
  }
  return 0;
}
