#include "kvr/core/ui/ToolSketchWidget.h"

#include <QPainter>
#include <QWheelEvent>

#include "kvr/core/ui/PainterCanvas.h"

namespace kvr::ui {

ToolSketchWidget::ToolSketchWidget(QWidget* parent) : QWidget(parent) {
  setMinimumSize(260, 360);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
}

void ToolSketchWidget::setTools(const records::ToolList& tools) {
  tools_ = tools;
  update();
}

void ToolSketchWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PainterCanvas canvas(painter, {0, 0, width(), height()});
  viewer_.draw(canvas, tools_);
}

void ToolSketchWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  viewer_.wheel(delta);
  update();
  emit scrolled();
}

}  // namespace kvr::ui
