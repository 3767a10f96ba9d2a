#pragma once
// "TARN B Task Panel" on screen: a thin modeless view over CTARN_B_TaskDlg, with its dialogs
// (the in-run parameters, the report options and the report viewer).

#include <QDialog>

#include "kvr/tarnb/CTARN_B_TaskDlg.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace kvr::tarnb::ui {

class TarnBPanelWindow final : public QDialog {
 public:
  explicit TarnBPanelWindow(CTARN_B_TaskDlg& panel, QWidget* parent = nullptr);
  ~TarnBPanelWindow() override;

  QPushButton* stationButton() const { return station_; }
  QPushButton* addIntervalButton() const { return addInterval_; }
  QListWidget* stationList() const { return stations_; }
  QTableWidget* intervalTable() const { return intervals_; }
  QLabel* calibrationField(int i) const { return calibration_[i]; }

 private:
  void refresh();
  void addStations();
  void loadStation();

  CTARN_B_TaskDlg& panel_;
  QPushButton* station_;
  QPushButton* addInterval_;
  QCheckBox* raw_;
  QCheckBox* las_;
  QListWidget* stations_;
  QTableWidget* intervals_;
  QLabel* calibration_[4];
  bool refreshing_ = false;
};

// "TARN-B In Run Parameters" (modal); true after "Aceptar" was accepted.
bool runInRunParametersDialog(QWidget* parent, tools::Library& library, platform::Prompter& prompter);

// "Report Viewer" (modal): the report's text, its path as the window title.
void showReportViewer(QWidget* parent, const std::filesystem::path& path, const std::string& text);

}  // namespace kvr::tarnb::ui
