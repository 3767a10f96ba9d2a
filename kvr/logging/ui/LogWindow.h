#pragma once
// One format's live log window: the log display on an offscreen picture that new rows
// scroll, with the scroll bar over the chart data file, the wheel and the freeze.

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <span>

#include "common/presentation/LogDisplay.h"
#include "kvr/logging/ChartViews.h"
#include "platform/Canvas.h"

class QScrollBar;

namespace kvr::ui {

class LogWindow final : public QWidget {
 public:
  // format and frames outlive the window (the chart recorder keeps them until the next log).
  LogWindow(const ChartViewStart& start, presentation::CFormat& format, const presentation::FrameSource& frames,
            QWidget* parent = nullptr);
  ~LogWindow() override;

  void frameAdded(std::span<const float> record, bool writeFailed);
  const presentation::LogDisplay& display() const { return *display_; }
  const QImage& picture() const { return image_; }
  int thumb() const;
  QString name() const { return name_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  platform::Rect clientRect() const;
  void withCanvas(const std::function<void(platform::Canvas&)>& draw);
  void onBarAction(int action);
  void showThumb();
  void showTitle();

  QString name_;
  QScrollBar* bar_;
  QImage image_;
  std::unique_ptr<presentation::LogDisplay> display_;
};

}  // namespace kvr::ui
