#pragma once
// The memory gauge's modal dialogs: "Memory Gauge Status", "DATE PICKER" and "Memory Gauge
// Download Data", thin views over their logic.

#include <QDialog>

#include <optional>

#include "kvr/gauge/CDatePickerDlg.h"
#include "kvr/gauge/CDownloadDataDlg.h"
#include "kvr/gauge/CToolConexionDlg.h"

class QComboBox;
class QLineEdit;
class QProgressBar;
class QCalendarWidget;
class QTimeEdit;

namespace kvr::gauge::ui {

// "Memory Gauge Status" with what the last Connect uploaded.
QDialog* makeStatusDialog(const CToolConexionDlg& status, QWidget* parent);

class DatePickerDialog final : public QDialog {
 public:
  DatePickerDialog(CDatePickerDlg& picker, QWidget* parent = nullptr);
  QCalendarWidget* calendar() const { return calendar_; }
  QTimeEdit* timeEdit() const { return time_; }
  void accept() override;

 private:
  CDatePickerDlg& picker_;
  QCalendarWidget* calendar_;
  QTimeEdit* time_;
};

// Asks for the start date and time; none when cancelled.
std::optional<PickedDate> runDatePicker(QWidget* parent, const platform::CalendarTime& now);

class DownloadDialog final : public QDialog {
 public:
  DownloadDialog(CDownloadDataDlg& download, QWidget* parent = nullptr);
  QComboBox* jobList() const { return jobs_; }
  QLineEdit* totalSamples() const { return total_; }
  QLineEdit* toSample() const { return to_; }
  QLineEdit* serial() const { return serial_; }
  QProgressBar* progress() const { return progress_; }
  void reject() override;

 private:
  void refresh();
  CDownloadDataDlg& download_;
  QComboBox* jobs_;
  QLineEdit* total_;
  QLineEdit* from_;
  QLineEdit* to_;
  QLineEdit* serial_;
  QProgressBar* progress_;
};

}  // namespace kvr::gauge::ui
