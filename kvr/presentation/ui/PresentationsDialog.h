#pragma once
// "Log Page Presentations": the fifteen format slots over the presentation manager with
// its file buttons, the track and curve editors of each slot and the preview. Modeless: a
// log does not start while it is open.

#include <QDialog>

#include <array>
#include <memory>

#include "common/presentation/PresManager.h"
#include "kvr/presentation/ui/CurveEditorDialog.h"
#include "kvr/presentation/ui/PresentationPreview.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kvr::ui {

class PresentationsDialog final : public QDialog {
 public:
  // channels: the channel list of the tool string, for the curve editor.
  PresentationsDialog(presentation::CPresManager& manager, platform::Prompter& prompter,
                      CurveEditorDialog::Channels channels, QWidget* parent = nullptr);
  ~PresentationsDialog() override;

  // Slot controls from the manager's formats (after every read and erase).
  void refresh();
  // Exit: slot controls into the formats, names checked, DEFAULT_FORMAT.TXT written.
  bool tryExit();

  QCheckBox* selection(std::size_t slot) const { return rows_[slot].select; }
  QLineEdit* nameBox(std::size_t slot) const { return rows_[slot].name; }
  QComboBox* scaleBox(std::size_t slot) const { return rows_[slot].scale; }
  QPushButton* gridButton(std::size_t slot) const { return rows_[slot].grid; }
  QPushButton* curvesButton(std::size_t slot) const { return rows_[slot].curves; }
  const PresentationPreview& preview() const { return preview_; }

 protected:
  void reject() override;  // the window's close box goes through Exit too

 private:
  struct Row {
    QCheckBox* select = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* scale = nullptr;
    QPushButton* grid = nullptr;
    QPushButton* curves = nullptr;
  };
  void copySlots();
  void editTracks(std::size_t slot);
  void editCurves(std::size_t slot);

  presentation::CPresManager& manager_;
  platform::Prompter& prompter_;
  CurveEditorDialog::Channels channels_;
  PresentationPreview preview_;
  std::array<Row, presentation::CPresManager::kSlots> rows_{};
};

}  // namespace kvr::ui
