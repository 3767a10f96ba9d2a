#pragma once
// Shared by the tool string tests: the shipped tool list, a manager over test doubles, and
// frames built with the families' own wire codecs.

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kvr/core/CToolManager.h"
#include "kvr/core/PanelBlock.h"
#include "kvr/core/ToolListFile.h"
#include "platform/testing/ScriptedPrompter.h"
#include "toolslib/wire/Layouts.h"

namespace kvr::testing {

inline std::string sourceFile(const std::string& relative) {
  const char* root = std::getenv("VAREXA_SOURCE_DIR");
#ifdef VAREXA_SOURCE_ROOT
  if (!root) root = VAREXA_SOURCE_ROOT;
#endif
  std::ifstream in(std::string(root ? root : ".") + "/" + relative, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline const ToolListFile& shippedToolList() {
  static const ToolListFile file = parseToolList(sourceFile("data/ToolList.txt"));
  return file;
}

inline records::ToolEntry shippedEntry(const std::string& name, std::uint32_t serial = 0) {
  auto e = shippedToolList().makeEntry(name, serial);
  return e ? *e : records::ToolEntry{};
}

struct StringRig {
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  NoTaskPanels panels;
  FrameRing frames;
  CToolManager manager{lib, prompter, panels, frames};

  void declare(const std::vector<std::string>& names, std::int32_t modeWord = 10) {
    records::ToolList list;
    for (const auto& n : names) list.push_back(shippedEntry(n));
    manager.setToolList(list);
    manager.confirmString(modeWord);
    manager.layoutFrameInStringOrder();
  }

  // One frame: each tool's bytes (zeros unless given) in string order, then the panel block.
  void pushFrame(const PanelBlock& panel, const std::vector<std::vector<std::uint8_t>>& toolBytes = {}) {
    std::vector<std::uint8_t> frame;
    std::size_t t = 0;
    for (const auto& tool : manager.toolList()) {
      if (!tool.isTool()) continue;
      std::vector<std::uint8_t> b(tool.dataBytes, 0);
      if (t < toolBytes.size()) b = toolBytes[t];
      b.resize(tool.dataBytes, 0);
      frame.insert(frame.end(), b.begin(), b.end());
      ++t;
    }
    const auto p = encodePanelBlock(panel);
    frame.insert(frame.end(), p.begin(), p.end());
    frames.append(frame);
  }
  void pushDepth(double depth, std::uint16_t counter) {
    pushFrame(panelBlockFrom(depth, counter, 1200, 180.5, 250, false));
  }

  // The row before the write position.
  std::vector<float> newestRow() const {
    const auto& ring = manager.ring();
    const std::size_t n = ring.rowWidth();
    const std::size_t at = ring.write() == 0 ? ring.size() - n : ring.write() - n;
    return std::vector<float>(ring.data() + at, ring.data() + at + n);
  }
  std::size_t rowsWritten() const { return manager.ring().write() / manager.ring().rowWidth(); }
  float cell(std::size_t row, std::size_t column) const {
    return manager.ring().data()[row * manager.ring().rowWidth() + column];
  }
};

}  // namespace kvr::testing
