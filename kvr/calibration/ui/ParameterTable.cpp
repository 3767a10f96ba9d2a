#include "kvr/calibration/ui/ParameterTable.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>

#include <algorithm>
#include <set>

namespace kvr::ui {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

ParameterTable::ParameterTable(ParameterRows& rows, QWidget* parent) : QTableWidget(parent), rows_(rows) {
  setColumnCount(4);
  setHorizontalHeaderLabels({"Name", "Description", "Value", "Unit"});
  verticalHeader()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  const int widths[] = {60, 100, 60, 60};
  for (int c = 0; c < 4; ++c) setColumnWidth(c, widths[c] * 2);
  horizontalHeader()->setStretchLastSection(true);
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (column == 2) editValue(row);
  });
  reload();
}

void ParameterTable::reload() {
  for (int r = 0; r < rowCount(); ++r) removeCellWidget(r, 2);
  setRowCount(static_cast<int>(rows_.rowCount()));
  for (int r = 0; r < rowCount(); ++r) refreshRow(r);
}

void ParameterTable::refreshRow(int row) {
  const auto r = static_cast<std::size_t>(row);
  auto item = [](const std::string& text, Qt::Alignment align) {
    auto* i = new QTableWidgetItem(q(text));
    i->setTextAlignment(align | Qt::AlignVCenter);
    return i;
  };
  setItem(row, 0, item(rows_.mnemonic(r), Qt::AlignLeft));
  setItem(row, 1, item(rows_.description(r), Qt::AlignLeft));
  setItem(row, 2, item(rows_.valueText(r), Qt::AlignHCenter));
  setItem(row, 3, item(rows_.unit(r), Qt::AlignRight));
}

void ParameterTable::closeEditor(int row) {
  refreshRow(row);
  // The view deletes the editor later, so removing it from inside its own signal is safe.
  removeCellWidget(row, 2);
}

void ParameterTable::editValue(int row) {
  const auto r = static_cast<std::size_t>(row);
  if (row < 0 || r >= rows_.rowCount()) return;
  if (rows_.isChoice(r)) {
    auto* combo = new QComboBox;
    for (const auto& text : rows_.choices(r)) combo->addItem(q(text));
    combo->setCurrentIndex(rows_.selectedChoice(r));
    connect(combo, &QComboBox::activated, this, [this, row](int index) {
      rows_.commitChoice(static_cast<std::size_t>(row), index);
      closeEditor(row);
    });
    setCellWidget(row, 2, combo);
    combo->setFocus();
    combo->showPopup();
  } else {
    auto* edit = new QLineEdit(q(rows_.valueText(r)));
    edit->setMaxLength(10);
    edit->selectAll();
    connect(edit, &QLineEdit::editingFinished, this, [this, row, edit] {
      rows_.commitNumber(static_cast<std::size_t>(row), edit->text().toStdString());
      closeEditor(row);
    });
    setCellWidget(row, 2, edit);
    edit->setFocus();
  }
}

std::vector<std::size_t> ParameterTable::selectedRowsInOrder() const {
  std::set<std::size_t> rows;
  for (const auto& index : selectionModel()->selectedRows()) rows.insert(static_cast<std::size_t>(index.row()));
  return {rows.begin(), rows.end()};
}

}  // namespace kvr::ui
