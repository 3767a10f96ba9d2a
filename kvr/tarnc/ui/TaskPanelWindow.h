#pragma once
// The window of the "TARN-C Task Panel": a thin view over CTARN_C_TaskDlg, with the survey
// options and filter options dialogs it opens.

#include <QDialog>

#include <functional>

#include "kvr/tarnc/CTARN_C_TaskDlg.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kvr::tarnc::ui {

class TaskPanelWindow final : public QDialog {
 public:
  // openTerminal: "Low Level Commands" of the options dialog.
  TaskPanelWindow(CTARN_C_TaskDlg& panel, std::function<void()> openTerminal, QWidget* parent = nullptr);
  ~TaskPanelWindow() override;

  QPushButton* button(const char* label) const;
  // "Post Process" opens what the program gives here (the post-processing window).
  void setPostProcess(std::function<void()> open);
  QTableWidget* list() const { return list_; }
  QProgressBar* progress() const { return progress_; }
  QLabel* resetLabel() const { return reset_; }
  // The survey options dialog, made on first use.
  QDialog* optionsDialog() const { return options_; }
  void openOptions();

  // Enter and Esc do nothing: the panel lives as long as the tool string.
  void reject() override {}
  void accept() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void refresh();
  void openFilterOptions();

  CTARN_C_TaskDlg& panel_;
  std::function<void()> openTerminal_;
  QTableWidget* list_;
  QProgressBar* progress_;
  QLabel *calStatus_, *serial_, *calDate_, *version_, *latitude_, *motor_, *reset_, *icon_;
  QPushButton *northSeeking_, *rollTest_, *axisCorrection_;
  QDialog* options_ = nullptr;
};

}  // namespace kvr::tarnc::ui
