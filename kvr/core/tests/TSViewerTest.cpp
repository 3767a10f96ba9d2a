// The tool string sketch drawn onto a recording canvas.
#include <gtest/gtest.h>

#include "kvr/core/CTSViewer.h"
#include "kvr/core/tests/ToolStringFixture.h"
#include "platform/testing/RecordingCanvas.h"

namespace kvr {
namespace {

using platform::Point;
using platform::Rect;
using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

records::ToolList listOf(std::initializer_list<const char*> names) {
  records::ToolList l;
  for (const char* n : names) l.push_back(testing::shippedEntry(n));
  return l;
}

std::vector<DrawCall> textsAt(const RecordingCanvas& c) { return c.callsOf(DrawCall::Text); }

TEST(TSViewer, AnEmptyStringDrawsNothing) {
  RecordingCanvas c({0, 0, 400, 600});
  CTSViewer v;
  v.draw(c, {});
  EXPECT_TRUE(c.calls().empty());
}

TEST(TSViewer, OneToolDrawsTitleFrameMarksLengthsNameAndBox) {
  RecordingCanvas c({0, 0, 400, 600});
  CTSViewer v;
  v.draw(c, listOf({"BRIX-CCL"}));  // 95 cm, width value 43: half width 4
  const int t = 7;                  // "A" in the 14-unit window font
  const auto texts = textsAt(c);
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0].text, "TOOL STRING SKETCH");
  EXPECT_EQ(texts[0].points[0], (Point{10, 10}));
  EXPECT_EQ(texts[0].textColour, platform::rgb(150, 0, 200));
  EXPECT_EQ(texts[1].text, "95");
  EXPECT_EQ(texts[1].points[0], (Point{219, 60 - t}));
  EXPECT_EQ(texts[2].text, "0");
  EXPECT_EQ(texts[2].points[0], (Point{219, 155 - t}));
  EXPECT_EQ(texts[2].textColour, platform::rgb(200, 0, 0));
  EXPECT_EQ(texts[3].text, "BRIX-CCL");
  EXPECT_EQ(texts[3].points[0], (Point{5, 60 - t}));
  const auto rects = c.callsOf(DrawCall::Rectangle);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].rect, (Rect{0, 50, 400, 599}));
  EXPECT_EQ(rects[1].rect, (Rect{196, 60, 204, 155}));
  const auto lines = c.callsOf(DrawCall::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{209, 60}, {219, 60}}));
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{209, 155}, {219, 155}}));
}

TEST(TSViewer, SerialNumbersShowWithThreeDigitsInTheSmallFont) {
  RecordingCanvas c({0, 0, 400, 600});
  CTSViewer v;
  records::ToolList l = listOf({"QUIL-GR"});
  l[0].setSerial(7);
  v.draw(c, l);
  const auto texts = textsAt(c);
  ASSERT_EQ(texts.back().text, "SN 007");
  EXPECT_EQ(texts.back().points[0], (Point{5, 60 + 7}));
  EXPECT_EQ(texts.back().font.height, 10);
  EXPECT_EQ(texts.back().font.width, 5);
  EXPECT_EQ(texts.back().font.weight, 400);
  EXPECT_EQ(texts.back().textColour, platform::rgb(0, 0, 0));
}

TEST(TSViewer, AKindFourItemMovesWhatFollowsButIsNotPartOfTheLength) {
  RecordingCanvas c({0, 0, 400, 1000});
  CTSViewer v;
  v.draw(c, listOf({"**SINKERBAR", "**CENT-SLV", "BRIX-CCL"}));  // 150, 40 (kind 4), 95
  std::vector<std::string> numbers;
  for (const auto& t : textsAt(c))
    if (t.textColour == platform::rgb(200, 0, 0) && t.points[0].x > 100) numbers.push_back(t.text);
  EXPECT_EQ(numbers, (std::vector<std::string>{"245", "95", "55", "-40"}));
  EXPECT_EQ(c.callsOf(DrawCall::Rectangle).back().rect.top, 60 + 150 + 40) << "BRIX below the sleeve";
}

TEST(TSViewer, AKindZeroItemIsNeitherDrawnNorMeasuredButGivesTheTopMarkWidth) {
  RecordingCanvas c({0, 0, 400, 600});
  CTSViewer v;
  records::ToolList l = listOf({"BRIX-CCL", "BRIX-CCL"});
  l[0].setKind(0);
  l[0].sketchWidth = 200;  // half width 20
  v.draw(c, l);
  const auto lines = c.callsOf(DrawCall::Line);
  EXPECT_EQ(lines[0].points[0], (Point{225, 60}));
  EXPECT_EQ(textsAt(c)[1].text, "95");
  EXPECT_EQ(c.callsOf(DrawCall::Rectangle).size(), 2u);
}

TEST(TSViewer, EachKindAndToolHasItsOutline) {
  struct Case {
    const char* name;
    std::uint32_t kind;
    std::size_t rects, lines, polylines, arcs;  // beyond the frame and the two marks
  };
  const Case cases[] = {
      {"TARNB-FSK", 1, 2, 1, 3, 0}, {"TARNB-OLD", 1, 2, 1, 1, 0}, {"DUNE-ROLA", 1, 3, 0, 0, 2},
      {"HAVO", 1, 3, 0, 0, 2},      {"DUNE-PIKE", 1, 4, 0, 0, 0}, {"DUNE-OTHER", 1, 0, 0, 0, 0},
      {"HAVO-2", 1, 0, 0, 0, 0},    {"SEVO-PT", 1, 1, 0, 0, 0},   {"X", 2, 1, 1, 1, 0},
      {"X", 3, 1, 0, 0, 0},         {"X", 4, 0, 0, 1, 0},         {"X", 5, 0, 0, 1, 0},
      {"X", 6, 3, 0, 0, 2},         {"X", 7, 3, 0, 1, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.name) + " kind " + std::to_string(k.kind));
    const std::string base = std::string(k.name).rfind("TARNB", 0) == 0 ? "TARNB-FSK"
                             : std::string(k.name).rfind("DUNE", 0) == 0 ? "DUNE-ROLA"
                             : std::string(k.name).rfind("HAVO", 0) == 0 ? "HAVO"
                                                                          : "SEVO-PT";
    records::ToolList l{testing::shippedEntry(base)};
    l[0].name = k.name;
    l[0].setKind(k.kind);
    RecordingCanvas c({0, 0, 400, 1000});
    CTSViewer v;
    v.draw(c, l);
    EXPECT_EQ(c.callsOf(DrawCall::Rectangle).size() - 1, k.rects);
    EXPECT_EQ(c.callsOf(DrawCall::Line).size() - 2, k.lines);
    EXPECT_EQ(c.callsOf(DrawCall::Polyline).size(), k.polylines);
    EXPECT_EQ(c.callsOf(DrawCall::Arc).size(), k.arcs);
  }
}

TEST(TSViewer, TheSpringOutlineOfKindSixUsesItsDocumentedBoxes) {
  RecordingCanvas c({0, 0, 400, 1000});
  CTSViewer v;
  v.draw(c, listOf({"**CENTRALIZ"}));  // 70 cm, half width 4: left 196, right 204, w 8, k 70
  const auto rects = c.callsOf(DrawCall::Rectangle);
  EXPECT_EQ(rects[1].rect, (Rect{196, 60, 204, 60 + 17}));
  EXPECT_EQ(rects[2].rect, (Rect{198, 77, 202, 60 + 52}));
  EXPECT_EQ(rects[3].rect, (Rect{196, 112, 204, 130}));
  const auto arcs = c.callsOf(DrawCall::Arc);
  EXPECT_EQ(arcs[0].rect, (Rect{196 - 24, 77, 204 + 24, 112}));
  EXPECT_EQ(arcs[0].points, (std::vector<Point>{{198, 77}, {198, 112}}));
  EXPECT_EQ(arcs[1].points, (std::vector<Point>{{202, 112}, {202, 77}}));
}

TEST(TSViewer, ScrollingIsLimitedByTheStringLength) {
  CTSViewer v;
  records::ToolList tall;
  for (int i = 0; i < 8; ++i) tall.push_back(testing::shippedEntry("SEVO-PT"));  // 880 cm
  RecordingCanvas c({0, 0, 400, 600});
  v.setScrollOffset(5000);
  v.draw(c, tall);
  EXPECT_EQ(v.largestScrollOffset(), 880 + 20 + 60 - 600);
  EXPECT_EQ(v.scrollOffset(), 360);
  EXPECT_EQ(v.scrollBarPosition(), 1000);
  EXPECT_EQ(c.callsOf(DrawCall::Rectangle)[1].rect.top, 60 - 360);
  v.thumbTrack(500);
  EXPECT_EQ(v.scrollOffset(), 180);
  v.wheel(-120);
  EXPECT_EQ(v.scrollOffset(), 200);
  v.wheel(120);
  v.pageUp();
  v.draw(c, tall);
  EXPECT_EQ(v.scrollOffset(), 80);
  v.pageUp();
  v.draw(c, tall);
  EXPECT_EQ(v.scrollOffset(), 0) << "never negative";

  // A short string is drawn from the top whatever the scroll bar says.
  v.setScrollOffset(300);
  RecordingCanvas small({0, 0, 400, 600});
  v.draw(small, listOf({"BRIX-CCL"}));
  EXPECT_EQ(v.scrollOffset(), 0);
  EXPECT_EQ(v.scrollBarPosition(), 0);
}

}  // namespace
}  // namespace kvr
