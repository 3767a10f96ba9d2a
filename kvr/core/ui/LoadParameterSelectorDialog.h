#pragma once
// "Load Parameter Selector": the tools that the chosen file and the current string share,
// each with a check box (all checked); OK loads the checked ones' stored parameters.

#include <QDialog>

#include "kvr/core/CToolSelector.h"

class QListWidget;

namespace kvr::ui {

class LoadParameterSelectorDialog : public QDialog {
 public:
  LoadParameterSelectorDialog(CToolSelector& selector, QWidget* parent = nullptr);
  QListWidget* list() const { return list_; }
  // The tools loaded by OK; 0 before.
  int loaded() const { return loaded_; }
  void accept() override;

 private:
  CToolSelector& selector_;
  QListWidget* list_;
  int loaded_ = 0;
};

// "&Load Parameters": the file dialog in the session folder, then the selector; how many
// tools got their parameters (0 when nothing was loaded).
int runLoadParameters(CToolSelector& selector, const std::filesystem::path& sessionFolder, QWidget* parent);

}  // namespace kvr::ui
