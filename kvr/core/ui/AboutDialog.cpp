#include "kvr/core/ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace kvr::ui {

AboutDialog::AboutDialog(const AboutBox& box, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromStdString(box.title()));
  auto* layout = new QVBoxLayout(this);
  for (const auto& line : box.lines()) layout->addWidget(new QLabel(QString::fromStdString(line), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

}  // namespace kvr::ui
