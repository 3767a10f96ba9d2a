#include "kvr/presentation/ui/TrackEditorDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kvr::ui {

using editor::CTEditor;

TrackEditorDialog::TrackEditorDialog(presentation::CFormat& format, QWidget* parent)
    : QDialog(parent), format_(format), editor_(format), table_(new QTableWidget(this)) {
  setWindowTitle("Track Editor");
  table_->setColumnCount(CTEditor::kColumns);
  QStringList headings;
  for (int c = 0; c < CTEditor::kColumns; ++c) headings << CTEditor::heading(c);
  table_->setHorizontalHeaderLabels(headings);
  table_->setRowCount(static_cast<int>(editor_.rows()));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  for (int r = 0; r < table_->rowCount(); ++r) showRow(r);
  table_->resizeColumnsToContents();
  connect(table_, &QTableWidget::cellClicked, this, [this](int r, int c) { clickCell(r, c); });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    editor_.apply(format_);
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(760, 300);
}

void TrackEditorDialog::showRow(int row) {
  for (int c = 0; c < CTEditor::kColumns; ++c)
    table_->setItem(row, c, new QTableWidgetItem(QString::fromStdString(editor_.cell(static_cast<std::size_t>(row), c))));
}

void TrackEditorDialog::clickCell(int row, int column) {
  const auto r = static_cast<std::size_t>(row);
  switch (editor_.editOf(r, column)) {
    case CTEditor::Edit::None: return;
    case CTEditor::Edit::Cycle:
      if (editor_.click(r, column)) showRow(row);
      return;
    case CTEditor::Edit::Spin: {
      const auto s = editor_.spin(r, column);
      auto* box = new QSpinBox;
      box->setRange(s->min, s->max);
      box->setValue(s->value);
      table_->setCellWidget(row, column, box);
      box->setFocus();
      connect(box, &QSpinBox::editingFinished, this, [this, box, row, column] {
        // Return and the loss of focus both finish the field; it is taken once.
        QObject::disconnect(box, nullptr, this, nullptr);
        editor_.setSpin(static_cast<std::size_t>(row), column, box->value());
        showRow(row);
        // The table deletes the field it holds; not while the field is still signalling.
        QTimer::singleShot(0, this, [this, row, column] { table_->removeCellWidget(row, column); });
      });
      return;
    }
  }
}

}  // namespace kvr::ui
