#pragma once
// The TARN side of the task panel factory: a confirmed string with a TARN tool opens its
// task panel, and the next confirmation destroys it.

#include <functional>
#include <memory>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarn/CTARNTaskPanel.h"

namespace kvr::tarn {

class TarnPanels final : public TaskPanelFactory {
 public:
  // changed: the panel was made or destroyed (the program opens or closes its window).
  TarnPanels(std::function<TarnPorts()> ports, std::function<void()> changed)
      : ports_(std::move(ports)), changed_(std::move(changed)) {}

  // The program hears of it while the panel still lives, so its window goes first.
  void destroyAll() override {
    if (!panel_) return;
    auto going = std::move(panel_);
    if (changed_) changed_();
  }
  void createTarnPanel(const records::ToolEntry&) override {
    if (panel_) return;  // one panel for the string
    panel_ = std::make_unique<CTARNTaskPanel>(ports_());
    if (changed_) changed_();
  }
  CTARNTaskPanel* panel() { return panel_.get(); }

 private:
  std::function<TarnPorts()> ports_;
  std::function<void()> changed_;
  std::unique_ptr<CTARNTaskPanel> panel_;
};

}  // namespace kvr::tarn
