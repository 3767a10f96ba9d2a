#pragma once
// "Curve Editor": the curve list of one format with its in-place fields (track choice, value
// fields, colour dialog, channel chooser), "&Add" and "&Erase"; OK applies it to the format.

#include <QDialog>

#include <functional>

#include "common/presentation/Format.h"
#include "common/records/ChannelStruct.h"
#include "kvr/presentation/CCEditor.h"
#include "platform/Prompter.h"

class QTableWidget;

namespace kvr::ui {

class CurveEditorDialog final : public QDialog {
 public:
  using Channels = std::function<const records::ChannelList&()>;
  CurveEditorDialog(presentation::CFormat& format, platform::Prompter& prompter, Channels channels,
                    QWidget* parent = nullptr);
  QTableWidget* table() const { return table_; }
  const editor::CCEditor& editor() const { return editor_; }
  // A click on a cell, as the mouse gives it.
  void clickCell(int row, int column);

 private:
  void showRows();
  void showRow(int row);
  void closeField(int row, int column);

  presentation::CFormat& format_;
  Channels channels_;
  editor::CCEditor editor_;
  QTableWidget* table_;
};

}  // namespace kvr::ui
