#pragma once
// The window of the "Low Level Commands Terminal": a thin view over CTARNC_LowLevelCmdDlg.

#include <QDialog>

#include "kvr/tarnc/CTARNC_LowLevelCmdDlg.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kvr::tarnc::ui {

class LowLevelCmdWindow final : public QDialog {
 public:
  explicit LowLevelCmdWindow(CTARNC_LowLevelCmdDlg& terminal, QWidget* parent = nullptr);
  ~LowLevelCmdWindow() override;

  QComboBox* commandList() const { return commands_; }
  QPlainTextEdit* valuesBox() const { return values_; }
  QLabel* statusLine() const { return status_; }
  QLabel* helpText() const { return help_; }
  QPushButton* sendButton() const { return send_; }

 private:
  void refresh();

  CTARNC_LowLevelCmdDlg& terminal_;
  QComboBox* commands_;
  QLabel* help_;
  QLabel* status_;
  QPlainTextEdit* values_;
  QPushButton* send_;
};

}  // namespace kvr::tarnc::ui
