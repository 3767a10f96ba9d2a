#pragma once
// The TARN-B side of the task panel factory: a confirmed string with a TARN-B tool opens its
// task panel, and the next confirmation destroys it.

#include "kvr/core/PanelHolder.h"
#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarnb/CTARN_B_TaskDlg.h"

namespace kvr::tarnb {

class TarnBPanels final : public TaskPanelFactory {
 public:
  // changed: the panel was made or is going (the program opens or closes its window).
  TarnBPanels(std::function<TarnBPorts()> ports, std::function<void()> changed)
      : holder_(std::move(ports), std::move(changed)) {}
  void destroyAll() override { holder_.destroy(); }
  void createTarnBPanel(const records::ToolEntry&) override { holder_.make(); }
  CTARN_B_TaskDlg* panel() { return holder_.panel(); }

 private:
  PanelHolder<CTARN_B_TaskDlg, TarnBPorts> holder_;
};

}  // namespace kvr::tarnb
