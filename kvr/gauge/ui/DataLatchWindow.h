#pragma once
// The "Data Latch Manager" window: a thin view over CDataLatchTaskPanel, with "Memory Gauge
// Status" after a connect and "Memory Gauge Download Data" from "Download".

#include <QDialog>

#include <memory>

#include "kvr/gauge/CDataLatchTaskPanel.h"
#include "platform/Clock.h"

class QProgressBar;
class QPushButton;

namespace kvr::ui {
class StaticExWidget;
}

namespace kvr::gauge::ui {

class DataLatchWindow final : public QDialog {
 public:
  DataLatchWindow(CDataLatchTaskPanel& panel, const platform::Clock& clock, QWidget* parent = nullptr);
  ~DataLatchWindow() override;

  kvr::ui::StaticExWidget* pressure() const { return pressure_; }
  kvr::ui::StaticExWidget* temperature() const { return temperature_; }
  kvr::ui::StaticExWidget* statusLine() const { return status_; }
  QProgressBar* progress() const { return progress_; }
  QPushButton* button(const QString& text) const;

 private:
  void refresh();
  void showStatus();
  void download();

  CDataLatchTaskPanel& panel_;
  const platform::Clock& clock_;
  kvr::ui::StaticExWidget* pressure_;
  kvr::ui::StaticExWidget* temperature_;
  kvr::ui::StaticExWidget* status_;
  QProgressBar* progress_;
};

}  // namespace kvr::gauge::ui
