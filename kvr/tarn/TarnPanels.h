#pragma once
// The TARN side of the task panel factory: a confirmed string with a TARN tool opens its
// task panel, and the next confirmation destroys it.

#include "kvr/core/PanelHolder.h"
#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarn/CTARNTaskPanel.h"

namespace kvr::tarn {

class TarnPanels final : public TaskPanelFactory {
 public:
  // changed: the panel was made or is going (the program opens or closes its window).
  TarnPanels(std::function<TarnPorts()> ports, std::function<void()> changed)
      : holder_(std::move(ports), std::move(changed)) {}
  void destroyAll() override { holder_.destroy(); }
  void createTarnPanel(const records::ToolEntry&) override { holder_.make(); }
  CTARNTaskPanel* panel() { return holder_.panel(); }

 private:
  PanelHolder<CTARNTaskPanel, TarnPorts> holder_;
};

}  // namespace kvr::tarn
