#include "kvr/calibration/ui/SystemParametersDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace kvr::ui {

SystemParametersDialog::SystemParametersDialog(CSysParManager& editor, QWidget* parent)
    : QDialog(parent), rows_(editor), table_(new ParameterTable(rows_, this)) {
  setWindowTitle(editor.title());
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(640, 120 + 30 * table_->rowCount());
}

bool runSystemParametersDialog(QWidget* parent, std::vector<records::SysParameterS>& table,
                               CSysParManager::Range range) {
  CSysParManager editor(table, range);
  SystemParametersDialog dialog(editor, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  editor.ok();
  return true;
}

}  // namespace kvr::ui
