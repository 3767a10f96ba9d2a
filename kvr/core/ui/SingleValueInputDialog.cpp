#include "kvr/core/ui/SingleValueInputDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kvr::ui {

SingleValueInputDialog::SingleValueInputDialog(CSingleValueInput& input, platform::Prompter& prompter, QWidget* parent)
    : QDialog(parent), input_(input), prompter_(prompter) {
  setWindowTitle(QString::fromStdString(input.title()));
  edit_ = new QLineEdit(QString::fromStdString(input.initialText()), this);
  edit_->selectAll();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromStdString(input.prompt()), this));
  layout->addWidget(edit_);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &SingleValueInputDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void SingleValueInputDialog::accept() {
  if (input_.accept(edit_->text().toStdString(), prompter_)) QDialog::accept();
}

}  // namespace kvr::ui
