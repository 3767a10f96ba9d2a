#include "common/presentation/LookBack.h"

#include <gtest/gtest.h>

#include "common/presentation/LogDisplay.h"
#include "common/presentation/RenderRules.h"
#include "platform/testing/RecordingCanvas.h"

namespace presentation {
namespace {

using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

TEST(LookBack, ThumbPositionsNameWholeFramesFromTheStartOrTheEnd) {
  // 1001 frames of 3 values: 3003 values; position 500 is value 1501, frame 500.
  EXPECT_EQ(LookBack::thumbFrame(500, 1001, 3, false), 500u);
  EXPECT_EQ(LookBack::thumbFrame(0, 1001, 3, false), 0u);
  EXPECT_EQ(LookBack::thumbFrame(1000, 1001, 3, false), 1001u);
  EXPECT_EQ(LookBack::thumbFrame(1000, 1001, 3, true), 0u);
  EXPECT_EQ(LookBack::thumbFrame(250, 1001, 3, true), 750u);
  EXPECT_EQ(LookBack::thumbFrame(-5, 10, 3, false), 0u);
  EXPECT_EQ(LookBack::thumbFrame(333, 0, 3, false), 0u);
  // A billion frames of 16 values stays exact.
  EXPECT_EQ(LookBack::thumbFrame(999, 1000000000ull, 16, false), 999000000ull);
  EXPECT_EQ(LookBack::recordOffset(428, 2, 1000000), 428u + 8000000u);
}

TEST(LookBack, JumpKeepsThePlotFull) {
  LookBack v(false, 100);
  EXPECT_EQ(v.jumpTo(500, 1000), (FrameSpan{500, 100}));
  EXPECT_FALSE(v.following());
  EXPECT_EQ(v.jumpTo(990, 1000), (FrameSpan{900, 100}));
  EXPECT_TRUE(v.following());
  EXPECT_EQ(v.jumpTo(0, 30), (FrameSpan{0, 30}));
  EXPECT_EQ(v.position(30), 1000);
}

TEST(LookBack, ScrollingDrawsOnlyTheUncoveredRowsAndOneToJoin) {
  LookBack v(false, 100);
  v.jumpToNewest(1000);  // shows 900..999
  auto s = v.scroll(v.lineUpRows(), 1000);
  EXPECT_EQ(s.moved, 4);
  EXPECT_TRUE(s.atOldEdge);
  EXPECT_EQ(s.draw, (FrameSpan{895, 6}));  // 895 off the plot, 896..899 new, 900 joins
  EXPECT_EQ(v.shown(1000), (FrameSpan{896, 100}));
  s = v.scroll(v.pageDownRows(), 1000);
  EXPECT_EQ(s.moved, -4);  // only four rows lie ahead
  EXPECT_EQ(s.draw, (FrameSpan{995, 5}));
  EXPECT_TRUE(v.following());
  EXPECT_EQ(v.scroll(v.lineDownRows(), 1000).moved, 0);
  // At the start of the log nothing older can come.
  v.jumpTo(0, 1000);
  EXPECT_EQ(v.scroll(v.wheelRows(3), 1000).moved, 0);
  EXPECT_EQ(v.scroll(-1000000, 1000).moved, -900);
}

TEST(LookBack, UpLogsScrollTheOtherWay) {
  LookBack v(true, 50);
  EXPECT_EQ(v.lineDownRows(), 4);
  EXPECT_EQ(v.pageUpRows(), -40);
  EXPECT_EQ(v.wheelRows(1), -20);
  EXPECT_EQ(v.headingWheelPixels(1), -2);
  EXPECT_EQ(LookBack::newestPosition(true), 0);
  EXPECT_FALSE(v.thumbDue(42));
  EXPECT_TRUE(v.thumbDue(63));
  EXPECT_FALSE(v.thumbDue(21));
}

// A frame source that counts what it was asked for.
class CountingSource final : public FrameSource {
 public:
  explicit CountingSource(std::uint64_t frames) : frames_(frames) {}
  int valuesPerFrame() const override { return 2; }
  std::uint64_t frameCount() const override { return frames_; }
  std::size_t readFrames(std::uint64_t first, std::size_t count, std::vector<float>& out) const override {
    ++reads;
    asked += count;
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(count, frames_ - std::min(first, frames_)));
    for (std::size_t i = 0; i < n; ++i) {
      out.push_back(static_cast<float>(first + i) * 0.5f);
      out.push_back(static_cast<float>((first + i) % 100));
    }
    return n;
  }
  std::uint64_t frames_;
  mutable int reads = 0;
  mutable std::size_t asked = 0;
};

CFormat oneCurveFormat() {
  CFormat f;
  CColumn t;
  t.width = 400;
  CCurve c;
  c.name = "A";
  c.leftValue = 0;
  c.rightValue = 100;
  t.curves = {c};
  f.tracks = {t};
  return f;
}

TEST(LogDisplay, JumpReadsOneWindowWithOneSeek) {
  auto f = oneCurveFormat();
  CountingSource source(1000000);
  const int step = screenStep(f.scale, f.english, 10, false);
  LogDisplay view(f, source, screenRules(f, false), {0, 0, 785, 400}, step, {});
  RecordingCanvas canvas({0, 0, 785, 400});
  view.thumbReleased(canvas, 500);
  EXPECT_EQ(source.reads, 1);
  EXPECT_EQ(source.asked, static_cast<std::size_t>(view.lookBack().rows()));
  EXPECT_EQ(view.lookBack().shown(1000000).first, 500000u);
  // The rows fill the plot from the top down to the newest-row line.
  int lowest = 0, highest = 400;
  for (const auto& l : canvas.callsOf(DrawCall::Line))
    if (l.points[1].y >= view.layout().plot.top) {
      lowest = std::max(lowest, l.points[1].y);
      highest = std::min(highest, l.points[1].y);
    }
  EXPECT_EQ(lowest, view.layout().rowY);
  EXPECT_EQ(highest, view.layout().rowAt(view.lookBack().rows() - 1));

  canvas.clear();
  view.thumbDragged(canvas, 500);
  EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"Depth: 250000 ft"}));
}

TEST(LogDisplay, FrozenWindowNeitherScrollsNorDraws) {
  auto f = oneCurveFormat();
  CountingSource source(200);
  LogDisplay view(f, source, screenRules(f, false), {0, 0, 785, 400}, -2, {});
  RecordingCanvas canvas({0, 0, 785, 400});
  const float r[2] = {5.0f, 50.0f};
  view.frameAdded(canvas, r);  // the first frame draws the plot whole
  canvas.clear();
  source.frames_ = 201;
  view.frameAdded(canvas, r);
  ASSERT_EQ(canvas.callsOf(DrawCall::Scroll).size(), 1u);
  EXPECT_EQ(canvas.callsOf(DrawCall::Scroll)[0].dy, -2);
  view.toggleFreeze();
  canvas.clear();
  source.frames_ = 202;
  view.frameAdded(canvas, r);
  EXPECT_TRUE(canvas.calls().empty());
  // Scrolling still works while frozen, and the freeze stays.
  view.lineUp(canvas);
  EXPECT_EQ(canvas.callsOf(DrawCall::Scroll).size(), 1u);
  EXPECT_TRUE(view.frozen());
}

TEST(LogDisplay, HeadingOffsetStaysWithinTheStackedBoxes) {
  auto f = oneCurveFormat();
  f.tracks[0].curves.push_back(f.tracks[0].curves[0]);
  stackLabels(f);
  CountingSource source(0);
  LogDisplay view(f, source, screenRules(f, false), {0, 0, 785, 400}, -2, {});
  RecordingCanvas canvas({0, 0, 785, 400});
  view.wheelOverHeadings(canvas, 100);
  EXPECT_EQ(view.headingOffset(), 80);
  view.wheelOverHeadings(canvas, -3);
  EXPECT_EQ(view.headingOffset(), 74);
  view.wheelOverHeadings(canvas, -100);
  EXPECT_EQ(view.headingOffset(), 0);
  // Logging down, the first box sits on the plot side of the heading area.
  EXPECT_EQ(view.layout().headingTop(f.tracks[0].curves[0], 0), 60 + 80 - 40);
}

}  // namespace
}  // namespace presentation
