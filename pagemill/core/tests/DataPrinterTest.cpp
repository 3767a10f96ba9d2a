#include "pagemill/core/DataPrinter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/presentation/PaperHeadings.h"
#include "pagemill/core/tests/TestLogs.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;
using testlogs::FakePages;

class DataPrinterTest : public ::testing::Test {
 protected:
  std::filesystem::path file(const char* name) {
    std::filesystem::create_directories(tmp.base() / "logs");
    return tmp.base() / "logs" / name;
  }
  CDataManager open(const std::filesystem::path& p) {
    CDataManager log;
    EXPECT_EQ(log.open(p, false, true), OpenResult::Ok);
    return log;
  }
  platform::testing::TempPaths tmp;
};

// The depth numbers: texts at the depth track's left edge (250 pixels) plus 6u.
std::vector<std::string> numbers(const RecordingCanvas& page) {
  std::vector<std::string> out;
  const int x = 250 * 8150 / 750 + 6 * 5;
  for (const auto& t : page.callsOf(DrawCall::Text))
    if (t.points.at(0).x == x) out.push_back(t.text);
  return out;
}

TEST_F(DataPrinterTest, HeadingBlockOfOverlappingTracks) {
  presentation::CFormat f;
  presentation::CColumn a, b;
  a.curves = {testlogs::curve("A1", 0, 1), testlogs::curve("A2", 0, 1)};
  b.index = 1;
  b.left = 400;
  b.overlap = true;
  b.curves = {testlogs::curve("B1", 0, 1), testlogs::curve("B2", 0, 1)};
  f.tracks = {a, b};
  presentation::stackLabels(f);
  EXPECT_EQ(presentation::headingBlockHeight(f), 160);
  f.tracks[1].overlap = false;
  EXPECT_EQ(presentation::headingBlockHeight(f), 80);
  f.tracks[1].overlap = true;
  presentation::stackLabels(f);

  // Above the log (y up) the second track's boxes continue the stack past the first's.
  presentation::TrackRenderer r(presentation::paperRules(f, true, false, false));
  RecordingCanvas c;
  presentation::drawHeadingBlock(c, r, f, -1000, presentation::HeadingStack::TowardLargerY);
  std::vector<int> edges;
  for (const auto& box : c.callsOf(DrawCall::FillRect)) edges.push_back(box.rect.top);
  EXPECT_EQ(edges, (std::vector<int>{-1000, -960, -920, -880}));
}

TEST_F(DataPrinterTest, RowsBreakAcrossPagesAndHeadingsFrameTheLog) {
  const auto p = file("down.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, 1000);
  auto log = open(p);
  ASSERT_EQ(log.rowHeight(), 15);
  FakePages pages(3000);
  CDataPrinter printer(log);
  const auto end = printer.print(pages, -100);
  ASSERT_TRUE(end);
  // 434-unit headings, then 999 rows of 15 units: 15085 units down from -100.
  const int c = 40 * 8150 / 750;
  EXPECT_EQ(static_cast<int>(pages.pages.size()), 1 + (100 + c + 999 * 15 + c) / 3000);
  EXPECT_GE(*end, -3000);
  for (const auto& page : pages.pages)
    for (const auto& l : page.callsOf(DrawCall::Line))
      for (const auto& pt : l.points) {
        EXPECT_GE(pt.y, -3000 - 15);
        EXPECT_LE(pt.y, 15);
      }
  // Depth numbers every 5 ft, each once, shallowest first over the pages.
  std::vector<std::string> all;
  for (const auto& page : pages.pages)
    for (auto& n : numbers(page)) all.push_back(n);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all.front(), "1000");
  EXPECT_EQ(all[1], "1005");
  EXPECT_EQ(all.back(), "1245");
  EXPECT_EQ(all.size(), 50u);
}

TEST_F(DataPrinterTest, ALogRecordedUpPrintsShallowestFirst) {
  const auto p = file("up.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), true, 1100.0f, -0.25f, 401);
  auto log = open(p);
  FakePages pages(100000);
  ASSERT_TRUE(CDataPrinter(log).print(pages, 0));
  const auto n = numbers(pages.pages[0]);
  ASSERT_GE(n.size(), 3u);
  EXPECT_EQ(n.front(), "1000");
  EXPECT_EQ(n[1], "1005");
  EXPECT_EQ(n.back(), "1100");
}

TEST_F(DataPrinterTest, FirstRowDrawsItsGridOnlyNearAMultipleOfFifty) {
  struct Case {
    float first;
    bool numbered;
  };
  for (const Case k : {Case{1000.05f, true}, Case{1000.25f, false}, Case{1005.0f, false}}) {
    const auto p = file("first.cdf");
    testlogs::writeLog(p, testlogs::threeTracks(), false, k.first, 0.25f, 8);
    auto log = open(p);
    FakePages pages(100000);
    ASSERT_TRUE(CDataPrinter(log).print(pages, 0));
    const auto n = numbers(pages.pages[0]);
    EXPECT_EQ(!n.empty(), k.numbered) << k.first;
  }
}

TEST_F(DataPrinterTest, RowsEndingAtThePageBottomPutTheBottomHeadingsOnTheNextPage) {
  const auto p = file("exact.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, 101);
  auto log = open(p);
  const int c = 40 * 8150 / 750;  // 434
  FakePages pages(c + 100 * 15);
  const auto end = CDataPrinter(log).print(pages, 0);
  ASSERT_TRUE(end);
  ASSERT_EQ(pages.pages.size(), 2u);
  // The block is drawn cut on the first page and again from the top of the second.
  const auto boxes = pages.pages[1].callsOf(DrawCall::FillRect);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rect.top, -c);
  EXPECT_EQ(boxes[0].rect.bottom, 0);
  EXPECT_EQ(*end, -c);
}

TEST_F(DataPrinterTest, ObjectsAreDrawnOnEveryPageTheyOverlap) {
  presentation::Annotation note;
  note.type = static_cast<std::uint32_t>(presentation::AnnotationType::TextBox);
  note.text = "NOTE";
  note.frame = {100, 1400, 1500, 1600};  // log units below the first row
  presentation::Annotation far = note;
  far.text = "FAR";
  far.frame = {100, 9000, 1500, 9100};
  const auto p = file("objects.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, 200, {note, far});
  auto log = open(p);
  ASSERT_EQ(log.objects().size(), 2u);
  const int c = 40 * 8150 / 750;
  FakePages pages(c + 1500);  // the page break falls at log y 1500
  ASSERT_TRUE(CDataPrinter(log).print(pages, 0));
  ASSERT_GE(pages.pages.size(), 2u);
  auto texts = [](const RecordingCanvas& page) { return page.texts(); };
  auto has = [&](const RecordingCanvas& page, const std::string& t) {
    const auto all = texts(page);
    return std::find(all.begin(), all.end(), t) != all.end();
  };
  EXPECT_TRUE(has(pages.pages[0], "NOTE"));
  EXPECT_TRUE(has(pages.pages[1], "NOTE"));
  for (const auto& page : pages.pages) EXPECT_FALSE(has(page, "FAR"));
  // On the first page the object sits 1400 units below the first row.
  const auto frames = pages.pages[0].callsOf(DrawCall::Rectangle);
  ASSERT_FALSE(frames.empty());
  EXPECT_EQ(frames.back().rect, (platform::Rect{100, -c - 1600, 1500, -c - 1400}));
}

TEST_F(DataPrinterTest, AFailedPageStopsTheLog) {
  const auto p = file("fail.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, 1000);
  auto log = open(p);
  FakePages pages(3000);
  pages.failAfter = 1;
  EXPECT_FALSE(CDataPrinter(log).print(pages, 0));
}

TEST_F(DataPrinterTest, OpeningRefusesDamagedFiles) {
  const auto p = file("bad.cdf");
  testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, 10);
  {
    auto f = presentation::openByteFile(p, presentation::OpenMode::ReadWrite);
    presentation::ChartHeader h;
    ASSERT_EQ(presentation::readChartHeader(*f, h), 0);
    const std::uint8_t other[4] = {1, 0, 0, 0};
    f->write(h.dataOffset - 4, other);  // the trailing data offset differs
  }
  CDataManager log;
  EXPECT_EQ(log.open(p, false, true), OpenResult::Invalid);
  EXPECT_EQ(log.open(file("none.cdf"), false, true), OpenResult::CannotOpen);
  const auto s = file("short.cdf");
  std::filesystem::copy_file(p, s);
  std::filesystem::resize_file(s, 100);
  EXPECT_EQ(log.open(s, false, true), OpenResult::ReadError);

  // Without an annotation table the last record is the last 4 x N bytes.
  const auto good = file("good.cdf");
  testlogs::writeLog(good, testlogs::threeTracks(), false, 1000.0f, 0.25f, 10);
  ASSERT_EQ(log.open(good, false, true), OpenResult::Ok);
  EXPECT_FLOAT_EQ(log.lastDepth(), 1002.25f);
  EXPECT_TRUE(log.objects().empty());
}

}  // namespace
}  // namespace pagemill
