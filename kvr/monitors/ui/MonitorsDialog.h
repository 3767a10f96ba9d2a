#pragma once
// "Monitors": twenty boxes with a caption and a value each, the File menu with "&Load Monitor"
// and "&Save Monitor", a double-click to bind a box through "Channels", and a right-button
// menu with "Close Monitor" and "Magnify Monitor". Closing only hides it.

#include <QDialog>

#include <array>
#include <map>

#include "kvr/monitors/CMonitorManager.h"
#include "kvr/monitors/ui/BigMonitorDlg.h"
#include "kvr/monitors/ui/StaticExWidget.h"

class QLabel;
class QMenu;

namespace kvr::ui {

class MonitorsDialog final : public QDialog {
 public:
  MonitorsDialog(monitors::CMonitorManager& manager, QWidget* parent = nullptr);
  ~MonitorsDialog() override;

  // Captions and values of the boxes and the magnified monitors from the manager.
  void refresh();

  // What the mouse does on box i: a double-click binds it (the channel chooser), the right
  // button opens its menu at the given global point.
  void chooseChannel(std::size_t i);
  void openBoxMenu(std::size_t i, const QPoint& at);
  void magnify(std::size_t i);

  QLabel* caption(std::size_t i) const { return boxes_[i].caption; }
  StaticExWidget* value(std::size_t i) const { return boxes_[i].value; }
  QWidget* box(std::size_t i) const { return boxes_[i].frame; }
  const std::map<int, CBigMonitorDlg*>& magnifiedWindows() const { return big_; }
  QMenu* fileMenu() const { return fileMenu_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Box {
    QWidget* frame = nullptr;
    QLabel* caption = nullptr;
    StaticExWidget* value = nullptr;
  };
  void closeMagnified(int id);

  monitors::CMonitorManager& manager_;
  std::array<Box, monitors::kMonitorBoxes> boxes_{};
  std::map<int, CBigMonitorDlg*> big_;
  QMenu* fileMenu_ = nullptr;
};

}  // namespace kvr::ui
