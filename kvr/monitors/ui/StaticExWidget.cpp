#include "kvr/monitors/ui/StaticExWidget.h"

#include <QPainter>
#include <QResizeEvent>

#include "platform/qt/QtCanvas.h"

namespace kvr::ui {

StaticExWidget::StaticExWidget(bool magnified, QWidget* parent) : QWidget(parent), magnified_(magnified) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (magnified_) control_.setColours(monitors::CStaticEx::kBlack, monitors::CStaticEx::kGreen);
  setMinimumSize(40, 20);
}

void StaticExWidget::setText(const std::string& text) {
  if (text == control_.text()) return;
  const bool refit = magnified_ && text.size() != control_.text().size();
  control_.setText(text);
  if (refit) control_.fitTo({width(), height()});
  update();
}

void StaticExWidget::resizeEvent(QResizeEvent* event) {
  if (magnified_) control_.fitTo({event->size().width(), event->size().height()});
  QWidget::resizeEvent(event);
}

void StaticExWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  platform::qt::QtCanvas canvas(painter, {0, 0, width(), height()});
  control_.paint(canvas, {0, 0, width(), height()});
}

}  // namespace kvr::ui
