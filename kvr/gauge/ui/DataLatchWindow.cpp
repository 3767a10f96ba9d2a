#include "kvr/gauge/ui/DataLatchWindow.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "kvr/gauge/CDownloadDataDlg.h"
#include "kvr/gauge/GaugeTexts.h"
#include "kvr/gauge/ui/GaugeDialogs.h"
#include "kvr/monitors/ui/StaticExWidget.h"

namespace kvr::gauge::ui {
namespace {

kvr::ui::StaticExWidget* textControl(platform::Rgb colour, QWidget* parent) {
  auto* w = new kvr::ui::StaticExWidget(false, parent);
  w->control().setColours(monitors::CStaticEx::kBlack, colour);
  w->setMinimumSize(120, 28);
  return w;
}

}  // namespace

DataLatchWindow::DataLatchWindow(CDataLatchTaskPanel& panel, const platform::Clock& clock, QWidget* parent)
    : QDialog(parent), panel_(panel), clock_(clock) {
  setWindowTitle(text::kPanelTitle);
  auto* layout = new QVBoxLayout(this);
  auto* readings = new QGridLayout;
  pressure_ = textControl(platform::rgb(255, 255, 0), this);
  temperature_ = textControl(platform::rgb(255, 255, 0), this);
  readings->addWidget(new QLabel("Pressure", this), 0, 0);
  readings->addWidget(pressure_, 0, 1);
  readings->addWidget(new QLabel("Temperature", this), 1, 0);
  readings->addWidget(temperature_, 1, 1);
  layout->addLayout(readings);
  auto* group = new QGroupBox("Status Messages", this);
  auto* groupLayout = new QVBoxLayout(group);
  status_ = textControl(platform::rgb(0, 255, 0), group);
  groupLayout->addWidget(status_);
  layout->addWidget(group);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  layout->addWidget(progress_);

  auto* buttons = new QGridLayout;
  const std::pair<const char*, std::function<void()>> actions[] = {
      {"Connect", [this] { panel_.connect(); }},          {"On-Line", [this] { panel_.online(); }},
      {"Download", [this] { download(); }},               {"Ping it !", [this] { panel_.ping(); }},
      {"Erase Jobs", [this] { panel_.eraseJobs(); }},     {"New Job", [this] { panel_.newJob(); }},
      {"Check Rec.", [this] { panel_.checkRecording(); }}, {"OK", [this] { hide(); }},
      {"Cancel", [this] { hide(); }}};
  int i = 0;
  for (const auto& [label, action] : actions) {
    auto* b = new QPushButton(label, this);
    connect(b, &QPushButton::clicked, this, action);
    buttons->addWidget(b, i / 3, i % 3);
    ++i;
  }
  layout->addLayout(buttons);
  panel_.setChanged([this] { refresh(); });
  panel_.setStatusDialog([this] { showStatus(); });
  refresh();
}

DataLatchWindow::~DataLatchWindow() {
  panel_.setChanged(nullptr);
  panel_.setStatusDialog(nullptr);
}

QPushButton* DataLatchWindow::button(const QString& label) const {
  for (auto* b : findChildren<QPushButton*>())
    if (b->text() == label) return b;
  return nullptr;
}

void DataLatchWindow::refresh() {
  pressure_->setText(panel_.pressureText());
  temperature_->setText(panel_.temperatureText());
  const StatusLine& s = panel_.status();
  status_->control().setColours(monitors::CStaticEx::kBlack, s.colour);
  status_->setText(s.text);
  status_->update();
  progress_->setValue(panel_.progress());
}

void DataLatchWindow::showStatus() { makeStatusDialog(gaugeStatus(panel_.globals()), this)->open(); }

void DataLatchWindow::download() {
  CDownloadDataDlg logic({panel_, [this] { return runDatePicker(this, clock_.localTime()); }, {}});
  if (!logic.open()) return;
  DownloadDialog dialog(logic, this);
  dialog.exec();
}

}  // namespace kvr::gauge::ui
