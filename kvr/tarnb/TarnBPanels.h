#pragma once
// The TARN-B side of the task panel factory: a confirmed string with a TARN-B tool opens its
// task panel, and the next confirmation destroys it.

#include <functional>
#include <memory>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarnb/CTARN_B_TaskDlg.h"

namespace kvr::tarnb {

class TarnBPanels final : public TaskPanelFactory {
 public:
  // changed: the panel was made or destroyed (the program opens or closes its window).
  TarnBPanels(std::function<TarnBPorts()> ports, std::function<void()> changed)
      : ports_(std::move(ports)), changed_(std::move(changed)) {}

  // The program hears of it while the panel still lives, so its window goes first.
  void destroyAll() override {
    if (!panel_) return;
    auto going = std::move(panel_);
    if (changed_) changed_();
  }
  void createTarnBPanel(const records::ToolEntry&) override {
    if (panel_) return;  // one panel for the string
    panel_ = std::make_unique<CTARN_B_TaskDlg>(ports_());
    if (changed_) changed_();
  }
  CTARN_B_TaskDlg* panel() { return panel_.get(); }

 private:
  std::function<TarnBPorts()> ports_;
  std::function<void()> changed_;
  std::unique_ptr<CTARN_B_TaskDlg> panel_;
};

}  // namespace kvr::tarnb
