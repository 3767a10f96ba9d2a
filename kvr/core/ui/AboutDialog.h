#pragma once
// The About box's view.

#include <QDialog>

#include "kvr/core/AboutBox.h"

namespace kvr::ui {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(const AboutBox& box, QWidget* parent = nullptr);
};

}  // namespace kvr::ui
