#include "kvr/calibration/ui/ToolParametersDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvr::ui {

ToolParametersDialog::ToolParametersDialog(CParaManager& editor, QWidget* parent)
    : QDialog(parent), editor_(editor), rows_(editor), table_(new ParameterTable(rows_, this)) {
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* previous = new QPushButton("<<", this);
  auto* next = new QPushButton(">>", this);
  auto* sendSelected = new QPushButton("Send Selected", this);
  auto* sendAll = new QPushButton("Send All", this);
  previous->setObjectName("previous");
  next->setObjectName("next");
  sendSelected->setObjectName("sendSelected");
  sendAll->setObjectName("sendAll");
  connect(previous, &QPushButton::clicked, this, [this] {
    editor_.previous();
    showTool();
  });
  connect(next, &QPushButton::clicked, this, [this] {
    editor_.next();
    showTool();
  });
  connect(sendSelected, &QPushButton::clicked, this, [this] { editor_.sendSelected(table_->selectedRowsInOrder()); });
  connect(sendAll, &QPushButton::clicked, this, [this] { editor_.sendAll(); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(previous);
  row->addWidget(next);
  row->addStretch();
  row->addWidget(sendSelected);
  row->addWidget(sendAll);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(700, 420);
  showTool();
}

void ToolParametersDialog::showTool() {
  setWindowTitle(QString::fromStdString(editor_.title()));
  table_->reload();
}

}  // namespace kvr::ui
