#pragma once
// The TARN-C side of the task panel factory: a confirmed string with a TARN-C tool makes its
// low-level command terminal available and enables the menu entry that opens it; the next
// confirmation takes both away again. The terminal itself lives as long as the factory, so a
// window over it never outlives it.

#include <functional>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarnc/CTARNC_LowLevelCmdDlg.h"

namespace kvr::tarnc {

class TarnCPanels final : public TaskPanelFactory {
 public:
  // available(true/false): the string has (or no longer has) a TARN-C tool.
  TarnCPanels(TerminalPorts ports, std::function<void(bool)> available)
      : terminal_(std::move(ports)), available_(std::move(available)) {}

  void destroyAll() override {
    present_ = false;
    if (available_) available_(false);
  }
  void createTarnCPanel(const records::ToolEntry&) override {
    present_ = true;
    terminal_.choose(0);
    if (available_) available_(true);
  }

  // Null while the string has no TARN-C tool.
  CTARNC_LowLevelCmdDlg* terminal() { return present_ ? &terminal_ : nullptr; }

 private:
  CTARNC_LowLevelCmdDlg terminal_;
  std::function<void(bool)> available_;
  bool present_ = false;
};

}  // namespace kvr::tarnc
