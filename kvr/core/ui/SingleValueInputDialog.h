#pragma once
// The view of CSingleValueInput: a prompt, an edit box and OK / Cancel. OK stays open while
// the logic refuses the text.

#include <QDialog>

#include "kvr/core/CSingleValueInput.h"

class QLineEdit;

namespace kvr::ui {

class SingleValueInputDialog : public QDialog {
  Q_OBJECT
 public:
  SingleValueInputDialog(CSingleValueInput& input, platform::Prompter& prompter, QWidget* parent = nullptr);
  QLineEdit* edit() const { return edit_; }
  void accept() override;

 private:
  CSingleValueInput& input_;
  platform::Prompter& prompter_;
  QLineEdit* edit_;
};

}  // namespace kvr::ui
