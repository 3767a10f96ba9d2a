#pragma once
// "ToolString Manager": the view of ToolStringEditor with its three lists, the sketch and
// its scroll bar. Every rule lives in the editor; this class only wires the controls.

#include <QDialog>

#include "kvr/core/ToolStringEditor.h"

class QListWidget;
class QScrollBar;

namespace kvr::ui {

class ToolSketchWidget;

class ToolStringManagerDialog : public QDialog {
  Q_OBJECT
 public:
  ToolStringManagerDialog(ToolStringEditor& editor, platform::Prompter& prompter, std::int32_t modeWord,
                          QWidget* parent = nullptr);

  QListWidget* availableList() const { return available_; }
  QListWidget* accessoryList() const { return accessories_; }
  QListWidget* stringList() const { return string_; }
  QScrollBar* scrollBar() const { return scroll_; }

  void accept() override;

 private:
  void refresh(std::optional<std::size_t> select);
  void addTool();
  void removeItem();
  void moveUp();
  void moveDown();
  void addOnTop();
  void addAccessory();
  void serialNumber();
  void onScroll(int action);
  void showScrollPosition();
  std::optional<std::size_t> current(QListWidget* list) const;

  ToolStringEditor& editor_;
  platform::Prompter& prompter_;
  std::int32_t modeWord_;
  QListWidget* available_;
  QListWidget* accessories_;
  QListWidget* string_;
  ToolSketchWidget* sketch_;
  QScrollBar* scroll_;
};

}  // namespace kvr::ui
