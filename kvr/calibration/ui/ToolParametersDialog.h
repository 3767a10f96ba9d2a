#pragma once
// "Parameters for " + tool: the view of CParaManager, with "<<" / ">>", the in-place
// editors, "Send Selected" and "Send All".

#include <QDialog>

#include "kvr/calibration/CParaManager.h"
#include "kvr/calibration/ui/ParameterTable.h"

class QPushButton;

namespace kvr::ui {

class ToolParametersDialog final : public QDialog {
 public:
  ToolParametersDialog(CParaManager& editor, QWidget* parent = nullptr);
  ParameterTable& table() { return *table_; }

 private:
  void showTool();
  CParaManager& editor_;
  EditorRows<CParaManager> rows_;
  ParameterTable* table_;
};

}  // namespace kvr::ui
