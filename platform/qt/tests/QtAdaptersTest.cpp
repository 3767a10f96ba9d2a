#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtPrintTarget.h"
#include "platform/qt/QtPrompter.h"
#include "platform/qt/testing/QtTestApp.h"

using namespace platform;

namespace {

struct Counter : EventTarget {
  std::atomic<int> timers{0};
  std::atomic<int> commands{0};
  void onTimer(int) override { ++timers; }
  void onCommand(int, std::int64_t) override { ++commands; }
};

void pumpUntil(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(QtEventLoop, CommandsPostedFromAnotherThreadArriveOnTheInterfaceThread) {
  qt::testing::qtTestApp();
  qt::QtEventLoop loop;
  Counter c;
  std::thread t([&] {
    for (int i = 0; i < 500; ++i) loop.post(&c, 113);
  });
  t.join();
  pumpUntil([&] { return c.commands == 500; });
  EXPECT_EQ(c.commands, 500);
}

TEST(QtEventLoop, ForgottenTargetsGetNothingMore) {
  qt::testing::qtTestApp();
  qt::QtEventLoop loop;
  Counter c;
  loop.startTimer(&c, 1, 1);
  loop.post(&c, 5);
  loop.forget(&c);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(c.commands, 0);
  EXPECT_EQ(c.timers, 0);
}

TEST(QtCanvas, DrawsThroughAFlippedMappingAndScrollsPixels) {
  qt::testing::qtTestApp();
  QImage img(100, 100, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    qt::QtCanvas canvas(p, Rect{0, 0, 100, 100}, &img);
    // Paper-like mapping: logical y grows upwards, 10 logical units per pixel.
    canvas.setMapping(Mapping{{0, 0}, {1000, -1000}, {0, 100}, {100, 100}});
    EXPECT_EQ(canvas.bounds(), (Rect{0, 0, 1000, 1000}));
    canvas.setPen(Pen{PenStyle::Solid, 0, rgb(255, 0, 0)});
    canvas.line(Point{0, 900}, Point{999, 900});  // near the top of the picture
    canvas.setMapping(Mapping{});
    canvas.scroll(Rect{0, 0, 100, 100}, 20);
  }
  EXPECT_EQ(img.pixelColor(50, 30), QColor(255, 0, 0));  // row 10 moved down by 20
}

TEST(QtCanvas, ScrollsMoveOnlyTheAreaEitherWayAlsoWhenThePictureIsShared) {
  qt::testing::qtTestApp();
  struct Case {
    int dy;
    bool shared;
  } cases[] = {{5, false}, {-5, false}, {5, true}, {-5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.dy) + (c.shared ? " shared" : ""));
    QImage img(40, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) img.setPixel(x, y, qRgb(x, y, 0));
    QImage held;
    {
      QPainter p(&img);
      if (c.shared) held = img;  // e.g. a view holding the last frame
      qt::QtCanvas canvas(p, Rect{0, 0, 40, 40}, &img);
      canvas.scroll(Rect{10, 10, 30, 30}, c.dy);
      canvas.setPen(Pen{PenStyle::Solid, 0, rgb(255, 255, 255)});
      canvas.line(Point{0, 0}, Point{39, 0});  // the painter still draws on the picture
    }
    // Inside the area every pixel came from dy lines away; outside nothing moved.
    for (int y = 10; y < 30; ++y) {
      const int from = y - c.dy;
      if (from < 10 || from >= 30) continue;
      EXPECT_EQ(img.pixel(15, y), qRgb(15, from, 0)) << y;
    }
    EXPECT_EQ(img.pixel(5, 20), qRgb(5, 20, 0));
    EXPECT_EQ(img.pixel(35, 20), qRgb(35, 20, 0));
    EXPECT_EQ(img.pixel(15, 35), qRgb(15, 35, 0));
    EXPECT_EQ(img.pixel(20, 0), qRgb(255, 255, 255));
  }
}

TEST(QtPrintTarget, WritesAPdfWithOnePagePerStartedPage) {
  qt::testing::qtTestApp();
  QTemporaryDir dir;
  qt::PrintSetup setup;
  setup.pdfPath = dir.filePath("out.pdf").toStdString();
  qt::QtPrintTarget target(setup);
  ASSERT_GT(target.startDocument("test"), 0);
  for (int i = 0; i < 3; ++i) {
    ASSERT_GT(target.startPage(), 0);
    target.canvas().text(Point{100, 100}, "page", AlignLeft | AlignTop);
    ASSERT_GT(target.endPage(), 0);
  }
  ASSERT_GT(target.endDocument(), 0);
  QFile f(QString::fromStdString(setup.pdfPath));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  QByteArray pdf = f.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page>>") +
                pdf.count("/Type /Page "),
            3);
}

TEST(QtPrompter, WindowsFiltersBecomeQtFilters) {
  EXPECT_EQ(qt::qtFilter("EXE Files (*.EXE)|*.EXE||").toStdString(), "EXE Files (*.EXE)");
  EXPECT_EQ(qt::qtFilter("KVR Data files (*.kvr)|*.kvr|All (*.*)|*.*||").toStdString(),
            "KVR Data files (*.kvr);;All (*.*)");
}

}  // namespace
