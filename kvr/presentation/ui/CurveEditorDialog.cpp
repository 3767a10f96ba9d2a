#include "kvr/presentation/ui/CurveEditorDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "kvr/presentation/ui/ChannelsDialog.h"

namespace kvr::ui {

using editor::CCEditor;

CurveEditorDialog::CurveEditorDialog(presentation::CFormat& format, platform::Prompter& prompter, Channels channels,
                                     QWidget* parent)
    : QDialog(parent), format_(format), channels_(std::move(channels)), editor_(format, prompter),
      table_(new QTableWidget(this)) {
  setWindowTitle("Curve Editor");
  table_->setColumnCount(CCEditor::kColumns);
  QStringList headings;
  for (int c = 0; c < CCEditor::kColumns; ++c) headings << CCEditor::heading(c);
  table_->setHorizontalHeaderLabels(headings);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  showRows();
  table_->resizeColumnsToContents();
  connect(table_, &QTableWidget::cellClicked, this, [this](int r, int c) { clickCell(r, c); });

  auto* add = new QPushButton("&Add", this);
  auto* erase = new QPushButton("&Erase", this);
  for (auto* b : {add, erase}) b->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, [this] {
    if (editor_.add(channels_())) showRows();
  });
  connect(erase, &QPushButton::clicked, this, [this] {
    if (editor_.erase()) showRows();
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    editor_.apply(format_);
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addWidget(add);
  row->addWidget(erase);
  row->addStretch();
  row->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addLayout(row);
  resize(820, 320);
}

void CurveEditorDialog::showRows() {
  table_->clearContents();
  table_->setRowCount(static_cast<int>(editor_.rows()));
  for (int r = 0; r < table_->rowCount(); ++r) showRow(r);
  table_->clearSelection();
}

void CurveEditorDialog::showRow(int row) {
  const auto r = static_cast<std::size_t>(row);
  for (int c = 0; c < CCEditor::kColumns; ++c) {
    auto* item = new QTableWidgetItem(QString::fromStdString(editor_.cell(r, c)));
    if (c == CCEditor::kColour) {
      const auto rgb = editor_.colour(r);
      item->setBackground(QColor(platform::redOf(rgb), platform::greenOf(rgb), platform::blueOf(rgb)));
    }
    table_->setItem(row, c, item);
  }
}

void CurveEditorDialog::closeField(int row, int column) {
  showRow(row);
  // The table deletes the field it holds; not while the field is still signalling.
  QTimer::singleShot(0, this, [this, row, column] { table_->removeCellWidget(row, column); });
}

void CurveEditorDialog::clickCell(int row, int column) {
  const auto r = static_cast<std::size_t>(row);
  if (r >= editor_.rows()) return;
  switch (CCEditor::editOf(column)) {
    case CCEditor::Edit::Select:
      editor_.select(r);
      table_->selectRow(row);
      return;
    case CCEditor::Edit::Cycle:
    case CCEditor::Edit::ColourDialog:
      if (editor_.click(r, column)) showRow(row);
      return;
    case CCEditor::Edit::ChannelChooser:
      if (auto chosen = chooseChannel(this, channels_())) {
        editor_.setChannel(r, *chosen);
        showRow(row);
      }
      return;
    case CCEditor::Edit::TrackChoice: {
      auto* box = new QComboBox;
      for (const auto& t : editor_.trackChoices()) box->addItem(QString::fromStdString(t));
      box->setCurrentIndex(static_cast<int>(editor_.trackOf(r)));
      table_->setCellWidget(row, column, box);
      connect(box, &QComboBox::activated, this, [this, box, row, column](int index) {
        QObject::disconnect(box, nullptr, this, nullptr);
        editor_.setTrack(static_cast<std::size_t>(row), static_cast<std::size_t>(index));
        closeField(row, column);
      });
      return;
    }
    case CCEditor::Edit::ValueField: {
      auto* field = new QLineEdit(QString::fromStdString(editor_.valueText(r, column)));
      field->setMaxLength(static_cast<int>(editor::kValueFieldMax));
      table_->setCellWidget(row, column, field);
      field->setFocus();
      field->selectAll();
      connect(field, &QLineEdit::editingFinished, this, [this, field, row, column] {
        // Return and the loss of focus both finish the field; it is taken once.
        QObject::disconnect(field, nullptr, this, nullptr);
        editor_.setValue(static_cast<std::size_t>(row), column, field->text().toStdString());
        closeField(row, column);
      });
      return;
    }
  }
}

}  // namespace kvr::ui
