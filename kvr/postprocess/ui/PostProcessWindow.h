#pragma once
// The window of the "Post Processing Manager": a thin view over PostProcessManager with its
// two buttons, its two switches and the grid of continuous segments.

#include <QDialog>
#include <string>

#include "kvr/postprocess/PostProcessManager.h"

class QCheckBox;
class QPushButton;
class QTableWidget;

namespace kvr::postprocess::ui {

class PostProcessWindow final : public QDialog {
 public:
  // sessionFolder: where "Add Files" starts (its "Output" folder).
  PostProcessWindow(PostProcessManager& manager, std::string sessionFolder, QWidget* parent = nullptr);

  QPushButton* addFilesButton() const { return addFiles_; }
  QPushButton* processButton() const { return process_; }
  QCheckBox* axisCorrectionBox() const { return axis_; }
  QCheckBox* acelCorrectionBox() const { return acel_; }
  QTableWidget* grid() const { return grid_; }

 private:
  void addFiles();
  void process();
  void refresh();

  PostProcessManager& manager_;
  std::string sessionFolder_;
  QPushButton* addFiles_;
  QPushButton* process_;
  QCheckBox* axis_;
  QCheckBox* acel_;
  QTableWidget* grid_;
};

// Traces of the post-processing to Qt's debug output.
class QtDebugTrace final : public TraceSink {
 public:
  void trace(std::string_view text) override;
};

}  // namespace kvr::postprocess::ui
