#pragma once
// The calibration dialog: "<<" / ">>", "Available Calibrations" (a double click starts
// one), the output as rich text and the progress window. Its behaviour is CCaliManager's;
// closing it stops a running calibration.

#include <QDialog>

#include <functional>

#include "kvr/calibration/CCaliManager.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QTextEdit;

namespace kvr::ui {

class CalibrationDialog final : public QDialog, public CalibrationView {
 public:
  // `open` builds the manager over this dialog as its view; its owner keeps it while the
  // dialog is open and ends it before the dialog goes.
  CalibrationDialog(const std::function<CCaliManager&(CalibrationView&)>& open, QWidget* parent = nullptr);
  CCaliManager& manager() { return *manager_; }
  QListWidget& calibrations() { return *list_; }

  void appendOutput(const std::string& text) override;
  void showProgress(const std::string& text) override;
  void setProgress(int position) override;
  void hideProgress() override;

 protected:
  void done(int result) override;

 private:
  void showTool();
  CCaliManager* manager_;
  QListWidget* list_;
  QTextEdit* output_;
  QWidget* progress_;
  QLabel* progressText_;
  QProgressBar* progressBar_;
};

}  // namespace kvr::ui
