#pragma once
// The memory gauge's side of the task panel factory: a confirmed string with a VUNT tool
// gets its "Data Latch Manager" panel, and the menu entry that shows it is enabled; the next
// confirmation destroys the panel and greys the entry again.

#include <functional>
#include <memory>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/gauge/CDataLatchTaskPanel.h"

namespace kvr::gauge {

class GaugePanels final : public TaskPanelFactory {
 public:
  // available(true/false): the string has (or no longer has) a VUNT tool.
  GaugePanels(GaugePorts ports, std::function<void(bool)> available)
      : ports_(std::move(ports)), available_(std::move(available)) {}

  void destroyAll() override {
    panel_.reset();
    if (available_) available_(false);
  }
  void createVuntPanel(const records::ToolEntry&) override {
    panel_ = std::make_unique<CDataLatchTaskPanel>(ports_);
    if (available_) available_(true);
  }

  // Null while the string has no VUNT tool.
  CDataLatchTaskPanel* panel() { return panel_.get(); }

 private:
  GaugePorts ports_;
  std::function<void(bool)> available_;
  std::unique_ptr<CDataLatchTaskPanel> panel_;
};

}  // namespace kvr::gauge
