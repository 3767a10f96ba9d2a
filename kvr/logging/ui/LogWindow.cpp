#include "kvr/logging/ui/LogWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "common/presentation/RenderRules.h"
#include "platform/qt/QtCanvas.h"

namespace kvr::ui {

namespace {
using presentation::LogWindowLayout;
}  // namespace

LogWindow::LogWindow(const ChartViewStart& start, presentation::CFormat& format,
                     const presentation::FrameSource& frames, QWidget* parent)
    : QWidget(parent, Qt::Window), bar_(new QScrollBar(Qt::Vertical, this)) {
  name_ = QString::fromStdString(format.name);
  setWindowTitle(name_);
  setAttribute(Qt::WA_OpaquePaintEvent);
  bar_->setRange(0, presentation::LookBack::kRange);
  bar_->setTracking(false);  // the plot jumps when the thumb is let go
  resize(LogWindowLayout::kWidth, LogWindowLayout::kHeight);
  move(15 * static_cast<int>(start.index), 15 * static_cast<int>(start.index));
  bar_->setGeometry(width() - bar_->sizeHint().width(), 0, bar_->sizeHint().width(), height());

  const auto client = clientRect();
  image_ = QImage(client.right, client.bottom, QImage::Format_RGB32);
  image_.fill(Qt::white);
  display_ = std::make_unique<presentation::LogDisplay>(format, frames,
                                                        presentation::screenRules(format, start.loggingUp), client,
                                                        start.step, start.header);
  withCanvas([&](platform::Canvas& c) { display_->paint(c); });
  showThumb();

  connect(bar_, &QScrollBar::actionTriggered, this, [this](int action) { onBarAction(action); });
  connect(bar_, &QScrollBar::sliderMoved, this, [this](int pos) {
    withCanvas([&](platform::Canvas& c) { display_->thumbDragged(c, pos); });
  });
  connect(bar_, &QScrollBar::sliderReleased, this, [this] {
    const int pos = bar_->sliderPosition();
    withCanvas([&](platform::Canvas& c) { display_->thumbReleased(c, pos); });
  });
}

LogWindow::~LogWindow() = default;

void LogWindow::showTitle() {
  // A frozen window keeps recording but no longer scrolls: the title says so.
  setWindowTitle(display_->frozen() ? name_ + " - FROZEN (right button to resume)" : name_);
}

platform::Rect LogWindow::clientRect() const {
  return {0, 0, std::max(1, width() - bar_->width()), std::max(1, height())};
}

int LogWindow::thumb() const { return bar_->value(); }

void LogWindow::withCanvas(const std::function<void(platform::Canvas&)>& draw) {
  {
    QPainter painter(&image_);
    platform::qt::QtCanvas canvas(painter, {0, 0, image_.width(), image_.height()}, &image_);
    draw(canvas);
  }
  update();
}

void LogWindow::showThumb() {
  const QSignalBlocker block(bar_);
  bar_->setValue(display_->thumbPosition());
}

void LogWindow::frameAdded(std::span<const float> record, bool writeFailed) {
  withCanvas([&](platform::Canvas& c) {
    if (writeFailed) display_->diskWriteFailed(c);
    display_->frameAdded(c, record);
  });
  if (display_->thumbDue()) showThumb();
}

void LogWindow::onBarAction(int action) {
  withCanvas([&](platform::Canvas& c) {
    switch (action) {
      case QAbstractSlider::SliderSingleStepSub: display_->lineUp(c); break;
      case QAbstractSlider::SliderSingleStepAdd: display_->lineDown(c); break;
      case QAbstractSlider::SliderPageStepSub: display_->pageUp(c); break;
      case QAbstractSlider::SliderPageStepAdd: display_->pageDown(c); break;
      default: return;
    }
  });
  // The thumb shows where the view went, not the slider's own step.
  bar_->setSliderPosition(display_->thumbPosition());
}

void LogWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  p.drawImage(0, 0, image_);
}

void LogWindow::resizeEvent(QResizeEvent* event) {
  const auto allowed = LogWindowLayout::allowedSize({event->size().width(), event->size().height()});
  if (allowed.width != event->size().width() || allowed.height != event->size().height()) {
    resize(allowed.width, allowed.height);
    return;
  }
  bar_->setGeometry(width() - bar_->width(), 0, bar_->width(), height());
  if (!display_) return;
  const auto client = clientRect();
  if (client.right == image_.width() && client.bottom == image_.height()) return;
  image_ = QImage(client.right, client.bottom, QImage::Format_RGB32);
  image_.fill(Qt::white);
  withCanvas([&](platform::Canvas& c) { display_->resize(c, client); });
  showThumb();
}

void LogWindow::wheelEvent(QWheelEvent* event) {
  const int notches = event->angleDelta().y() / 120;
  if (notches == 0) return;
  const QPoint at = event->position().toPoint();
  const auto& h = display_->layout().headings;
  const bool overHeadings = at.x() >= h.left && at.x() < h.right && at.y() >= h.top && at.y() < h.bottom;
  withCanvas([&](platform::Canvas& c) {
    if (overHeadings)
      display_->wheelOverHeadings(c, notches);
    else
      display_->wheelOverPlot(c, notches);
  });
  if (!overHeadings) showThumb();
  event->accept();
}

void LogWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    display_->toggleFreeze();
    showTitle();
  }
  QWidget::mousePressEvent(event);
}

}  // namespace kvr::ui
