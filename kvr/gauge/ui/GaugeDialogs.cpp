#include "kvr/gauge/ui/GaugeDialogs.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "kvr/gauge/GaugeTexts.h"

namespace kvr::gauge::ui {

QDialog* makeStatusDialog(const CToolConexionDlg& status, QWidget* parent) {
  auto* d = new QDialog(parent);
  d->setWindowTitle(text::kStatusTitle);
  d->setAttribute(Qt::WA_DeleteOnClose);
  auto* form = new QFormLayout(d);
  auto row = [&](const char* label, const std::string& value) {
    auto* field = new QLineEdit(QString::fromStdString(value), d);
    field->setReadOnly(true);
    form->addRow(label, field);
  };
  row("Gauge Serial Number:", status.serialNumber);
  row("Tool Model:", status.toolModel);
  row("Number of Recorded Jobs:", status.recordedJobs);
  row("Allocated Memory Samples:", status.allocatedMemory);
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, d);
  QObject::connect(ok, &QDialogButtonBox::accepted, d, &QDialog::accept);
  form->addRow(ok);
  return d;
}

DatePickerDialog::DatePickerDialog(CDatePickerDlg& picker, QWidget* parent) : QDialog(parent), picker_(picker) {
  setWindowTitle(text::kDatePickerTitle);
  auto* layout = new QVBoxLayout(this);
  calendar_ = new QCalendarWidget(this);
  calendar_->setDateRange(QDate(CDatePickerDlg::kFirstYear, 1, 1), QDate(CDatePickerDlg::kLastYear, 12, 31));
  calendar_->setSelectedDate(QDate(picker.year(), picker.month(), picker.day()));
  time_ = new QTimeEdit(QTime(picker.hour(), picker.minute(), picker.second()), this);
  time_->setDisplayFormat("HH:mm:ss");
  layout->addWidget(calendar_);
  layout->addWidget(time_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void DatePickerDialog::accept() {
  const QDate d = calendar_->selectedDate();
  const QTime t = time_->time();
  if (!picker_.setDate(d.year(), d.month(), d.day()) || !picker_.setTime(t.hour(), t.minute(), t.second())) return;
  QDialog::accept();
}

std::optional<PickedDate> runDatePicker(QWidget* parent, const platform::CalendarTime& now) {
  CDatePickerDlg picker(now);
  DatePickerDialog dialog(picker, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return picker.picked();
}

DownloadDialog::DownloadDialog(CDownloadDataDlg& download, QWidget* parent) : QDialog(parent), download_(download) {
  setWindowTitle(text::kDownloadTitle);
  auto* form = new QFormLayout(this);
  jobs_ = new QComboBox(this);
  for (std::size_t i = 0; i < download.jobs().size(); ++i) jobs_->addItem(QString::asprintf("%d", static_cast<int>(i + 1)));
  total_ = new QLineEdit(this);
  total_->setReadOnly(true);
  from_ = new QLineEdit(QString::fromStdString(download.fromSample()), this);
  to_ = new QLineEdit(this);
  serial_ = new QLineEdit(QString::fromStdString(download.serialText()), this);
  serial_->setReadOnly(true);
  progress_ = new QProgressBar(this);
  form->addRow("Job Number:", jobs_);
  form->addRow("Total Job Samples:", total_);
  form->addRow("From Sample:", from_);
  form->addRow("To Sample:", to_);
  form->addRow("Gauge Serial Number:", serial_);
  form->addRow(progress_);
  auto* go = new QPushButton("&Download...", this);
  auto* close = new QPushButton("Close", this);
  form->addRow(go, close);
  connect(jobs_, &QComboBox::currentIndexChanged, this, [this](int i) { download_.selectJob(i); });
  connect(from_, &QLineEdit::textEdited, this, [this](const QString& t) { download_.setFromSample(t.toStdString()); });
  connect(to_, &QLineEdit::textEdited, this, [this](const QString& t) { download_.setToSample(t.toStdString()); });
  connect(go, &QPushButton::clicked, this, [this] { download_.download(); });
  connect(close, &QPushButton::clicked, this, &DownloadDialog::reject);
  download_.setChanged([this] { refresh(); });
  refresh();
}

void DownloadDialog::reject() {
  if (download_.running()) return;  // the download runs to its end or its failure
  download_.setChanged(nullptr);
  QDialog::reject();
}

void DownloadDialog::refresh() {
  jobs_->setCurrentIndex(download_.selectedJob());
  total_->setText(QString::number(download_.totalSamples()));
  if (!to_->hasFocus()) to_->setText(QString::fromStdString(download_.toSample()));
  progress_->setRange(0, std::max(1, download_.progressMax()));
  progress_->setValue(download_.progress());
  jobs_->setEnabled(!download_.running());
}

}  // namespace kvr::gauge::ui
