#pragma once
// The view of CSysParManager: the records in a four-column list, edited in place.

#include <QDialog>

#include "kvr/calibration/CSysParManager.h"
#include "kvr/calibration/ui/ParameterTable.h"

namespace kvr::ui {

class SystemParametersDialog final : public QDialog {
 public:
  SystemParametersDialog(CSysParManager& editor, QWidget* parent = nullptr);

  // Opens the in-place editor of a row's value (a click on the "Value" cell).
  void editValue(int row) { table_->editValue(row); }

 private:
  EditorRows<CSysParManager> rows_;
  ParameterTable* table_;
};

// Shows the dialog modally; OK puts the edits into the table.
bool runSystemParametersDialog(QWidget* parent, std::vector<records::SysParameterS>& table,
                               CSysParManager::Range range);

}  // namespace kvr::ui
