#include "common/presentation/TrackRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/presentation/LogStart.h"
#include "common/presentation/RenderRules.h"
#include "platform/testing/RecordingCanvas.h"

namespace presentation {
namespace {

using platform::Point;
using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

CFormat oneTrack(TrackMode mode, float left, float right, int width = 400) {
  CFormat f;
  f.scale = 200;
  CColumn t;
  t.mode = mode;
  t.width = width;
  t.left = 100;
  CCurve c;
  c.name = "X";
  c.leftValue = left;
  c.rightValue = right;
  c.colour = platform::rgb(0, 0, 255);
  t.curves.push_back(c);
  if (mode == TrackMode::Logarithmic) computeLogTicks(t);
  f.tracks.push_back(t);
  return f;
}

// The curve's lines: those drawn with its colour.
std::vector<DrawCall> curveLines(const RecordingCanvas& c) {
  std::vector<DrawCall> out;
  for (const auto& call : c.callsOf(DrawCall::Line))
    if (call.pen.colour == platform::rgb(0, 0, 255)) out.push_back(call);
  return out;
}

// Rows 10 pixels apart going down the window.
void drawRows(TrackRenderer& r, RecordingCanvas& c, CFormat& f, const std::vector<float>& values) {
  int y = 0;
  for (float v : values) {
    const float record[2] = {1000.5f, v};
    r.drawRow(c, f, record, y + 10, y);
    y += 10;
  }
}

TEST(CurvePoint, LinearValuesWrapAroundTheTrack) {
  auto f = oneTrack(TrackMode::Linear, 0, 100);
  TrackRenderer r(screenRules(f, false));
  RecordingCanvas c;
  drawRows(r, c, f, {50, 150, 250, -50});
  const auto lines = curveLines(c);
  // Each change of the wrap count leaves by one border (half a row on) and re-enters at the other.
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{300, 10}, {500, 15}}));
  EXPECT_EQ(lines[1].points, (std::vector<Point>{{100, 20}, {300, 20}}));
  EXPECT_EQ(lines[2].points, (std::vector<Point>{{300, 20}, {500, 25}}));
  EXPECT_EQ(lines[3].points, (std::vector<Point>{{100, 30}, {300, 30}}));
  EXPECT_EQ(lines[4].points, (std::vector<Point>{{300, 30}, {100, 35}}));  // k fell from 2 to -1
  EXPECT_EQ(lines[5].points, (std::vector<Point>{{500, 40}, {300, 40}}));
  EXPECT_EQ(f.tracks[0].curves[0].wrap, -1);
}

TEST(CurvePoint, HugeValuesWrapWithoutCounting) {
  auto f = oneTrack(TrackMode::Linear, 0, 1);
  TrackRenderer r(screenRules(f, false));
  RecordingCanvas c;
  drawRows(r, c, f, {0.5f, 3.0e38f, -3.0e38f});
  EXPECT_EQ(f.tracks[0].curves[0].wrap, -1000000);
}

TEST(CurvePoint, ReversedScaleMirrorsPointsAndHeading) {
  auto f = oneTrack(TrackMode::Linear, 100, 0);
  normaliseReversed(f);
  auto& curve = f.tracks[0].curves[0];
  EXPECT_TRUE(curve.reverse);
  EXPECT_FLOAT_EQ(curve.leftValue, 0);
  TrackRenderer r(screenRules(f, false));
  RecordingCanvas c;
  drawRows(r, c, f, {25, 25});
  EXPECT_EQ(curveLines(c).at(0).points.back(), (Point{100 + 300, 20}));  // 75 % from the left

  c.clear();
  r.drawHeading(c, f.tracks[0], curve, 500);
  const auto texts = c.texts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "NoChannel (X)");
  EXPECT_EQ(texts[2], "100");
  EXPECT_EQ(texts[3], "0");
  const auto values = c.callsOf(DrawCall::Text);
  EXPECT_EQ(values[2].points[0], (Point{102, 520}));
  EXPECT_EQ(values[3].points[0], (Point{500, 520}));
  EXPECT_EQ(values[3].align, platform::AlignRight | platform::AlignTop);
  EXPECT_EQ(c.callsOf(DrawCall::Rectangle).at(0).rect, (platform::Rect{100, 500, 502, 540}));
}

TEST(CurvePoint, LogarithmicTrackClampsIntoItsDecades) {
  auto f = oneTrack(TrackMode::Logarithmic, 0.2f, 2000, 400);
  auto& t = f.tracks[0];
  auto& curve = t.curves[0];
  EXPECT_EQ(curveOffset(t, curve, 2), 100);
  EXPECT_EQ(curveOffset(t, curve, 0), 0);
  EXPECT_EQ(curveOffset(t, curve, 1.0e9f), 400);
  t.leftToRight = false;
  EXPECT_EQ(curveOffset(t, curve, 200), 100);
  curve.leftValue = 0;  // no logarithm: the low end (the right border of this track)
  EXPECT_EQ(curveOffset(t, curve, 0), 400);
  curve.leftValue = curve.rightValue = 5;
  t.mode = TrackMode::Linear;
  EXPECT_EQ(curveOffset(t, curve, 7), 0);
}

TEST(CurvePoint, MissingReadingLeavesAGap) {
  auto f = oneTrack(TrackMode::Linear, 0, 100);
  TrackRenderer r(screenRules(f, false));
  RecordingCanvas c;
  drawRows(r, c, f, {10, kMissingValue, 30});
  const auto lines = curveLines(c);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{140, 20}, {220, 30}}));
}

TEST(LogTicks, TableFollowsDirectionAndStartingDecade) {
  CColumn t;
  t.mode = TrackMode::Logarithmic;
  t.width = 400;
  t.left = 10;
  t.decades = 4;
  computeLogTicks(t);
  EXPECT_EQ(t.logTicks, (std::array<int, 9>{30, 47, 60, 69, 77, 84, 90, 95, 100}));
  EXPECT_EQ(t.logOrigin, 10);
  EXPECT_EQ(t.logDecadeStep, 100);
  t.startDecade = 2;
  computeLogTicks(t);
  EXPECT_EQ(t.logTicks, (std::array<int, 9>{17, 30, 39, 47, 54, 60, 65, 70, 100}));
  t.startDecade = 12;
  t.leftToRight = false;
  computeLogTicks(t);
  EXPECT_EQ(t.startDecade, 1);
  EXPECT_EQ(t.logTicks[0], -30);
  EXPECT_EQ(t.logOrigin, 410);
  EXPECT_EQ(t.logDecadeStep, -100);
}

struct Row {
  float depth;
  int penWidth;  // of the horizontal line across the track; 0: none
};

void expectDepthLines(bool up, const std::vector<Row>& rows) {
  auto f = oneTrack(TrackMode::Linear, 0, 1);
  f.english = true;
  f.tracks[0].curves[0].enabled = false;
  TrackRenderer r(screenRules(f, up));
  RecordingCanvas c;
  const float first[1] = {rows.front().depth - 0.5f};
  r.drawRow(c, f, first, 0, 0);
  for (const auto& row : rows) {
    c.clear();
    const float record[1] = {row.depth};
    r.drawRow(c, f, record, 50, 48);
    int width = 0;
    for (const auto& l : c.callsOf(DrawCall::Line))
      if (l.points[0].y == l.points[1].y) width = l.pen.width;
    EXPECT_EQ(width, row.penWidth) << row.depth << (up ? " up" : " down");
  }
}

TEST(DepthLines, IntervalsOfTheScaleChooseThePen) {
  // Scale 200 English: thin 2, medium 10, thick 50.
  expectDepthLines(false, {{1000.2f, 3}, {1000.7f, 0}, {1001.1f, 0}, {1002.0f, 1}, {1010.0f, 2}});
  // Logging up takes the ceiling: 999.4 is 1000.
  expectDepthLines(true, {{999.4f, 3}, {1000.0f, 0}, {1001.5f, 1}});
  EXPECT_EQ(screenIntervals(500, false), (DepthIntervals{5, 25, 50}));
  EXPECT_EQ(screenIntervals(1000, true), (DepthIntervals{10, 50, 100}));
  EXPECT_EQ(screenIntervals(240, true), (DepthIntervals{2, 10, 50}));
}

TEST(Grid, DivisionLinesAndTheMiddleLine) {
  for (int divisions : {10, 5}) {
    auto f = oneTrack(TrackMode::Linear, 0, 1, 400);
    f.tracks[0].divisions = divisions;
    TrackRenderer r(screenRules(f, false));
    RecordingCanvas c;
    const float record[2] = {0.0f, kMissingValue};
    r.drawRow(c, f, record, 20, 18);
    std::vector<std::pair<int, int>> lines;  // x, pen width
    for (const auto& l : c.callsOf(DrawCall::Line)) lines.emplace_back(l.points[0].x, l.pen.width);
    std::sort(lines.begin(), lines.end());
    if (divisions == 10) {
      ASSERT_EQ(lines.size(), 11u);
      EXPECT_EQ(lines[5], std::make_pair(300, 2));
      EXPECT_EQ(lines[4], std::make_pair(260, 1));
    } else {
      ASSERT_EQ(lines.size(), 6u);
      EXPECT_EQ(lines[1], std::make_pair(180, 1));
      EXPECT_EQ(lines[4], std::make_pair(420, 1));
    }
    EXPECT_EQ(lines.front(), std::make_pair(100, 3));
    EXPECT_EQ(lines.back(), std::make_pair(500, 3));
  }
}

TEST(DepthTrack, NumbersAtMultiplesOf25OnceEach) {
  auto f = oneTrack(TrackMode::Depth, 0, 1, 60);
  f.tracks[0].curves.clear();
  TrackRenderer r(screenRules(f, false));
  RecordingCanvas c;
  for (float d : {999.6f, 1000.0f, 1000.2f, 1000.9f, 1001.0f, 1024.9f, 1025.0f}) {
    const float record[1] = {d};
    r.drawRow(c, f, record, 100, 98);
  }
  EXPECT_EQ(c.texts(), (std::vector<std::string>{"1000", "1025"}));
  const auto t = c.callsOf(DrawCall::Text).at(0);
  EXPECT_EQ(t.points[0], (Point{103, 92}));
  EXPECT_EQ(t.textColour, platform::rgb(100, 0, 200));
}

TEST(PaperRules, PagemillDrawsTheSameTracksInPageUnits) {
  auto f = oneTrack(TrackMode::Depth, 0, 1, 400);
  f.english = true;
  f.tracks[0].curves[0].labelHeight = 40;
  toPageUnits(f, paperLogWidth(true));
  EXPECT_EQ(f.tracks[0].width, 4346);
  EXPECT_EQ(paperRowHeight(200, true), 15);
  EXPECT_EQ(paperRowHeight(500, false), 20);
  const auto rules = paperRules(f, true, false, false);
  EXPECT_EQ(rules.numbers.large.height, 148);
  EXPECT_EQ(rules.numbers.large.width, 59);
  EXPECT_EQ(rules.numbers.small.height, 96);
  EXPECT_EQ(rules.numbers.small.width, 38);
  EXPECT_EQ(rules.thick.width, 24);
  EXPECT_EQ(paperIntervals(500, true), (DepthIntervals{5, 10, 50}));

  TrackRenderer r(rules);
  RecordingCanvas c;
  for (float d : {1000.0f, 1003.0f, 1005.0f, 1005.5f, 1025.0f}) {
    const float record[2] = {d, kMissingValue};
    r.drawRow(c, f, record, -1000, -985);
  }
  EXPECT_EQ(c.texts(), (std::vector<std::string>{"1000", "1005", "1025"}));
  const auto texts = c.callsOf(DrawCall::Text);
  EXPECT_EQ(texts[0].font.height, 148);
  EXPECT_EQ(texts[1].font.height, 96);
  EXPECT_EQ(texts[1].points[0], (Point{100 * 8150 / 750 + 30, -1000 - 15}));
  EXPECT_EQ(texts[0].align, platform::AlignLeft | platform::AlignBottom);

  c.clear();
  r.drawHeading(c, f.tracks[0], f.tracks[0].curves[0], -2000);
  const auto h = c.callsOf(DrawCall::Text);
  EXPECT_EQ(h[0].points[0].y, -2000 + 434 / 2 + 20);  // description above mid height
  EXPECT_EQ(h[1].points[0].y, -2000 + 20);
  EXPECT_EQ(c.callsOf(DrawCall::Rectangle).at(0).pen.width, 16);
  EXPECT_EQ(c.callsOf(DrawCall::Line).at(0).points[0].x, f.tracks[0].left + 30);
}

TEST(StartOfLog, CurvesBindByExactNameAndUnmatchedOnesDropOut) {
  auto f = oneTrack(TrackMode::Linear, 0, 1);
  auto extra = f.tracks[0].curves[0];
  extra.name = "tens";
  f.tracks[0].curves.push_back(extra);
  extra.name = "TENS";
  f.tracks[0].curves.push_back(extra);
  f.tracks[0].curves[0].name = "LSPD";
  const std::vector<records::ChannelStruct> channels = {
      {"DEPTH", "ft", 0, 0, 253}, {"LSPD", "", 0, 1, 253}, {"TENS", "lbs", 0, 2, 253}};
  bindChannels(f, channels);
  const auto& c = f.tracks[0].curves;
  EXPECT_TRUE(c[0].enabled);
  EXPECT_EQ(c[0].units, "");
  EXPECT_FALSE(c[1].enabled);
  EXPECT_EQ(c[2].units, "[lbs]");
  EXPECT_EQ(f.valuesPerRecord(), 3);
  std::vector<float> record;
  const float row[3] = {1500.0f, 12.0f, 800.0f};
  valueRecord(f, row, record);
  EXPECT_EQ(record, (std::vector<float>{1500.0f, 12.0f, 800.0f}));
}

}  // namespace
}  // namespace presentation
