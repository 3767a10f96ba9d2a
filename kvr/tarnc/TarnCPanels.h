#pragma once
// The TARN-C side of the task panel factory: a confirmed string with a TARN-C tool gets its
// task panel and makes the low-level command terminal available (with the menu entry that
// opens it); the next confirmation takes them away again. The terminal lives as long as the
// factory, so a window over it never outlives it.

#include <functional>
#include <memory>

#include "kvr/core/TaskPanelFactory.h"
#include "kvr/tarnc/CTARN_C_TaskDlg.h"
#include "kvr/tarnc/CTARNC_LowLevelCmdDlg.h"
#include "kvr/tarnc/SurveyOptions.h"

namespace kvr::tarnc {

class TarnCPanels final : public TaskPanelFactory {
 public:
  using PanelMaker = std::function<std::unique_ptr<CTARN_C_TaskDlg>()>;
  // available(true/false): the string has (or no longer has) a TARN-C tool.
  TarnCPanels(TerminalPorts ports, std::function<void(bool)> available, platform::Settings& settings)
      : terminal_(std::move(ports)), available_(std::move(available)), settings_(settings) {}

  // How the task panel is made; without it a TARN-C string has only its terminal.
  void setPanelMaker(PanelMaker maker) { maker_ = std::move(maker); }
  // Told after a panel was made or before it goes.
  void setPanelChanged(std::function<void()> changed) { panelChanged_ = std::move(changed); }

  void destroyAll() override {
    present_ = false;
    if (panel_ && panelChanged_) {
      auto gone = std::move(panel_);
      panelChanged_();
    }
    panel_.reset();
    if (available_) available_(false);
  }
  void createTarnCPanel(const records::ToolEntry&) override {
    present_ = true;
    terminal_.choose(0);
    if (maker_ && !panel_) panel_ = maker_();  // one panel for the string
    if (available_) available_(true);
    if (panelChanged_) panelChanged_();
  }
  void loadTarnCDriftOptions(tools::Globals& globals) override { loadDriftOptions(settings_, globals); }

  // Null while the string has no TARN-C tool.
  CTARNC_LowLevelCmdDlg* terminal() { return present_ ? &terminal_ : nullptr; }
  CTARN_C_TaskDlg* panel() { return panel_.get(); }

 private:
  CTARNC_LowLevelCmdDlg terminal_;
  std::function<void(bool)> available_;
  platform::Settings& settings_;
  PanelMaker maker_;
  std::function<void()> panelChanged_;
  std::unique_ptr<CTARN_C_TaskDlg> panel_;
  bool present_ = false;
};

}  // namespace kvr::tarnc
