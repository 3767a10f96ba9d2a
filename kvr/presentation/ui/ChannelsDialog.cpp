#include "kvr/presentation/ui/ChannelsDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace kvr::ui {

ChannelsDialog::ChannelsDialog(std::span<const records::ChannelStruct> channels, QWidget* parent)
    : QDialog(parent), chooser_(channels), list_(new QListWidget(this)) {
  setWindowTitle("Channels");
  for (const auto& name : chooser_.names()) list_->addItem(QString::fromStdString(name));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) chooser_.select(static_cast<std::size_t>(row));
  });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::optional<editor::ChosenChannel> chooseChannel(QWidget* parent, std::span<const records::ChannelStruct> channels) {
  ChannelsDialog dialog(channels, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chooser().chosen();
}

}  // namespace kvr::ui
