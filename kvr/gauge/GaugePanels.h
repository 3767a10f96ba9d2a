#pragma once
// The memory gauge's side of the task panel factory: a confirmed string with a VUNT tool
// gets its "Data Latch Manager" panel, and the menu entry that shows it is enabled; the next
// confirmation stops the panel and greys the entry again. The panel object itself lives as
// long as the factory, so a window over it never outlives it.

#include <functional>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/gauge/CDataLatchTaskPanel.h"

namespace kvr::gauge {

class GaugePanels final : public TaskPanelFactory {
 public:
  // available(true/false): the string has (or no longer has) a VUNT tool.
  GaugePanels(GaugePorts ports, std::function<void(bool)> available)
      : panel_(std::move(ports)), available_(std::move(available)) {
    panel_.stop();
  }

  void destroyAll() override {
    present_ = false;
    panel_.stop();
    if (available_) available_(false);
  }
  void createVuntPanel(const records::ToolEntry&) override {
    present_ = true;
    panel_.start();
    if (available_) available_(true);
  }

  // Null while the string has no VUNT tool.
  CDataLatchTaskPanel* panel() { return present_ ? &panel_ : nullptr; }

 private:
  CDataLatchTaskPanel panel_;
  std::function<void(bool)> available_;
  bool present_ = false;
};

}  // namespace kvr::gauge
