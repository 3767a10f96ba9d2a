#pragma once
// A magnified monitor: its own window, titled with the box caption, with one large text
// control that fills it.

#include <QWidget>

#include <functional>

#include "kvr/monitors/ui/StaticExWidget.h"

namespace kvr::ui {

class CBigMonitorDlg final : public QWidget {
 public:
  // closed: told when the user closes the window (the window is deleted after it).
  CBigMonitorDlg(int id, const QString& title, std::function<void(int)> closed);
  int id() const { return id_; }
  StaticExWidget& text() { return *text_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int id_;
  StaticExWidget* text_;
  std::function<void(int)> closed_;
};

}  // namespace kvr::ui
