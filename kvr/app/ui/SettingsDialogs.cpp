#include "kvr/app/ui/SettingsDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

#include "kvr/app/CIntroDLG.h"
#include "kvr/app/CKVROptionsDlg.h"
#include "kvr/app/CSystemUnitDlg.h"
#include "kvr/app/CUnitSysDlg.h"

namespace kvr::ui {

namespace {
QDialogButtonBox* okCancel(QDialog& dlg) {
  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  QObject::connect(box, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  return box;
}
}  // namespace

bool runOptionsDialog(QWidget* parent, platform::Settings& settings, std::uint16_t& flags) {
  CKVROptionsDlg logic(flags);
  QDialog dlg(parent);
  dlg.setWindowTitle("KVR Options");
  auto* group = new QGroupBox("Start-up Options", &dlg);
  auto* g = new QVBoxLayout(group);
  auto* monitor = new QCheckBox("Load Latest Monitor File", group);
  auto* formats = new QCheckBox("Load Presentation Formats", group);
  auto* arrange = new QCheckBox("Re-Arrange All Windows", group);
  monitor->setChecked(logic.loadMonitor);
  formats->setChecked(logic.loadFormats);
  arrange->setChecked(logic.rearrange);
  g->addWidget(monitor);
  g->addWidget(formats);
  g->addWidget(arrange);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(group);
  layout->addWidget(okCancel(dlg));
  if (dlg.exec() != QDialog::Accepted) return false;
  logic.loadMonitor = monitor->isChecked();
  logic.loadFormats = formats->isChecked();
  logic.rearrange = arrange->isChecked();
  flags = logic.ok(settings);
  return true;
}

bool runUnitSystemDialog(QWidget* parent, std::int32_t& modeWord) {
  CUnitSysDlg logic(modeWord);
  QDialog dlg(parent);
  dlg.setWindowTitle("Unit System");
  auto* layout = new QVBoxLayout(&dlg);
  QButtonGroup group(&dlg);
  for (std::size_t i = 0; i < CUnitSysDlg::choices().size(); ++i) {
    auto* b = new QRadioButton(CUnitSysDlg::choices()[i].text, &dlg);
    b->setChecked(static_cast<int>(i) == logic.selected());
    group.addButton(b, static_cast<int>(i));
    layout->addWidget(b);
  }
  layout->addWidget(okCancel(dlg));
  if (dlg.exec() != QDialog::Accepted) return false;
  logic.select(group.checkedId());
  modeWord = logic.ok(modeWord);
  return true;
}

bool runSystemUnitsDialog(QWidget* parent, platform::Settings& settings, records::SystemUnitsS& units) {
  CSystemUnitDlg logic(units);
  QDialog dlg(parent);
  dlg.setWindowTitle("System Units");
  auto* form = new QFormLayout;
  std::array<QComboBox*, records::kSystemUnitsSize> combos{};
  const auto& lists = records::unitLists();
  for (int q = 0; q < records::kQuantityCount; ++q) {
    auto* c = new QComboBox(&dlg);
    for (const char* u : lists[q].units) c->addItem(u);
    c->setCurrentIndex(logic.selected(q));  // -1 shows no entry
    combos[q] = c;
    form->addRow(QString(lists[q].settingName) + ":", c);
  }
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(okCancel(dlg));
  if (dlg.exec() != QDialog::Accepted) return false;
  for (int q = 0; q < records::kQuantityCount; ++q) {
    if (combos[q]->currentIndex() >= 0) logic.select(q, combos[q]->currentIndex());
  }
  units = logic.ok(settings);
  return true;
}

void runSplash(platform::EventLoop& loop, const std::string& version) {
  QDialog dlg;
  dlg.setWindowTitle("KVR");
  auto* layout = new QVBoxLayout(&dlg);
  auto* name = new QLabel("<h2>KVR</h2>Varexa wireline logging and gyro surveys", &dlg);
  layout->addWidget(name);
  layout->addWidget(new QLabel(QString::fromStdString(CIntroDLG::versionLine(version)), &dlg));
  CIntroDLG logic(loop, [&dlg] { dlg.accept(); });
  logic.open();
  dlg.exec();
}

}  // namespace kvr::ui
