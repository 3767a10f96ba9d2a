#include "kvr/tarnc/ui/TaskPanelWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

#include "kvr/tarnc/TaskPanelTexts.h"
#include "kvr/tarnc/ui/ReportViewer.h"

namespace kvr::tarnc::ui {

namespace {

QColor colour(Rgb c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

// A number field of the options dialogs.
QLineEdit* numberField(double v, QWidget* parent) { return new QLineEdit(QString::number(v, 'g', 10), parent); }

bool readNumber(QLineEdit* field, double& out) {
  const std::string t = field->text().trimmed().toStdString();
  char* end = nullptr;
  out = std::strtod(t.c_str(), &end);
  return !t.empty() && end == t.c_str() + t.size();
}

void refuseNumber(QWidget* parent, QLineEdit* field) {
  QMessageBox::warning(parent, text::kUntitled, "Please enter a number.");
  field->setFocus();
}

// "Filter Options": the Kalman settings and the online drift correction.
class FilterOptionsDialog final : public QDialog {
 public:
  FilterOptionsDialog(CTARN_C_TaskDlg& panel, QWidget* parent) : QDialog(parent), panel_(panel) {
    setWindowTitle("Filter Options");
    setAttribute(Qt::WA_DeleteOnClose);
    const FilterOptions& o = panel.filterOptions();
    auto* form = new QFormLayout(this);
    stationKalman_ = new QCheckBox("Station Kalman Filter Active", this);
    stationKalman_->setChecked(o.stationKalman);
    gain_ = numberField(o.initialGain, this);
    out_ = new QLabel(this), err_ = new QLabel(this), final_ = new QLabel(this);
    dynamic_ = new QCheckBox("Dynamic Kalman Filter Active", this);
    dynamic_->setChecked(o.dynamicKalman);
    errEs_ = numberField(o.initialErrEs, this);
    errM_ = numberField(o.initialErrM, this);
    quick_ = numberField(o.quickKalmanTime, this);
    online_ = new QCheckBox("Online Correction Active", this);
    online_->setChecked(o.onlineCorrection);
    interval_ = numberField(o.correctionInterval, this);
    fx_ = new QCheckBox("Feedback Drift Gx", this), fy_ = new QCheckBox("Feedback Drift Gy", this);
    fz_ = new QCheckBox("Feedback Drift Gz", this);
    fx_->setChecked(o.feedbackX), fy_->setChecked(o.feedbackY), fz_->setChecked(o.feedbackZ);
    divisor_ = numberField(o.dtgDivisor, this);
    form->addRow(stationKalman_);
    form->addRow("Initial Kalman Gain:", gain_);
    form->addRow("Estimated Output: ", out_);
    form->addRow("Estimated Error:", err_);
    form->addRow("Final Kalman Gain:", final_);
    form->addRow(dynamic_);
    form->addRow("Initial Err_es:", errEs_);
    form->addRow("Initial Err_m:", errM_);
    auto* quickButton = new QPushButton("Quick Kalman", this);
    form->addRow(quickButton, quick_);
    form->addRow(online_);
    form->addRow("Correction Interval:", interval_);
    form->addRow(fx_), form->addRow(fy_), form->addRow(fz_);
    form->addRow("DTG filter divisor:", divisor_);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    form->addRow(ok, cancel);
    connect(ok, &QPushButton::clicked, this, [this] {
      if (auto o = read()) {
        if (panel_.acceptFilterOptions(*o)) close();
      }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(quickButton, &QPushButton::clicked, this, [this] {
      if (auto o = read()) quick_->setText(QString::number(panel_.quickKalman(*o)));
    });
    auto* display = new QTimer(this);
    connect(display, &QTimer::timeout, this, [this] {
      const auto& g = panel_.toolGlobals();
      out_->setText(QString::number(g.Outes)), err_->setText(QString::number(g.Ees)), final_->setText(QString::number(g.KG));
    });
    display->start(250);
  }

 private:
  std::optional<FilterOptions> read() {
    FilterOptions o = panel_.filterOptions();
    double q = 0, interval = 0, divisor = 0;
    for (auto [field, target] : {std::pair{gain_, &o.initialGain}, {errEs_, &o.initialErrEs}, {errM_, &o.initialErrM},
                                 {quick_, &q}, {interval_, &interval}, {divisor_, &divisor}}) {
      if (!readNumber(field, *target)) {
        refuseNumber(this, field);
        return std::nullopt;
      }
    }
    o.quickKalmanTime = static_cast<int>(q), o.correctionInterval = static_cast<int>(interval);
    o.dtgDivisor = static_cast<int>(divisor);
    o.stationKalman = stationKalman_->isChecked(), o.dynamicKalman = dynamic_->isChecked();
    o.onlineCorrection = online_->isChecked();
    o.feedbackX = fx_->isChecked(), o.feedbackY = fy_->isChecked(), o.feedbackZ = fz_->isChecked();
    return o;
  }

  CTARN_C_TaskDlg& panel_;
  QCheckBox *stationKalman_, *dynamic_, *online_, *fx_, *fy_, *fz_;
  QLineEdit *gain_, *errEs_, *errM_, *quick_, *interval_, *divisor_;
  QLabel *out_, *err_, *final_;
};

// "Options": the survey options; "Aceptar" hands them to the panel.
class SurveyOptionsDialog final : public QDialog {
 public:
  SurveyOptionsDialog(CTARN_C_TaskDlg& panel, std::function<void()> filters, std::function<void()> terminal,
                      QWidget* parent)
      : QDialog(parent), panel_(panel) {
    setWindowTitle("Options");
    auto* form = new QFormLayout(this);
    stationFiles_ = new QCheckBox("Create KVR Station Files", this);
    form->addRow(stationFiles_);
    for (auto [label, field] : {std::pair{"Well Latitude:", &latitude_}, {"Total Station Time:", &stationTime_},
                                {"Stabilization Time:", &stabilisation_}, {"Initial Depth:", &initialDepth_},
                                {"Auto Depth Increment:", &increment_}, {"Time Between Reset Stations:", &reset_},
                                {"Tool Face Offset:", &offset_}}) {
      *field = new QLineEdit(this);
      form->addRow(label, *field);
    }
    autoDepth_ = new QCheckBox("Activate Auto Depth", this);
    vertical_ = new QCheckBox("Vertical Only Mode", this);
    calibration_ = new QCheckBox("Calibration Station", this);
    offsetOn_ = new QCheckBox("Tool Face Offset", this);
    dll_ = new QCheckBox("Use DLL Output", this);
    accel_ = new QCheckBox("Enable Accel Correction", this);
    hstf360_ = new QRadioButton(QString::fromLatin1("HSTF 0 - 360\xEF\xBF\xBD"), this);
    hstf180_ = new QRadioButton(QString::fromLatin1("HSTF +/- 180\xEF\xBF\xBD"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{autoDepth_, vertical_, calibration_, offsetOn_, dll_, accel_,
                                                     hstf360_, hstf180_, new QCheckBox("Enable Axis Correction", this)})
      form->addRow(w);
    auto* row = new QHBoxLayout;
    auto* filtersButton = new QPushButton("Filters", this);
    auto* terminalButton = new QPushButton("Low Level Commands", this);
    auto* ok = new QPushButton("Aceptar", this);
    auto* cancel = new QPushButton("Cancelar", this);
    for (auto* b : {filtersButton, terminalButton, ok, cancel}) row->addWidget(b);
    form->addRow(row);
    connect(ok, &QPushButton::clicked, this, [this] {
      if (auto o = read()) {
        if (panel_.acceptOptions(*o)) close();
      }
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    connect(filtersButton, &QPushButton::clicked, this, [this, filters] {
      close();
      filters();
    });
    connect(terminalButton, &QPushButton::clicked, this, [this, terminal] {
      close();
      if (terminal) terminal();
    });
    connect(dll_, &QCheckBox::clicked, this, [this](bool on) { panel_.setUseDllOutput(on); });
    connect(accel_, &QCheckBox::clicked, this, [this](bool on) { panel_.setAccelCorrection(on); });
  }

  void fill() {
    const SurveyOptions& o = panel_.options();
    stationFiles_->setChecked(o.createStationFiles);
    const std::pair<QLineEdit*, double> numbers[] = {{latitude_, o.latitude},          {stationTime_, o.stationTime},
                                                     {stabilisation_, o.stabilisationTime}, {initialDepth_, o.initialDepth},
                                                     {increment_, o.depthIncrement},   {reset_, o.resetInterval},
                                                     {offset_, o.toolFaceOffset}};
    for (const auto& [field, v] : numbers) field->setText(QString::number(v, 'g', 10));
    autoDepth_->setChecked(o.autoDepth), vertical_->setChecked(o.verticalOnly);
    calibration_->setChecked(o.calibrationStation), offsetOn_->setChecked(o.toolFaceOffsetEnabled);
    dll_->setChecked(o.useDllOutput), accel_->setChecked(o.accelCorrection);
    (o.hstfPlusMinus180 ? hstf180_ : hstf360_)->setChecked(true);
  }

 private:
  std::optional<SurveyOptions> read() {
    SurveyOptions o = panel_.options();
    for (auto [field, target] : {std::pair{latitude_, &o.latitude}, {stationTime_, &o.stationTime},
                                 {stabilisation_, &o.stabilisationTime}, {initialDepth_, &o.initialDepth},
                                 {increment_, &o.depthIncrement}, {reset_, &o.resetInterval},
                                 {offset_, &o.toolFaceOffset}}) {
      if (!readNumber(field, *target)) {
        refuseNumber(this, field);
        return std::nullopt;
      }
    }
    o.createStationFiles = stationFiles_->isChecked();
    o.autoDepth = autoDepth_->isChecked(), o.verticalOnly = vertical_->isChecked();
    o.calibrationStation = calibration_->isChecked(), o.toolFaceOffsetEnabled = offsetOn_->isChecked();
    o.useDllOutput = dll_->isChecked(), o.accelCorrection = accel_->isChecked();
    o.hstfPlusMinus180 = hstf180_->isChecked();
    return o;
  }

  CTARN_C_TaskDlg& panel_;
  QCheckBox *stationFiles_, *autoDepth_, *vertical_, *calibration_, *offsetOn_, *dll_, *accel_;
  QLineEdit *latitude_ = nullptr, *stationTime_ = nullptr, *stabilisation_ = nullptr, *initialDepth_ = nullptr,
            *increment_ = nullptr, *reset_ = nullptr, *offset_ = nullptr;
  QRadioButton *hstf360_, *hstf180_;
};

// "Corrected Tool Face": follows the monitor, shown while it runs.
class ToolFaceWindow final : public QDialog {
 public:
  ToolFaceWindow(CToolFaceMonitor& monitor, QWidget* parent) : QDialog(parent), monitor_(monitor) {
    setWindowTitle("Corrected Tool Face");
    auto* layout = new QVBoxLayout(this);
    value_ = new QLabel(this);
    QFont big = value_->font();
    big.setPointSize(28);
    big.setBold(true);
    value_->setFont(big);
    layout->addWidget(value_);
    auto* gyrotf = new QRadioButton("GYROTF", this);
    auto* hstf = new QRadioButton("HSTF", this);
    gyrotf->setChecked(true);
    layout->addWidget(gyrotf);
    layout->addWidget(hstf);
    connect(hstf, &QRadioButton::toggled, this, [this](bool on) { monitor_.showHstf(on); });
    monitor_.setChanged([this] { refresh(); });
  }
  ~ToolFaceWindow() override { monitor_.setChanged(nullptr); }
  void refresh() {
    setVisible(monitor_.shown());
    // The monitor's degree sign is the Latin-1 byte 0xBA.
    value_->setText(QString::fromLatin1(monitor_.text().c_str()));
    QPalette p = value_->palette();
    p.setColor(QPalette::WindowText, colour(monitor_.colour()));
    value_->setPalette(p);
  }

 private:
  CToolFaceMonitor& monitor_;
  QLabel* value_;
};

}  // namespace

TaskPanelWindow::TaskPanelWindow(CTARN_C_TaskDlg& panel, std::function<void()> openTerminal, QWidget* parent)
    : QDialog(parent), panel_(panel), openTerminal_(std::move(openTerminal)) {
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* buttons = new QHBoxLayout;
  auto add = [&](const char* label, std::function<void()> action) {
    auto* b = new QPushButton(label, this);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    if (action) {
      connect(b, &QPushButton::clicked, this, std::move(action));
    } else {
      b->setEnabled(false);  // post-processing comes with its own work
    }
    return b;
  };
  add("Initialize", [this] { panel_.initialize(); });
  northSeeking_ = add("North-Seeking", [this] { panel_.northSeeking(); });
  add("Survey Up", [this] { panel_.surveyUp(); });
  add("Survey Dwn", [this] { panel_.surveyDown(); });
  add("Stop Survey", [this] { panel_.stopSurvey(); });
  rollTest_ = add("RollTest", [this] { panel_.rollTest(); });
  axisCorrection_ = add("Axis Correction", [this] { panel_.axisCorrection(); });
  add("Upload", [this] { panel_.upload(); });
  add("Options", [this] { openOptions(); });
  add("Post Process", nullptr);
  layout->addLayout(buttons);

  auto* info = new QGridLayout;
  auto label = [&](const char* caption, int row, int column) {
    info->addWidget(new QLabel(caption, this), row, column);
    auto* value = new QLabel(this);
    value->setFrameShape(QFrame::Panel);
    value->setFrameShadow(QFrame::Sunken);
    info->addWidget(value, row, column + 1);
    return value;
  };
  calStatus_ = label("Calibration:", 0, 0);
  version_ = label("File Version:", 0, 2);
  calDate_ = label("Calibration Date:", 0, 4);
  serial_ = label("Sensor S/N:", 1, 0);
  latitude_ = label("Latitude:", 1, 2);
  motor_ = label("RPM:", 1, 4);
  reset_ = label("Time to Reset:", 2, 0);
  icon_ = label("Telemetry:", 2, 2);
  layout->addLayout(info);

  progress_ = new QProgressBar(this);
  layout->addWidget(progress_);
  list_ = new QTableWidget(this);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->verticalHeader()->hide();
  layout->addWidget(list_);
  resize(900, 420);

  new ToolFaceWindow(panel_.toolFaceMonitor(), this);
  panel_.setChanged([this] { refresh(); });
  // Modal over the panel, while the panel's timers run on (the indexer is still on its way home).
  panel_.setReportViewer([this](const std::filesystem::path& report) {
    auto* viewer = new ReportViewer(report, this);
    viewer->setModal(true);
    viewer->show();
  });
  refresh();
}

TaskPanelWindow::~TaskPanelWindow() {
  panel_.setChanged(nullptr);
  panel_.setReportViewer(nullptr);
}

void TaskPanelWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void TaskPanelWindow::setPostProcess(std::function<void()> open) {
  auto* b = button("Post Process");
  b->setEnabled(true);
  connect(b, &QPushButton::clicked, this, std::move(open));
}

QPushButton* TaskPanelWindow::button(const char* label) const {
  for (auto* b : findChildren<QPushButton*>()) {
    if (b->parent() == this && b->text() == label) return b;
  }
  return nullptr;
}

void TaskPanelWindow::openOptions() {
  if (!options_) {
    options_ = new SurveyOptionsDialog(panel_, [this] { openFilterOptions(); }, openTerminal_, this);
  }
  static_cast<SurveyOptionsDialog*>(options_)->fill();
  options_->show();
  options_->raise();
}

void TaskPanelWindow::openFilterOptions() { (new FilterOptionsDialog(panel_, this))->show(); }

void TaskPanelWindow::refresh() {
  setWindowTitle(QString::fromStdString(panel_.title()));
  const StationList& l = panel_.list();
  const auto columns = StationList::columns(l.layout());
  if (list_->columnCount() != static_cast<int>(columns.size())) list_->setColumnCount(static_cast<int>(columns.size()));
  QStringList headers;
  for (const auto& c : columns) headers << QString::fromStdString(c);
  list_->setHorizontalHeaderLabels(headers);
  const int rows = static_cast<int>(l.rows().size());
  const bool grew = rows > list_->rowCount();
  list_->setRowCount(rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
      const CellLook look = l.cell(static_cast<std::size_t>(r), c);
      auto* item = list_->item(r, c);
      if (!item) list_->setItem(r, c, item = new QTableWidgetItem);
      item->setText(QString::fromStdString(look.text));
      item->setBackground(colour(look.background));
      item->setForeground(colour(look.foreground));
      QFont f = item->font();
      f.setBold(look.emphasised);
      item->setFont(f);
    }
  }
  if (grew) list_->scrollToBottom();
  progress_->setVisible(panel_.progressShown());
  progress_->setRange(0, std::max(1, panel_.progressRange()));
  progress_->setValue(std::min(panel_.progressPosition(), std::max(1, panel_.progressRange())));
  northSeeking_->setText(QString::fromStdString(panel_.stationButton()));
  rollTest_->setText(QString::fromStdString(panel_.rollButton()));
  axisCorrection_->setText(QString::fromStdString(panel_.axisButton()));
  northSeeking_->setEnabled(panel_.northSeekingEnabled());
  calStatus_->setText(QString::fromStdString(panel_.calibrationStatus()));
  version_->setText(QString::fromStdString(panel_.calibrationVersion()));
  calDate_->setText(QString::fromStdString(panel_.calibrationDate()));
  serial_->setText(QString::fromStdString(panel_.serialNumber()));
  latitude_->setText(QString::fromStdString(panel_.latitudeText()));
  motor_->setText(QString::fromStdString(panel_.motorSpeedText()));
  reset_->setText(QString::fromStdString(panel_.resetText()));
  switch (panel_.icon()) {
    case CTARN_C_TaskDlg::Icon::TelemetryOff: icon_->setText("Stopped"); break;
    case CTARN_C_TaskDlg::Icon::Logging: icon_->setText("Logging mode"); break;
    case CTARN_C_TaskDlg::Icon::SurveyMode: icon_->setText("Survey mode"); break;
  }
}

}  // namespace kvr::tarnc::ui
