#include "kvr/utilities/ui/FilterOptionsDialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>

namespace kvr::utilities::ui {

bool runFilterOptionsDialog(QWidget* parent, FilterSettings& settings, const std::vector<std::string>& candidates,
                            bool english) {
  QDialog dlg(parent);
  dlg.setWindowTitle("Filter Options");
  auto* grid = new QGridLayout(&dlg);
  auto* active = new QCheckBox("Data Filtering Active");
  active->setChecked(settings.active);
  auto* interval = new QRadioButton("Interval Filtering");
  auto* count = new QRadioButton("Item Count Filtering");
  (settings.mode == FilterSettings::Mode::Interval ? interval : count)->setChecked(true);
  auto* distance = new QDoubleSpinBox;
  distance->setRange(english ? 0.5 : 0.2, english ? 30 : 10);
  distance->setDecimals(2);
  distance->setValue(settings.distanceInterval);
  auto* time = new QDoubleSpinBox;
  time->setRange(0.4, 100);
  time->setDecimals(2);
  time->setValue(settings.timeInterval);
  auto* items = new QSpinBox;
  items->setRange(2, 500);
  items->setValue(settings.itemCount);
  auto* channels = new QListWidget;
  channels->setSelectionMode(QAbstractItemView::MultiSelection);
  for (const auto& c : candidates) {
    auto* item = new QListWidgetItem(QString::fromStdString(c), channels);
    item->setSelected(std::find(settings.channels.begin(), settings.channels.end(), c) != settings.channels.end());
  }
  grid->addWidget(active, 0, 0, 1, 2);
  grid->addWidget(interval, 1, 0);
  grid->addWidget(count, 1, 1);
  grid->addWidget(new QLabel("Ditance Interval:"), 2, 0);
  grid->addWidget(distance, 2, 1);
  grid->addWidget(new QLabel("Time Interval:"), 3, 0);
  grid->addWidget(time, 3, 1);
  grid->addWidget(new QLabel("Item Count:"), 4, 0);
  grid->addWidget(items, 4, 1);
  grid->addWidget(new QLabel("Channels to Filter:"), 5, 0, 1, 2);
  grid->addWidget(channels, 6, 0, 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  grid->addWidget(buttons, 7, 0, 1, 2);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  if (dlg.exec() != QDialog::Accepted) return false;
  settings.active = active->isChecked();
  settings.mode = interval->isChecked() ? FilterSettings::Mode::Interval : FilterSettings::Mode::ItemCount;
  settings.distanceInterval = static_cast<float>(distance->value());
  settings.timeInterval = static_cast<float>(time->value());
  settings.itemCount = items->value();
  settings.channels.clear();
  for (int i = 0; i < channels->count(); ++i)
    if (channels->item(i)->isSelected()) settings.channels.push_back(channels->item(i)->text().toStdString());
  return true;
}

}  // namespace kvr::utilities::ui
