// ToolList.txt as users edit it: any bytes must parse into lists and whole entries only,
// and a string built from them must confirm and draw without fault.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "kvr/core/CTSViewer.h"
#include "kvr/core/CToolManager.h"
#include "kvr/core/ToolListFile.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/ScriptedPrompter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kvr::ToolListFile file = kvr::parseToolList(std::string_view(reinterpret_cast<const char*>(data), size));
  records::ToolList list;
  for (const auto& [key, entry] : file.descriptions) {
    if (auto e = file.makeEntry(key, static_cast<std::uint32_t>(list.size() % 1000))) list.push_back(*e);
    if (list.size() == 24) break;
  }
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  kvr::NoTaskPanels panels;
  kvr::FrameRing frames;
  kvr::CToolManager manager(lib, prompter, panels, frames);
  manager.setToolList(list);
  manager.confirmString(size % 2 ? 9 : 10);
  platform::testing::RecordingCanvas canvas({0, 0, 300, 500});
  kvr::CTSViewer viewer;
  viewer.setScrollOffset(static_cast<int>(size) * 7);
  viewer.draw(canvas, manager.toolList());
  return 0;
}
