#include "kvr/calibration/ui/SystemParametersDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvr::ui {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

SystemParametersDialog::SystemParametersDialog(CSysParManager& editor, QWidget* parent)
    : QDialog(parent), editor_(editor), table_(new QTableWidget(this)) {
  setWindowTitle(editor.title());
  table_->setColumnCount(4);
  table_->setHorizontalHeaderLabels({"Name", "Description", "Value", "Unit"});
  table_->setRowCount(static_cast<int>(editor.rowCount()));
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  const int widths[] = {60, 100, 60, 60};
  for (int c = 0; c < 4; ++c) table_->setColumnWidth(c, widths[c] * 2);
  table_->horizontalHeader()->setStretchLastSection(true);
  for (int r = 0; r < table_->rowCount(); ++r) refreshRow(r);
  connect(table_, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == 2) editValue(row);
  });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(640, 120 + 30 * table_->rowCount());
}

void SystemParametersDialog::refreshRow(int row) {
  const auto r = static_cast<std::size_t>(row);
  const auto& rec = editor_.record(r);
  auto item = [](const std::string& text, Qt::Alignment align) {
    auto* i = new QTableWidgetItem(q(text));
    i->setTextAlignment(align | Qt::AlignVCenter);
    return i;
  };
  table_->setItem(row, 0, item(rec.code, Qt::AlignLeft));
  table_->setItem(row, 1, item(rec.name, Qt::AlignLeft));
  table_->setItem(row, 2, item(editor_.valueText(r), Qt::AlignHCenter));
  table_->setItem(row, 3, item(rec.unit, Qt::AlignRight));
}

void SystemParametersDialog::closeEditor(int row) {
  refreshRow(row);
  // The view deletes the editor later, so removing it from inside its own signal is safe.
  table_->removeCellWidget(row, 2);
}

void SystemParametersDialog::editValue(int row) {
  const auto r = static_cast<std::size_t>(row);
  if (r >= editor_.rowCount()) return;
  const auto& rec = editor_.record(r);
  if (editor_.isChoice(r)) {
    auto* combo = new QComboBox;
    for (int i = 0; i < rec.choiceCount && i < static_cast<int>(rec.choiceTexts.size()); ++i)
      combo->addItem(q(rec.choiceTexts[static_cast<std::size_t>(i)]));
    combo->setCurrentIndex(rec.selectedChoice);
    connect(combo, &QComboBox::activated, this, [this, row](int index) {
      editor_.commitChoice(static_cast<std::size_t>(row), index);
      closeEditor(row);
    });
    table_->setCellWidget(row, 2, combo);
    combo->setFocus();
    combo->showPopup();
  } else {
    auto* edit = new QLineEdit(q(editor_.valueText(r)));
    edit->setMaxLength(10);
    edit->selectAll();
    connect(edit, &QLineEdit::editingFinished, this, [this, row, edit] {
      editor_.commitNumber(static_cast<std::size_t>(row), edit->text().toStdString());
      closeEditor(row);
    });
    table_->setCellWidget(row, 2, edit);
    edit->setFocus();
  }
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
