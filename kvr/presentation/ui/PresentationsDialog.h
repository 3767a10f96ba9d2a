#pragma once
// "Log Page Presentations": the fifteen format slots over the presentation manager with
// its file buttons. Modeless: a log does not start while it is open.

#include <QDialog>

#include <array>

#include "common/presentation/PresManager.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kvr::ui {

class PresentationsDialog final : public QDialog {
 public:
  PresentationsDialog(presentation::CPresManager& manager, QWidget* parent = nullptr);

  // Slot controls from the manager's formats (after every read and erase).
  void refresh();
  // Exit: slot controls into the formats, names checked, DEFAULT_FORMAT.TXT written.
  bool tryExit();

  QCheckBox* selection(std::size_t slot) const { return rows_[slot].select; }
  QLineEdit* nameBox(std::size_t slot) const { return rows_[slot].name; }
  QComboBox* scaleBox(std::size_t slot) const { return rows_[slot].scale; }

 protected:
  void reject() override;  // the window's close box goes through Exit too

 private:
  struct Row {
    QCheckBox* select = nullptr;
    QLineEdit* name = nullptr;
    QComboBox* scale = nullptr;
  };
  void copySlots();

  presentation::CPresManager& manager_;
  std::array<Row, presentation::CPresManager::kSlots> rows_{};
};

}  // namespace kvr::ui
