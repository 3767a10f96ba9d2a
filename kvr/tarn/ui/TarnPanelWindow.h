#pragma once
// "TARN Task Panel" on screen: a thin modeless view over CTARNTaskPanel, with its "Setup"
// dialog.

#include <QDialog>

#include "kvr/tarn/CTARNTaskPanel.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kvr::ui {
class StaticExWidget;
}

namespace kvr::tarn::ui {

class TarnPanelWindow final : public QDialog {
 public:
  explicit TarnPanelWindow(CTARNTaskPanel& panel, QWidget* parent = nullptr);
  ~TarnPanelWindow() override;

  QPushButton* driftStationButton() const { return drift_; }
  QPushButton* processingButton() const { return processing_; }
  kvr::ui::StaticExWidget* countdown() const { return countdown_; }
  QLineEdit* driftField(int axis) const { return drifts_[axis]; }

 private:
  void refresh();
  void runSetup();
  void runProcessing();

  CTARNTaskPanel& panel_;
  QPushButton* drift_;
  QPushButton* processing_;
  QCheckBox* surveyMode_;
  kvr::ui::StaticExWidget* countdown_;
  QLineEdit* drifts_[3];
};

}  // namespace kvr::tarn::ui
