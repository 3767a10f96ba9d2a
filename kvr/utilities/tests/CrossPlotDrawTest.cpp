// The cross plot drawn onto a recording canvas: page, titles, grid, axes and clipped paths.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "kvr/utilities/CCrossPlotViewWnd.h"
#include "platform/testing/RecordingCanvas.h"

namespace kvr::utilities {
namespace {

using platform::Point;
using platform::Rect;
using platform::rgb;
using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

std::shared_ptr<const PathTable> pathOf(std::initializer_list<PathRow> rows) {
  return std::make_shared<const PathTable>(rows);
}

PathRow at(float ns, float ew, float tvd) { return PathRow{ns, ew, tvd, 0, 0, 0}; }

struct DrawFixture : ::testing::Test {
  CCrossPlotViewWnd view;
  RecordingCanvas canvas{Rect{0, 0, 815, 600}};

  void draw() {
    canvas.clear();
    view.draw(canvas, Rect{0, 0, 815, 600});
  }
  std::vector<DrawCall> textsWithFont(platform::FontFamily family) const {
    std::vector<DrawCall> out;
    for (const auto& c : canvas.callsOf(DrawCall::Text))
      if (c.font.family == family) out.push_back(c);
    return out;
  }
  bool hasText(const std::string& text, Point at) const {
    auto texts = canvas.callsOf(DrawCall::Text);
    return std::any_of(texts.begin(), texts.end(), [&](const DrawCall& c) { return c.text == text && c.points[0] == at; });
  }
};

TEST_F(DrawFixture, BeforePlotNowOnlyThePageAndTheEmptyPlotRectangle) {
  draw();
  ASSERT_EQ(canvas.calls().size(), 3u);
  const auto& m = canvas.calls()[0];
  ASSERT_EQ(m.kind, DrawCall::SetMapping);
  EXPECT_EQ(m.mapping.windowExtent, (platform::Size{8150, 6000}));
  EXPECT_EQ(m.mapping.viewportOrigin, (Point{0, 600}));
  EXPECT_EQ(m.mapping.viewportExtent, (platform::Size{815, -600}));
  auto rects = canvas.callsOf(DrawCall::Rectangle);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].rect, (Rect{0, 0, 8150, 6000}));
  EXPECT_LE(rects[0].pen.width, 1);
  EXPECT_EQ(rects[1].rect, (Rect{600, 300, 7850, 5700}));
  EXPECT_EQ(rects[1].pen, (platform::Pen{platform::PenStyle::Solid, 30, 0}));
}

TEST_F(DrawFixture, TitlesGridLabelsAndAxesOfAnNdEdPlot) {
  PlotSettings s;
  s.kind = PlotKind::NdEd;
  s.east = {-100, 100};
  s.north = {-200, 200};
  s.horizontalGrid = 50;
  s.verticalGrid = 100;
  view.setSettings(s);
  view.setPlotted();
  draw();

  auto titles = textsWithFont(platform::FontFamily::Swiss);
  ASSERT_EQ(titles.size(), 2u);
  EXPECT_EQ(titles[0].text, "East Departure   << W - E >>");
  EXPECT_EQ(titles[0].points[0], (Point{4075, 5960}));
  EXPECT_EQ(titles[0].align, unsigned(platform::AlignCenter | platform::AlignTop));
  EXPECT_EQ(titles[0].font.height, 200);
  EXPECT_EQ(titles[0].font.width, 60);
  EXPECT_EQ(titles[0].font.weight, 700);
  EXPECT_EQ(titles[0].font.escapement, 0);
  EXPECT_EQ(titles[1].text, "North Departure   << N - S >>");
  EXPECT_EQ(titles[1].points[0], (Point{8110, 3000}));
  EXPECT_EQ(titles[1].font.escapement, 900);

  // Origin at the centre: x0 = 600 + 100 x 7250 / 200, y0 = 300 + 200 x 5400 / 400.
  // Vertical lines every 50 = 1812.5 units, horizontal lines every 100 = 1350 units.
  std::vector<std::string> labels;
  for (const auto& c : textsWithFont(platform::FontFamily::Roman)) {
    labels.push_back(c.text);
    EXPECT_EQ(c.align, unsigned(platform::AlignRight | platform::AlignBaseline));
    EXPECT_EQ(c.font.height, 200);
    EXPECT_EQ(c.font.weight, 400);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"0", "50", "100", "-50", "-100", "0", "100", "200", "-100", "-200"}));
  EXPECT_TRUE(hasText("50", Point{6038, 280}));
  EXPECT_TRUE(hasText("-100", Point{600, 280}));
  EXPECT_TRUE(hasText("200", Point{580, 5700}));
  EXPECT_TRUE(hasText("-100", Point{580, 1650}));

  auto lines = canvas.callsOf(DrawCall::Line);
  auto dotted = std::count_if(lines.begin(), lines.end(), [](const DrawCall& c) {
    return c.pen == platform::Pen{platform::PenStyle::Dot, 1, rgb(100, 100, 100)};
  });
  EXPECT_EQ(dotted, 10);
  std::vector<DrawCall> axes;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(axes),
               [](const DrawCall& c) { return c.pen == platform::Pen{platform::PenStyle::Solid, 20, rgb(0, 0, 255)}; });
  ASSERT_EQ(axes.size(), 2u);
  EXPECT_EQ(axes[0].points, (std::vector<Point>{{4225, 300}, {4225, 5700}}));
  EXPECT_EQ(axes[1].points, (std::vector<Point>{{600, 3000}, {7850, 3000}}));
}

TEST_F(DrawFixture, InvertedScaleTurnsValuesDownwardAndTheNdEdTitle) {
  PlotSettings s;
  s.kind = PlotKind::NdEd;
  s.east = {0, 100};
  s.north = {-100, 300};
  s.invertVertical = true;
  s.verticalGrid = 100;
  view.setSettings(s);
  view.addPath(pathOf({at(0, 0, 0), at(100, 50, 0)}));
  view.setPlotted();
  draw();
  EXPECT_EQ(textsWithFont(platform::FontFamily::Swiss)[1].text, "North Departure   << S - N >>");
  // y0 = 5700 - 100 x 5400 / 400 = 4350; +100 lies 1350 units lower.
  EXPECT_TRUE(hasText("100", Point{580, 3000}));
  EXPECT_TRUE(hasText("-100", Point{580, 5700}));
  auto poly = canvas.callsOf(DrawCall::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  EXPECT_EQ(poly[0].points, (std::vector<Point>{{600, 4350}, {600, 4350}, {4225, 3000}}));
}

TEST_F(DrawFixture, PathsAreClippedStopAtTheFirstPointOutsideAndCycleColours) {
  PlotSettings s;
  s.kind = PlotKind::EdTvd;
  s.east = {0, 100};
  s.depth = {0, 100};
  view.setSettings(s);
  for (int i = 0; i < 10; ++i) view.addPath(pathOf({at(0, 0, 0), at(0, 50, 50), at(0, 150, 60), at(0, 60, 60)}));
  view.setPlotted();
  draw();

  auto calls = canvas.calls();
  auto clip = std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) { return c.kind == DrawCall::SetClip; });
  ASSERT_NE(clip, calls.end());
  EXPECT_EQ(clip->rect, (Rect{600, 300, 7850, 5700}));
  auto firstPoly = std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) { return c.kind == DrawCall::Polyline; });
  EXPECT_LT(clip - calls.begin(), firstPoly - calls.begin());
  EXPECT_EQ(calls.back().kind, DrawCall::ClearClip);

  auto poly = canvas.callsOf(DrawCall::Polyline);
  ASSERT_EQ(poly.size(), 10u);
  EXPECT_EQ(poly[0].points, (std::vector<Point>{{600, 300}, {600, 300}, {4225, 3000}}));
  const platform::Rgb colours[] = {rgb(255, 0, 0),     rgb(0, 255, 0),    rgb(0, 0, 255),
                                   rgb(255, 100, 100), rgb(100, 255, 100), rgb(100, 100, 255),
                                   rgb(200, 100, 50),  rgb(50, 200, 100), rgb(100, 50, 200), rgb(255, 0, 0)};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(poly[i].pen.colour, colours[i]);
    EXPECT_EQ(poly[i].pen.width, 30);
  }
}

TEST_F(DrawFixture, AutomaticRangesKeepTheLastPointOnTheBorder) {
  PlotSettings s;
  s.kind = PlotKind::EdTvd;
  PathTable rows{at(0, 0, 0), at(6.16f, 6.16f, 99.49f), at(24.43f, 24.43f, 195.96f)};
  setAutomaticRanges(s, rows);
  view.setSettings(s);
  view.addPath(std::make_shared<const PathTable>(rows));
  view.setPlotted();
  draw();
  auto poly = canvas.callsOf(DrawCall::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  ASSERT_EQ(poly[0].points.size(), 4u);
  EXPECT_EQ(poly[0].points.back(), (Point{7850, 5700}));
}

TEST_F(DrawFixture, ClosurePlotAndDegenerateRangesStayOnThePage) {
  PlotSettings s;
  s.kind = PlotKind::ClosureTvd;
  s.east = {0, 0};  // a vertical well: nothing to the side
  s.depth = {0, 1000};
  s.horizontalGrid = 0;
  view.setSettings(s);
  view.addPath(pathOf({at(0, 0, 0), at(3, 4, 500), at(0, 0, 1e30f)}));
  view.setPlotted();
  draw();
  EXPECT_EQ(textsWithFont(platform::FontFamily::Swiss)[0].text, "Closure");
  EXPECT_EQ(textsWithFont(platform::FontFamily::Swiss)[1].text, "TVD Depth");
  auto poly = canvas.callsOf(DrawCall::Polyline);
  ASSERT_EQ(poly.size(), 1u);
  ASSERT_EQ(poly[0].points.size(), 2u);  // closure 5 is beyond an empty range of one unit
  for (const auto& c : canvas.calls())
    for (const auto& p : c.points) {
      EXPECT_GE(p.x, 0);
      EXPECT_LE(p.x, 8150);
    }
}

}  // namespace
}  // namespace kvr::utilities
