// One log window offscreen: rows arrive, the thumb follows, the wheel and the scroll bar
// look back, the right button freezes, and the size stays within the allowed range.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>

#include "common/presentation/ByteFile.h"
#include "common/presentation/HeaderBox.h"
#include "common/presentation/LogWindowLayout.h"
#include "kvr/logging/ui/LogWindow.h"
#include "platform/qt/QtCanvas.h"

#include <QPainter>
#include <algorithm>
#include <map>
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

namespace {

// Draws through the real Qt canvas and keeps where each text went and how wide it came out.
class MeasuringCanvas final : public platform::Canvas {
 public:
  struct Placed {
    int x, y, width;
    std::string text;
  };
  explicit MeasuringCanvas(platform::Canvas& inner) : inner_(inner) {}
  void setPen(const platform::Pen& p) override { inner_.setPen(p); }
  void setBrush(const platform::Brush& b) override { inner_.setBrush(b); }
  void setFont(const platform::Font& f) override { inner_.setFont(f); }
  void setTextColour(platform::Rgb c) override { inner_.setTextColour(c); }
  void setBackground(bool opaque, platform::Rgb c) override { inner_.setBackground(opaque, c); }
  void setMapping(const platform::Mapping& m) override { inner_.setMapping(m); }
  void setClip(const platform::Rect& r) override { inner_.setClip(r); }
  void clearClip() override { inner_.clearClip(); }
  void line(platform::Point a, platform::Point b) override { inner_.line(a, b); }
  void polyline(const std::vector<platform::Point>& p) override { inner_.polyline(p); }
  void rectangle(const platform::Rect& r) override { inner_.rectangle(r); }
  void fillRect(const platform::Rect& r, platform::Rgb c) override { inner_.fillRect(r, c); }
  void ellipse(const platform::Rect& r) override { inner_.ellipse(r); }
  void arc(const platform::Rect& r, platform::Point a, platform::Point b) override { inner_.arc(r, a, b); }
  void text(platform::Point at, std::string_view t, unsigned align) override {
    placed.push_back({at.x, at.y, inner_.textExtent(t).width, std::string(t)});
    inner_.text(at, t, align);
  }
  platform::Size textExtent(std::string_view t) override { return inner_.textExtent(t); }
  bool drawImage(const platform::Rect& r, const std::string& p) override { return inner_.drawImage(r, p); }
  void scroll(const platform::Rect& r, int dy) override { inner_.scroll(r, dy); }
  platform::Rect bounds() const override { return inner_.bounds(); }
  std::vector<Placed> placed;

 private:
  platform::Canvas& inner_;
};

TEST(HeaderBox, LabelsAndValuesNeverOverlapInTheRealFonts) {
  platform::qt::testing::qtTestApp();
  presentation::HeaderTexts t;
  t.client = "Northern Basin Petroleum Operations";
  t.wellName = "NBP-114 Sidetrack 2";
  t.fieldName = "East Escarpment";
  t.logFile = "BRIX_QUIL_DUNE_SEVO_UP_12.kvr";
  t.formatFile = "Production Logging Suite";
  t.scale = "1:200";
  t.loggingDate = "10/12/2026";
  t.createdOn = "Wed, Sep 30, 2026";
  t.createdAt = "23:59:59";
  for (int width : {presentation::LogWindowLayout::kMinWidth, presentation::LogWindowLayout::kHeaderWidth}) {
    SCOPED_TRACE(width);
    QImage image(width, 60, QImage::Format_RGB32);
    QPainter painter(&image);
    platform::qt::QtCanvas qt(painter, {0, 0, width, 60}, &image);
    MeasuringCanvas c(qt);
    presentation::drawHeaderBox(c, {0, 0, width, 60}, t);
    std::map<int, std::vector<MeasuringCanvas::Placed>> lines;
    for (const auto& p : c.placed) lines[p.y].push_back(p);
    ASSERT_EQ(lines.size(), 3u);
    for (auto& [y, texts] : lines) {
      std::sort(texts.begin(), texts.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
      ASSERT_EQ(texts.size(), 6u);
      for (std::size_t i = 0; i + 1 < texts.size(); ++i)
        EXPECT_LE(texts[i].x + texts[i].width, texts[i + 1].x) << texts[i].text << " | " << texts[i + 1].text;
      EXPECT_LE(texts.back().x + texts.back().width, width) << texts.back().text;
    }
    // At the full header width the dates are shown whole; what does not fit is shortened with "...".
    if (width < presentation::LogWindowLayout::kHeaderWidth) continue;
    const auto shown = [&](const std::string& s) {
      return std::any_of(c.placed.begin(), c.placed.end(), [&](const auto& p) { return p.text == s; });
    };
    EXPECT_TRUE(shown(t.createdOn));
    EXPECT_TRUE(shown(t.createdAt));
    EXPECT_TRUE(shown("Logging Date:"));
  }
}

}  // namespace
