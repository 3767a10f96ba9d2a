#include "kvr/tarn/ui/TarnPanelWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "common/datafile/PosixFiles.h"
#include "kvr/monitors/ui/StaticExWidget.h"
#include "kvr/tarn/CTARNProcessing.h"
#include "platform/qt/QtPrompter.h"

namespace kvr::tarn::ui {

namespace {
platform::Rgb colourOf(CountdownColour c) {
  switch (c) {
    case CountdownColour::Green: return monitors::CStaticEx::kGreen;
    case CountdownColour::Blue: return platform::rgb(0, 0, 255);
    case CountdownColour::Red: break;
  }
  return monitors::CStaticEx::kRed;
}
}  // namespace

TarnPanelWindow::TarnPanelWindow(CTARNTaskPanel& panel, QWidget* parent) : QDialog(parent), panel_(panel) {
  setWindowTitle("TARN Task Panel");
  setModal(false);
  auto* grid = new QGridLayout(this);
  drift_ = new QPushButton("&Drift Station", this);
  auto* stop = new QPushButton("Stop !", this);
  auto* setup = new QPushButton("&Setup", this);
  auto* reset = new QPushButton("Reset HAZI", this);
  surveyMode_ = new QCheckBox("M", this);
  processing_ = new QPushButton("&Data Processing", this);
  countdown_ = new kvr::ui::StaticExWidget(false, this);
  countdown_->setMinimumSize(160, 40);
  auto* results = new QGroupBox("Drift Measurement Results", this);
  auto* form = new QFormLayout(results);
  const char* axes[] = {"X:", "Y:", "Z:"};
  for (int i = 0; i < 3; ++i) {
    drifts_[i] = new QLineEdit(results);
    drifts_[i]->setReadOnly(true);
    form->addRow(axes[i], drifts_[i]);
  }
  grid->addWidget(drift_, 0, 0);
  grid->addWidget(stop, 0, 1);
  grid->addWidget(new QLabel("Time to Next Station", this), 1, 0);
  grid->addWidget(countdown_, 1, 1);
  grid->addWidget(results, 2, 0, 1, 2);
  grid->addWidget(setup, 3, 0);
  grid->addWidget(reset, 3, 1);
  grid->addWidget(surveyMode_, 4, 0);
  grid->addWidget(processing_, 4, 1);

  connect(drift_, &QPushButton::clicked, this, [this] { panel_.driftStation(); });
  connect(stop, &QPushButton::clicked, this, [this] { panel_.stop(); });
  connect(setup, &QPushButton::clicked, this, [this] { runSetup(); });
  connect(reset, &QPushButton::clicked, this, [this] { panel_.resetHazi(); });
  connect(processing_, &QPushButton::clicked, this, [this] { runProcessing(); });
  connect(surveyMode_, &QCheckBox::toggled, this, [this](bool on) { panel_.setSurveyMode(on); });
  panel_.setChanged([this] { refresh(); });
  refresh();
}

TarnPanelWindow::~TarnPanelWindow() { panel_.setChanged(nullptr); }

void TarnPanelWindow::refresh() {
  countdown_->control().setColours(monitors::CStaticEx::kBlack, colourOf(panel_.countdownColour()));
  countdown_->setText(panel_.countdownText());
  for (int i = 0; i < 3; ++i) drifts_[i]->setText(QString::number(panel_.drifts()[i], 'f', 4));
  surveyMode_->setChecked(panel_.surveyMode());
}

void TarnPanelWindow::runSetup() {
  CTTPSetup values = panel_.setup();
  QDialog dlg(this);
  dlg.setWindowTitle("Setup");
  auto* between = new QSpinBox(&dlg);
  between->setRange(0, 1440);
  between->setValue(values.timeBetweenStations);
  auto* station = new QSpinBox(&dlg);
  station->setRange(0, 1440);
  station->setValue(values.driftStationTime);
  auto* name = new QLineEdit(QString::fromStdString(values.outputFileName), &dlg);
  auto* browse = new QPushButton("Browse", &dlg);
  browse->setEnabled(false);  // the name is a file of the session folder
  auto* form = new QFormLayout;
  form->addRow("Time Between Stations:", between);
  form->addRow("Drift Station Time:", station);
  form->addRow("Output File Name:", name);
  form->addRow("", browse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  connect(buttons, &QDialogButtonBox::accepted, &dlg, [&] {
    values.timeBetweenStations = between->value();
    values.driftStationTime = station->value();
    values.outputFileName = name->text().toStdString();
    if (panel_.applySetup(values)) dlg.accept();
  });
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(buttons);
  dlg.exec();
}

void TarnPanelWindow::runProcessing() {
  PosixFileSystem fs;
  CTARNProcessing logic(panel_.prompter(), fs, panel_.library(), panel_.surveyMode());
  QDialog dlg(this);
  dlg.setWindowTitle("TARN Processing");
  auto* devi = new QCheckBox("Reprocess DEVI", &dlg);
  auto* freeze = new QCheckBox("Freeze GX and GY", &dlg);
  auto* azimuth = new QDoubleSpinBox(&dlg);
  azimuth->setRange(0, 360);
  azimuth->setDecimals(2);
  auto* progress = new QProgressBar(&dlg);
  progress->setRange(0, 100);
  auto* drift = new QPushButton("Load Drift File", &dlg);
  auto* data = new QPushButton("Load Data File", &dlg);
  auto* raw = new QPushButton("Load Raw Data File", &dlg);
  auto* process = new QPushButton("Process", &dlg);
  auto* form = new QFormLayout;
  form->addRow(devi);
  form->addRow(freeze);
  form->addRow("Initial Tool Azimuth", azimuth);
  form->addRow(drift);
  form->addRow(data);
  form->addRow(raw);
  form->addRow(process);
  form->addRow(progress);
  connect(freeze, &QCheckBox::toggled, &dlg, [&](bool on) {
    if (!logic.setFreeze(on)) freeze->setChecked(false);
  });
  auto load = [&](const char* filter, auto command) {
    const QString name = QFileDialog::getOpenFileName(&dlg, {}, {}, platform::qt::qtFilter(filter));
    if (!name.isEmpty()) (logic.*command)(name.toStdString());
  };
  connect(drift, &QPushButton::clicked, &dlg,
          [&] { load("TARN Measured Drift File (*.txt)|*.txt||", &CTARNProcessing::loadDriftFile); });
  connect(data, &QPushButton::clicked, &dlg, [&] { load("KVR Data files (*.kvr)|*.kvr||", &CTARNProcessing::loadDataFile); });
  connect(raw, &QPushButton::clicked, &dlg, [&] { load("BIN Data files (*.bin)|*.bin||", &CTARNProcessing::loadRawFile); });
  connect(process, &QPushButton::clicked, &dlg, [&] {
    logic.reprocessDevi = devi->isChecked();
    logic.initialAzimuth = azimuth->value();
    logic.process([&](int percent) { progress->setValue(percent); });
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(buttons);
  dlg.exec();
}

}  // namespace kvr::tarn::ui
