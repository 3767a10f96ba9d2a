#pragma once
// The view of CSysParManager: the records in a four-column list, edited in place.

#include <QDialog>

#include "kvr/calibration/CSysParManager.h"

class QTableWidget;

namespace kvr::ui {

class SystemParametersDialog final : public QDialog {
 public:
  SystemParametersDialog(CSysParManager& editor, QWidget* parent = nullptr);

  // Opens the in-place editor of a row's value (a click on the "Value" cell).
  void editValue(int row);

 private:
  void refreshRow(int row);
  void closeEditor(int row);

  CSysParManager& editor_;
  QTableWidget* table_;
};

// Shows the dialog modally; OK puts the edits into the table.
bool runSystemParametersDialog(QWidget* parent, std::vector<records::SysParameterS>& table,
                               CSysParManager::Range range);

}  // namespace kvr::ui
