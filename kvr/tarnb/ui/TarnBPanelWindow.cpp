#include "kvr/tarnb/ui/TarnBPanelWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "kvr/tarnb/CTARNBInRunParameters.h"
#include "kvr/tarnb/TarnBTexts.h"
#include "kvr/utilities/ui/CrossPlotDialogs.h"
#include "platform/qt/QtPrompter.h"

namespace kvr::tarnb::ui {

namespace {
constexpr int kColumnWidths[] = {50, 85, 85, 100};
const char* const kColumns[] = {"Interval", "Starting Time", "Ending Time", "Comments"};
}  // namespace

TarnBPanelWindow::TarnBPanelWindow(CTARN_B_TaskDlg& panel, QWidget* parent) : QDialog(parent), panel_(panel) {
  setWindowTitle(text::kPanelTitle);
  setModal(false);
  auto* layout = new QGridLayout(this);
  auto* menu = new QMenuBar(this);
  layout->setMenuBar(menu);
  auto* file = menu->addMenu("&File");
  connect(file->addAction("&Load Station Data"), &QAction::triggered, this, [this] { loadStation(); });
  connect(file->addAction("&Save Station Report"), &QAction::triggered, this, [this] { panel_.saveStationReport(); });
  auto* report = menu->addMenu("&Report");
  connect(report->addAction("Generation &Options"), &QAction::triggered, this, [this] {
    utilities::ui::runDirSurveyReportOptionsDialog(this, panel_.settings(), panel_.prompter());
    panel_.reportOptions().read();
  });
  auto* options = menu->addMenu("&Options");
  connect(options->addAction("Parameters"), &QAction::triggered, this,
          [this] { runInRunParametersDialog(this, panel_.library(), panel_.prompter()); });

  station_ = new QPushButton(this);
  auto* addStation = new QPushButton("Add Station", this);
  addInterval_ = new QPushButton("&Add Interval", this);
  auto* see = new QPushButton("&See Report", this);
  auto* roll = new QPushButton("Roll Test", this);
  raw_ = new QCheckBox("Raw Ch.", this);
  las_ = new QCheckBox("Gen. .LAS", this);
  stations_ = new QListWidget(this);
  intervals_ = new QTableWidget(0, 4, this);
  for (int c = 0; c < 4; ++c) {
    intervals_->setHorizontalHeaderItem(c, new QTableWidgetItem(kColumns[c]));
    intervals_->setColumnWidth(c, kColumnWidths[c]);
  }
  intervals_->verticalHeader()->hide();
  auto* status = new QFormLayout;
  const char* labels[] = {"Calibration:", "Sensor SN:", "Date:", "Version:"};
  for (int i = 0; i < 4; ++i) {
    calibration_[i] = new QLabel(this);
    status->addRow(labels[i], calibration_[i]);
  }
  layout->addWidget(station_, 0, 0);
  layout->addWidget(addStation, 0, 1);
  layout->addWidget(addInterval_, 0, 2);
  layout->addWidget(stations_, 1, 0, 1, 1);
  layout->addWidget(intervals_, 1, 1, 1, 3);
  layout->addWidget(raw_, 2, 0);
  layout->addWidget(las_, 2, 1);
  layout->addWidget(see, 2, 2);
  layout->addWidget(roll, 2, 3);
  layout->addLayout(status, 3, 0, 1, 4);

  connect(station_, &QPushButton::clicked, this, [this] { panel_.stationButton(); });
  connect(addStation, &QPushButton::clicked, this, [this] { addStations(); });
  connect(addInterval_, &QPushButton::clicked, this, [this] { panel_.addInterval(); });
  connect(raw_, &QCheckBox::toggled, this, [this](bool on) { panel_.rawChannels = on; });
  connect(las_, &QCheckBox::toggled, this, [this](bool on) { panel_.generateLas = on; });
  connect(see, &QPushButton::clicked, this, [this] { panel_.seeReport(); });
  connect(roll, &QPushButton::clicked, this, [this] { panel_.rollTest(); });
  connect(stations_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!refreshing_ && row >= 0) panel_.selectStation(static_cast<std::size_t>(row));
  });
  connect(stations_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { panel_.removeStation(static_cast<std::size_t>(stations_->row(item))); });
  connect(intervals_, &QTableWidget::cellChanged, this, [this](int row, int column) {
    if (refreshing_) return;
    const auto typed = intervals_->item(row, column)->text().toStdString();
    panel_.editCell(static_cast<std::size_t>(row), column, typed);
    refresh();  // a dropped or refused value shows the cell as it was
  });
  panel_.setChanged([this] { refresh(); });
  refresh();
}

TarnBPanelWindow::~TarnBPanelWindow() { panel_.setChanged(nullptr); }

void TarnBPanelWindow::addStations() {
  const auto r = panel_.stationFileRequest();
  const QStringList chosen =
      QFileDialog::getOpenFileNames(this, {}, QString::fromStdString(r.initialDir), platform::qt::qtFilter(r.filter));
  std::vector<std::filesystem::path> files;
  for (const auto& f : chosen) files.emplace_back(f.toStdString());
  if (!files.empty()) panel_.addStations(files);
}

void TarnBPanelWindow::loadStation() {
  if (auto file = panel_.prompter().openFile(panel_.stationFileRequest())) panel_.loadStationData(*file);
}

void TarnBPanelWindow::refresh() {
  refreshing_ = true;
  station_->setText(panel_.stationButtonText());
  addInterval_->setEnabled(panel_.haveCurrentFile());
  stations_->clear();
  for (const auto& s : panel_.stations()) stations_->addItem(QString::fromStdString(s.title));
  if (auto sel = panel_.selectedStation()) stations_->setCurrentRow(static_cast<int>(*sel));
  const auto& rows = panel_.intervalRows();
  intervals_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string* cells[] = {&rows[i].label, &rows[i].start, &rows[i].end, &rows[i].comment};
    for (int c = 0; c < 4; ++c) {
      auto* item = new QTableWidgetItem(QString::fromStdString(*cells[c]));
      if (c == 0) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      item->setTextAlignment(c == 3 ? Qt::AlignCenter : c == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignRight | Qt::AlignVCenter);
      intervals_->setItem(static_cast<int>(i), c, item);
    }
  }
  for (int i = 0; i < 4; ++i) calibration_[i]->setText(QString::fromStdString(panel_.calibrationStatus()[i]));
  refreshing_ = false;
}

bool runInRunParametersDialog(QWidget* parent, tools::Library& library, platform::Prompter& prompter) {
  CTARNBInRunParameters logic(library);
  QDialog dlg(parent);
  dlg.setWindowTitle("TARN-B In Run Parameters");
  auto* latitude = new QDoubleSpinBox(&dlg);
  latitude->setRange(-90, 90);
  latitude->setDecimals(4);
  latitude->setValue(logic.latitude);
  auto* filter = new QCheckBox("Disable Filter (it's ENABLED by default)", &dlg);
  filter->setChecked(logic.filterDisabled);
  auto* full = new QRadioButton("0 to 360 degrees", &dlg);
  auto* half = new QRadioButton("-180 to +180 degrees", &dlg);
  (logic.toolfaceRange == 1 ? half : full)->setChecked(true);
  auto* form = new QFormLayout;
  form->addRow("Well Latitude:", latitude);
  form->addRow(filter);
  form->addRow(full);
  form->addRow(half);
  auto* buttons = new QDialogButtonBox(&dlg);
  auto* accept = buttons->addButton("Aceptar", QDialogButtonBox::AcceptRole);
  buttons->addButton("Cancelar", QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  QObject::connect(accept, &QPushButton::clicked, &dlg, [&] {
    logic.latitude = latitude->value();
    logic.filterDisabled = filter->isChecked();
    logic.toolfaceRange = half->isChecked() ? 1 : 0;
    if (logic.accept(prompter)) dlg.accept();
  });
  auto* layout = new QVBoxLayout(&dlg);
  layout->addLayout(form);
  layout->addWidget(buttons);
  return dlg.exec() == QDialog::Accepted;
}

void showReportViewer(QWidget* parent, const std::filesystem::path& path, const std::string& text) {
  QDialog dlg(parent);
  dlg.setWindowTitle(QString::fromStdString(path.string()));
  auto* box = new QTextEdit(&dlg);
  box->setReadOnly(true);
  QString plain = QString::fromStdString(text);
  plain.replace("\r\n", "\n").replace('\r', '\n');
  box->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  box->setPlainText(plain);
  auto* layout = new QVBoxLayout(&dlg);
  layout->addWidget(box);
  dlg.resize(700, 600);
  dlg.exec();
}

}  // namespace kvr::tarnb::ui
