#include "kvr/core/ui/LoadParameterSelectorDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kvr::ui {

LoadParameterSelectorDialog::LoadParameterSelectorDialog(CToolSelector& selector, QWidget* parent)
    : QDialog(parent), selector_(selector), list_(new QListWidget(this)) {
  setWindowTitle("Load Parameter Selector");
  for (const auto& name : selector_.candidates()) {
    auto* item = new QListWidgetItem(QString::fromStdString(name), list_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &LoadParameterSelectorDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(selector_.candidates().empty() ? "No tool of the file is in the current tool string"
                                                              : "Tools whose parameters are loaded from the file",
                               this));
  layout->addWidget(list_);
  layout->addWidget(buttons);
}

void LoadParameterSelectorDialog::accept() {
  std::vector<std::string> chosen;
  for (int i = 0; i < list_->count(); ++i)
    if (list_->item(i)->checkState() == Qt::Checked) chosen.push_back(list_->item(i)->text().toStdString());
  loaded_ = selector_.apply(chosen);
  QDialog::accept();
}

int runLoadParameters(CToolSelector& selector, const std::filesystem::path& sessionFolder, QWidget* parent) {
  if (!selector.chooseFile(sessionFolder)) return 0;
  LoadParameterSelectorDialog dlg(selector, parent);
  if (dlg.exec() != QDialog::Accepted) return 0;
  return dlg.loaded();
}

}  // namespace kvr::ui
