#include "common/presentation/ChartPicture.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/testing/RecordingCanvas.h"

namespace presentation {
namespace {

using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

constexpr platform::Rgb kBlue = platform::rgb(0, 0, 255);

// The writer owns its file; the test reads the same bytes back through this.
class SharedFile final : public ByteFile {
 public:
  explicit SharedFile(MemoryFile& f) : f_(f) {}
  std::size_t read(std::uint64_t o, std::span<std::uint8_t> out) override { return f_.read(o, out); }
  std::size_t write(std::uint64_t o, std::span<const std::uint8_t> b) override { return f_.write(o, b); }
  std::uint64_t size() const override { return f_.size(); }
  bool truncate(std::uint64_t s) override { return f_.truncate(s); }

 private:
  MemoryFile& f_;
};

CFormat oneCurve() {
  CFormat f;
  f.name = "Gamma";
  f.scale = 200;
  f.english = true;
  CColumn t;
  t.left = 20;
  t.width = 300;
  CCurve c;
  c.name = "GR";
  c.leftValue = 0;
  c.rightValue = 100;
  c.colour = kBlue;
  c.enabled = true;
  t.curves = {c};
  f.tracks = {t};
  return f;
}

MemoryFile writeLog(const CFormat& f, bool up, int frames) {
  MemoryFile bytes;
  ChartDataWriter w;
  EXPECT_EQ(w.create(std::make_unique<SharedFile>(bytes), f, up), 0);
  for (int i = 0; i < frames; ++i) {
    const float depth = up ? 1000.0f - 0.25f * static_cast<float>(i) : 1000.0f + 0.25f * static_cast<float>(i);
    const float record[2] = {depth, 50.0f + 40.0f * std::sin(static_cast<float>(i) / 10.0f)};
    EXPECT_EQ(w.appendFrame(record), 0);
  }
  EXPECT_EQ(w.flush(), 0);
  return bytes;
}

std::vector<DrawCall> curveLines(const RecordingCanvas& c) {
  std::vector<DrawCall> out;
  for (const auto& call : c.callsOf(DrawCall::Line))
    if (call.pen.colour == kBlue) out.push_back(call);
  return out;
}

TEST(ChartPicture, EveryRowOfTheFileIsDrawnInOnePicture) {
  for (const bool up : {false, true}) {
    SCOPED_TRACE(up ? "up" : "down");
    auto bytes = writeLog(oneCurve(), up, 600);
    ChartDataReader reader(bytes);
    ASSERT_EQ(reader.open(), 0);
    const auto plan = planChartPicture(reader, 9);
    EXPECT_EQ(plan.step, up ? 2 : -2);
    EXPECT_EQ(plan.size.width, 785);
    EXPECT_GE(plan.size.height, 600 * 2 + 140);

    RecordingCanvas canvas;
    drawChartPicture(canvas, reader, plan, chartPictureHeader(reader.header(), "LOG.kvr"));
    // The first row only places the curve; each later row adds one segment plus the
    // heading's sample line.
    const auto lines = curveLines(canvas);
    EXPECT_EQ(lines.size(), 600u);
    for (const auto& l : lines) {
      for (const auto& p : l.points) {
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.y, plan.size.height);
      }
    }
    const auto texts = canvas.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Gamma"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "1:200"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "LOG.kvr"), texts.end());
  }
}

TEST(ChartPicture, ALogTallerThanThePictureShowsItsNewestRows) {
  auto bytes = writeLog(oneCurve(), false, 1000);
  ChartDataReader reader(bytes);
  ASSERT_EQ(reader.open(), 0);
  const auto plan = planChartPicture(reader, 9, 800);
  EXPECT_EQ(plan.size.height, 800);
  RecordingCanvas canvas;
  drawChartPicture(canvas, reader, plan, {});
  const auto lines = curveLines(canvas);
  ASSERT_GT(lines.size(), 100u);
  EXPECT_LT(lines.size(), 1000u);
  // The newest row sits just above the bottom edge.
  int lowest = 0;
  for (const auto& l : lines) lowest = std::max(lowest, l.points.back().y);
  EXPECT_EQ(lowest, 800 - 12);
}

TEST(ChartPicture, AnEmptyLogGetsTheWindowSizeAndNoCurve) {
  auto bytes = writeLog(oneCurve(), false, 0);
  ChartDataReader reader(bytes);
  ASSERT_EQ(reader.open(), 0);
  const auto plan = planChartPicture(reader, 1);
  EXPECT_EQ(plan.step, -8);  // low resolution English: four times the base step
  EXPECT_EQ(plan.size.height, 400);
  RecordingCanvas canvas;
  drawChartPicture(canvas, reader, plan, {});
  EXPECT_EQ(curveLines(canvas).size(), 1u);  // the heading's sample line only
}

}  // namespace
}  // namespace presentation
