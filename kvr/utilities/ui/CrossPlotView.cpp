#include "kvr/utilities/ui/CrossPlotView.h"

#include <QPainter>

#include "platform/qt/QtCanvas.h"

namespace kvr::utilities::ui {

CrossPlotView::CrossPlotView(const CCrossPlotViewWnd& plot, QWidget* parent) : QWidget(parent), plot_(plot) {
  setMinimumSize(640, 470);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CrossPlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  platform::Rect client{0, 0, width(), height()};
  platform::qt::QtCanvas canvas(painter, client);
  plot_.draw(canvas, client);
}

}  // namespace kvr::utilities::ui
