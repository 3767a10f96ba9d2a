#pragma once
// The sketch inside the "ToolString Manager" dialog: paints CTSViewer and turns the wheel
// into its scroll steps.

#include <QWidget>

#include "common/records/ChannelStruct.h"
#include "kvr/core/CTSViewer.h"

namespace kvr::ui {

class ToolSketchWidget : public QWidget {
  Q_OBJECT
 public:
  explicit ToolSketchWidget(QWidget* parent = nullptr);
  void setTools(const records::ToolList& tools);
  CTSViewer& viewer() { return viewer_; }

 signals:
  void scrolled();

 protected:
  void paintEvent(QPaintEvent*) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  records::ToolList tools_;
  CTSViewer viewer_;
};

}  // namespace kvr::ui
