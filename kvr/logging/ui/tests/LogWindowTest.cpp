// One log window offscreen: rows arrive, the thumb follows, the wheel and the scroll bar
// look back, the right button freezes, and the size stays within the allowed range.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "common/presentation/ByteFile.h"
#include "kvr/logging/ui/LogWindow.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

presentation::CFormat lineFormat() {
  presentation::CFormat f;
  f.name = "Speed";
  f.scale = 200;
  presentation::CColumn t;
  t.left = 20;
  t.width = 300;
  presentation::CCurve c;
  c.name = "LSPD";
  c.leftValue = 0;
  c.rightValue = 100;
  c.colour = platform::rgb(0, 0, 255);
  c.enabled = true;
  t.curves = {c};
  f.tracks = {t};
  return f;
}

struct Fixture {
  QTemporaryDir dir;
  presentation::CFormat format = lineFormat();
  presentation::ChartDataWriter writer;
  std::unique_ptr<kvr::ui::LogWindow> window;

  Fixture() {
    platform::qt::testing::qtTestApp();
    EXPECT_EQ(writer.create(presentation::openByteFile(dir.filePath("a.cdf").toStdString(),
                                                       presentation::OpenMode::CreateTruncate),
                            format, false),
              0);
    kvr::ChartViewStart start;
    start.index = 2;
    start.step = -2;
    start.header.formatFile = "Speed";
    window = std::make_unique<kvr::ui::LogWindow>(start, format, writer);
    window->show();
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) {
      const float record[2] = {1000.0f + 0.25f * static_cast<float>(writer.frameCount()), 50.0f};
      EXPECT_EQ(writer.appendFrame(record), 0);
      window->frameAdded(record, false);
    }
  }
  QScrollBar* bar() const { return window->findChild<QScrollBar*>(); }
};

TEST(LogWindow, FollowsTheNewestRowAndLooksBackOnRequest) {
  Fixture f;
  EXPECT_EQ(f.window->windowTitle(), "Speed");
  EXPECT_EQ(f.window->pos(), QPoint(30, 30));
  f.frames(420);  // more rows than fit, a multiple of 21
  EXPECT_TRUE(f.window->display().lookBack().following());
  EXPECT_EQ(f.window->thumb(), 1000);

  // The wheel over the plot goes back 20 rows a notch; the thumb shows it.
  const QPoint plot(100, f.window->height() - 40);
  QWheelEvent wheel(plot, f.window->mapToGlobal(plot), {}, {0, 240}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                    false);
  QApplication::sendEvent(f.window.get(), &wheel);
  EXPECT_FALSE(f.window->display().lookBack().following());
  EXPECT_EQ(f.window->display().lookBack().lastShown(), 419u - 40u);
  EXPECT_LT(f.window->thumb(), 1000);

  // The scroll bar's line step moves 4 rows.
  f.bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(f.window->display().lookBack().lastShown(), 419u - 44u);
  f.bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(f.window->display().lookBack().lastShown(), 419u - 4u);

  // A new frame brings the view back to the newest row.
  f.frames(1);
  EXPECT_TRUE(f.window->display().lookBack().following());
  EXPECT_EQ(f.window->display().lookBack().lastShown(), 420u);
}

TEST(LogWindow, RightButtonFreezesAndTheSizeIsKeptInRange) {
  Fixture f;
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 200), f.window->mapToGlobal(QPointF(50, 200)),
                    Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(f.window.get(), &press);
  EXPECT_TRUE(f.window->display().frozen());
  const QImage before = f.window->picture().copy();
  f.frames(10);
  EXPECT_EQ(f.window->picture(), before);  // frames are written but not drawn
  EXPECT_EQ(f.writer.frameCount(), 10u);
  QApplication::sendEvent(f.window.get(), &press);
  EXPECT_FALSE(f.window->display().frozen());
  f.frames(1);
  EXPECT_NE(f.window->picture(), before);

  f.window->resize(1200, 50);
  QApplication::processEvents();
  EXPECT_EQ(f.window->size(), QSize(785, 100));
  EXPECT_EQ(f.window->picture().height(), 100);
}

}  // namespace
