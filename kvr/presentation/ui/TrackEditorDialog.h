#pragma once
// "Track Editor": the track list of one format, edited in place (spin fields for the counts,
// a click for the rest); OK applies it to the format.

#include <QDialog>

#include "common/presentation/Format.h"
#include "kvr/presentation/CTEditor.h"

class QTableWidget;

namespace kvr::ui {

class TrackEditorDialog final : public QDialog {
 public:
  TrackEditorDialog(presentation::CFormat& format, QWidget* parent = nullptr);
  QTableWidget* table() const { return table_; }
  // A click on a cell, as the mouse gives it.
  void clickCell(int row, int column);

 private:
  void showRow(int row);

  presentation::CFormat& format_;
  editor::CTEditor editor_;
  QTableWidget* table_;
};

}  // namespace kvr::ui
