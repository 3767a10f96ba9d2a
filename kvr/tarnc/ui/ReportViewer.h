#pragma once
// "Report Viewer": the text of a roll-test or axis-correction report in a read-only rich-text
// window, modal over the task panel.

#include <QDialog>

#include <filesystem>

class QTextEdit;

namespace kvr::tarnc::ui {

class ReportViewer final : public QDialog {
 public:
  ReportViewer(const std::filesystem::path& report, QWidget* parent);
  QString text() const;

 private:
  QTextEdit* text_;
};

}  // namespace kvr::tarnc::ui
