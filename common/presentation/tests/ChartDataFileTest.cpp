#include "common/presentation/ChartDataFile.h"

#include <gtest/gtest.h>

#include "common/presentation/Annotation.h"
#include "common/records/LittleEndian.h"

namespace presentation {
namespace {

namespace le = records::le;

CCurve curve(const std::string& name, float left, float right, bool enabled = true) {
  CCurve c;
  c.name = name;
  c.description = name + " description";
  c.units = "[ft/min]";
  c.leftValue = left;
  c.rightValue = right;
  c.enabled = enabled;
  c.thickness = 2;
  c.colour = platform::rgb(10, 20, 30);
  c.lineType = LineType::DashDot;
  return c;
}

CFormat twoTracks() {
  CFormat f;
  f.name = "Spinner";
  f.english = true;
  f.scale = 500;
  CColumn a;
  a.width = 300;
  a.left = 20;
  a.curves = {curve("LSPD", 0, 100), curve("OFF", 0, 1, false), curve("TENS", 200, 0)};
  CColumn b;
  b.index = 1;
  b.mode = TrackMode::Logarithmic;
  b.width = 200;
  b.left = 320;
  b.overlap = true;
  b.curves = {curve("SPINNER", 1, 1000)};
  CColumn c;
  c.index = 2;
  c.mode = TrackMode::Depth;
  c.left = 520;
  c.width = 60;
  c.curves = {curve("NONE", 0, 1, false)};
  f.tracks = {a, b, c};
  return f;
}

TEST(ChartHeader, OneTrackOneCurveStartsItsValuesAt428) {
  CFormat f;
  CColumn t;
  t.curves = {curve("CCL1", -10, 10)};
  f.tracks = {t};
  const auto bytes = encodeChartHeader(f, false);
  ASSERT_EQ(bytes.size(), 428u);
  EXPECT_EQ(le::getU32(bytes.data()), 428u);
  EXPECT_EQ(le::getU32(bytes.data() + 4), 0u);
  EXPECT_EQ(le::getU32(bytes.data() + 424), 428u);
  EXPECT_EQ(bytes[8 + 73], kLayoutMarker);
  EXPECT_EQ(f.valuesPerRecord(), 2);  // 8 bytes per value record
}

TEST(ChartHeader, WritesEnabledCurvesNormalisedAndReadsThemBack) {
  const auto f = twoTracks();
  const auto bytes = encodeChartHeader(f, true);
  ASSERT_EQ(bytes.size(), 8 + 124 + 3 * 88 + 3 * 204 + 4u);
  const std::uint8_t* t0 = bytes.data() + 132;
  const std::uint8_t* lspd = t0 + 88;
  const std::uint8_t* tens = lspd + 204;
  EXPECT_EQ(t0[36], 1);
  EXPECT_EQ(t0[37], 1);
  EXPECT_EQ(lspd[151], 1);  // enabled, disabled, enabled: the first still has a follower
  EXPECT_EQ(tens[151], 0);
  EXPECT_EQ(le::getF32(tens + 128), 0.0f);  // left 200, right 0 is stored as 0..200 reversed
  EXPECT_EQ(le::getF32(tens + 124), 200.0f);
  EXPECT_EQ(tens[150], 1);
  EXPECT_EQ(le::getU32(tens + 136), 2u);
  const std::uint8_t* t2 = bytes.data() + 132 + 88 + 2 * 204 + 88 + 204;
  EXPECT_EQ(t2[36], 0);  // all its curves disabled: no curve records follow
  EXPECT_EQ(t2[37], 0);

  MemoryFile file(bytes);
  ChartHeader h;
  ASSERT_EQ(readChartHeader(file, h), 0);
  EXPECT_TRUE(h.loggingUp);
  EXPECT_EQ(h.format.name, "Spinner");
  EXPECT_EQ(h.format.scale, 500);
  ASSERT_EQ(h.format.tracks.size(), 3u);
  EXPECT_EQ(h.format.tracks[1].left, 320);
  EXPECT_TRUE(h.format.tracks[1].overlap);
  EXPECT_EQ(h.format.tracks[1].logOrigin, 320);
  const auto& c = h.format.tracks[0].curves;
  ASSERT_EQ(c.size(), 2u);
  EXPECT_EQ(c[1].name, "TENS");
  EXPECT_TRUE(c[1].reverse);
  EXPECT_EQ(c[1].shownLeft(), 200.0f);
  EXPECT_EQ(c[1].units, "[ft/min]");
  EXPECT_EQ(c[1].lineType, LineType::DashDot);
  EXPECT_EQ(c[1].labelPosition, 40);
  EXPECT_EQ(h.format.tracks[1].curves[0].labelPosition, 80);  // overlapping track continues below
  EXPECT_EQ(h.format.tracks[1].curves[0].channelIndex, 3u);
  EXPECT_EQ(h.valuesPerFrame(), 4);
}

TEST(ChartHeader, FileWithoutTheMarkerPlacesTracksSideBySide) {
  auto bytes = encodeChartHeader(twoTracks(), false);
  bytes[8 + 73] = 0;
  MemoryFile file(bytes);
  ChartHeader h;
  ASSERT_EQ(readChartHeader(file, h), 0);
  EXPECT_EQ(h.format.tracks[0].left, 0);
  EXPECT_EQ(h.format.tracks[1].left, 300);
  EXPECT_EQ(h.format.tracks[2].left, 500);
  EXPECT_FALSE(h.format.tracks[1].overlap);
  EXPECT_EQ(h.format.tracks[1].curves[0].labelPosition, 0);
}

TEST(ChartHeader, BadFilesGiveTheirResults) {
  const auto good = encodeChartHeader(twoTracks(), false);
  auto withWord = [](std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v) {
    if (at + 4 <= b.size()) le::putU32(b.data() + at, v);
    return b;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    int result;
  } cases[] = {
      {"empty", {}, -1},
      {"cut in the format header", {good.begin(), good.begin() + 100}, -1},
      {"cut in a curve record", {good.begin(), good.begin() + 500}, -1},
      {"cut before the trailing offset", {good.begin(), good.end() - 2}, -1},
      {"trailing offset differs", withWord(good, good.size() - 4, 12345), -2},
      {"both offsets beyond the file", withWord(good, 0, 999999), -2},
      {"annotation offset beyond the file", withWord(good, 4, 999999), -2},
      {"annotation offset inside the header", withWord(good, 4, 200), -2},
  };
  for (const auto& c : cases) {
    MemoryFile file(c.bytes);
    ChartHeader h;
    EXPECT_EQ(readChartHeader(file, h), c.result) << c.what;
  }
  MemoryFile file(withWord(withWord(good, 0, 900), good.size() - 4, 900));
  ChartHeader h;
  EXPECT_EQ(readChartHeader(file, h), -2) << "data offset past the end of the file";
}

TEST(ChartData, FramesRoundTripValueForValue) {
  auto owned = std::make_unique<MemoryFile>();
  MemoryFile* file = owned.get();
  ChartDataWriter w;
  ASSERT_EQ(w.create(std::move(owned), twoTracks(), false), 0);
  ASSERT_EQ(w.valuesPerFrame(), 4);
  for (int i = 0; i < 1000; ++i) {
    const float r[4] = {1000.0f + 0.1f * i, static_cast<float>(i), kMissingValue, -1.5e-7f * i};
    ASSERT_EQ(w.appendFrame(r), 0);
  }
  std::vector<float> mixed;  // frames from the file and from the write buffer together
  ASSERT_EQ(w.readFrames(990, 20, mixed), 10u);
  EXPECT_EQ(mixed[4 * 9 + 1], 999.0f);
  ASSERT_EQ(w.flush(), 0);

  ChartDataReader reader(*file);
  ASSERT_EQ(reader.open(), 0);
  ASSERT_EQ(reader.frameCount(), 1000u);
  std::vector<float> all;
  ASSERT_EQ(reader.readFrames(0, 1000, all), 1000u);
  for (int i = 0; i < 1000; ++i) {
    EXPECT_EQ(all[4 * i], 1000.0f + 0.1f * i);
    EXPECT_EQ(all[4 * i + 1], static_cast<float>(i));
    EXPECT_EQ(all[4 * i + 2], kMissingValue);
    EXPECT_EQ(all[4 * i + 3], -1.5e-7f * i);
  }
  EXPECT_EQ(mixed, std::vector<float>(all.begin() + 4 * 990, all.end()));
}

TEST(ChartData, WriteBufferFlushesWhenTheNextFrameWouldPass500Floats) {
  CFormat f;
  CColumn t;
  t.curves = {curve("A", 0, 1)};
  f.tracks = {t};
  auto owned = std::make_unique<MemoryFile>();
  MemoryFile* file = owned.get();
  ChartDataWriter w;
  w.create(std::move(owned), f, false);
  const float r[2] = {1, 2};
  for (int i = 0; i < 250; ++i) w.appendFrame(r);
  EXPECT_EQ(file->size(), 428u);
  w.appendFrame(r);
  EXPECT_EQ(file->size(), 428u + 2000u);
  EXPECT_EQ(w.frameCount(), 251u);
}

TEST(ChartData, ShortWriteDropsTheFrameAndKeepsWholeFrames) {
  CFormat f;
  CColumn t;
  t.curves = {curve("A", 0, 1), curve("B", 0, 1)};
  f.tracks = {t};
  auto owned = std::make_unique<MemoryFile>();
  MemoryFile* file = owned.get();
  ChartDataWriter w;
  w.create(std::move(owned), f, false);
  const std::uint32_t d = w.dataOffset();
  file->setWriteLimit(d + 12 * 100 + 5);  // room for 100 frames and a few bytes
  const float r[3] = {1, 2, 3};
  int failures = 0;
  for (int i = 0; i < 400; ++i) failures += w.appendFrame(r) != 0 ? 1 : 0;
  EXPECT_EQ(failures, 2);  // each frame that found the buffer unwritable
  EXPECT_EQ(file->size(), d + 12u * 100);
  file->setWriteLimit(UINT64_MAX);
  ASSERT_EQ(w.flush(), 0);
  ChartDataReader reader(*file);
  ASSERT_EQ(reader.open(), 0);
  EXPECT_EQ((file->size() - d) % 12, 0u);
  EXPECT_EQ(reader.frameCount(), w.frameCount());
}

TEST(ChartData, ReaderStopsAtTheAnnotationTableAndIgnoresATornFrame) {
  auto bytes = encodeChartHeader(twoTracks(), false);
  for (int i = 0; i < 10 * 4 + 3; ++i) {
    bytes.resize(bytes.size() + 4);
    le::putF32(bytes.data() + bytes.size() - 4, static_cast<float>(i));
  }
  MemoryFile file(bytes);
  ChartDataReader reader(file);
  ASSERT_EQ(reader.open(), 0);
  EXPECT_EQ(reader.frameCount(), 10u);
  std::vector<float> out;
  EXPECT_EQ(reader.readFrames(9, 5, out), 1u);
  EXPECT_EQ(out.front(), 36.0f);
  EXPECT_EQ(reader.readFrames(10, 1, out), 0u);
}

Annotation sampleAnnotation(int i) {
  Annotation a;
  a.transparent = i % 2 == 1;
  a.penWidthUnit = 25;
  a.fillColour = 0x123456;
  a.penColour = 0x00FF00 + static_cast<std::uint32_t>(i);
  a.fillPattern = 3;
  a.penStyle = 2;
  a.penWidth = 4;
  a.textColour = 0xFF;
  a.font = {-120, 50, 900, 900, 700, 1, 0, 1, 0, 3, 2, 1, 34, "Swiss Face"};
  a.lineStart = {-5, 10 * i};
  a.lineEnd = {4000, -70000};
  a.type = static_cast<std::uint32_t>(AnnotationType::Arrow);
  a.text = "Perforations " + std::to_string(i);
  a.frame = {100, 200 * i, 3000, 200 * i + 150};
  return a;
}

TEST(Annotations, TableRoundTripsAndCutsTheFileWhenEmptied) {
  auto bytes = encodeChartHeader(twoTracks(), false);
  bytes.resize(bytes.size() + 4 * 4 * 5, 0);  // five frames
  const auto valuesEnd = bytes.size();
  MemoryFile file(bytes);
  ChartHeader h;
  ASSERT_EQ(readChartHeader(file, h), 0);
  const std::vector<Annotation> table = {sampleAnnotation(0), sampleAnnotation(1), sampleAnnotation(2)};
  ASSERT_EQ(writeAnnotations(file, h, table), 0);
  EXPECT_EQ(h.annotationOffset, valuesEnd);
  EXPECT_EQ(file.size(), valuesEnd + 3 * 256);

  ChartDataReader reader(file);
  ASSERT_EQ(reader.open(), 0);
  EXPECT_EQ(reader.frameCount(), 5u);
  std::vector<Annotation> back;
  ASSERT_EQ(readAnnotations(file, reader.header(), back), 0);
  EXPECT_EQ(back, table);

  // A shorter table is written in place and the file cut after it.
  ASSERT_EQ(writeAnnotations(file, h, {sampleAnnotation(7)}), 0);
  EXPECT_EQ(file.size(), valuesEnd + 256);
  ASSERT_EQ(writeAnnotations(file, h, {}), 0);
  EXPECT_EQ(h.annotationOffset, 0u);
  EXPECT_EQ(file.size(), valuesEnd);
  EXPECT_EQ(le::getU32(file.bytes().data() + 4), 0u);
}

TEST(Annotations, RecordLayout) {
  std::uint8_t b[256];
  encodeAnnotation(sampleAnnotation(1), b);
  EXPECT_EQ(b[4], 1);
  EXPECT_EQ(le::getU32(b + 8), 25u);
  EXPECT_EQ(le::getI32(b + 40), -120);
  EXPECT_EQ(b[67], 34);
  EXPECT_EQ(le::getText(b + 68, 32), "Swiss Face");
  EXPECT_EQ(le::getI32(b + 100), 4000);
  EXPECT_EQ(le::getI32(b + 112), 10);
  EXPECT_EQ(le::getU32(b + 132), 4u);
  EXPECT_EQ(le::getText(b + 136, 100), "Perforations 1");
  EXPECT_EQ(le::getI32(b + 248), 350);
  EXPECT_EQ(b[252] | b[253] | b[254] | b[255] | b[20] | b[120], 0);
}

TEST(ChartHeader, RewriteWithMoreCurvesMovesTheValuesAndTheTable) {
  auto f = twoTracks();
  auto bytes = encodeChartHeader(f, false);
  for (int i = 0; i < 4 * 3; ++i) {
    bytes.resize(bytes.size() + 4);
    le::putF32(bytes.data() + bytes.size() - 4, static_cast<float>(i));
  }
  MemoryFile file(bytes);
  ChartHeader h;
  ASSERT_EQ(readChartHeader(file, h), 0);
  ASSERT_EQ(writeAnnotations(file, h, {sampleAnnotation(3)}), 0);

  f.tracks[0].curves[0].description = "Edited";
  CColumn spacer;  // the header grows by one track record; the value records keep their layout
  spacer.mode = TrackMode::Depth;
  f.tracks.push_back(spacer);
  ASSERT_EQ(rewriteChartHeader(file, h, f), 0);
  EXPECT_EQ(h.dataOffset, le::getU32(bytes.data()) + 88u);
  ChartHeader again;
  ASSERT_EQ(readChartHeader(file, again), 0);
  EXPECT_EQ(again.format.tracks[0].curves[0].description, "Edited");
  EXPECT_EQ(again.annotationOffset, h.annotationOffset);
  std::vector<Annotation> back;
  ASSERT_EQ(readAnnotations(file, again, back), 0);
  ASSERT_EQ(back.size(), 1u);
  EXPECT_EQ(back[0], sampleAnnotation(3));
  std::uint8_t v[4];
  file.read(again.dataOffset + 4 * 11, v);
  EXPECT_EQ(le::getF32(v), 11.0f);
}

}  // namespace
}  // namespace presentation
