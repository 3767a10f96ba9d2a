#include "pagemill/core/PrintJob.h"

#include <gtest/gtest.h>

#include <fstream>

#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintManager.h"
#include "pagemill/core/tests/TestLogs.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/RecordingPrintTarget.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;
using platform::testing::RecordingPrintTarget;

// Letter at 300 dpi: H = 11000 and a width of 8500 in English mode.
constexpr int kH = 11000;

class PrintJobTest : public ::testing::Test {
 protected:
  PrintJobTest() : templates(settings, prompter, info) { std::filesystem::create_directories(dir()); }
  std::filesystem::path dir() const { return tmp.base() / "job"; }
  std::string write(const char* name, const std::string& text) {
    const auto p = dir() / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  void useTemplate(int kind, const std::string& text) {
    settings.setString(keys::kTemplates, templateValue(kind), write(templateValue(kind), text));
  }
  JobOutcome print(const std::vector<std::string>& entries, JobOptions o = {}) {
    o.english = o.english;
    PrintJob job(target, prompter, templates, status, o);
    const auto r = job.run(entries);
    failure = job.failureCode();
    return r;
  }
  const RecordingCanvas& page(std::size_t i) const { return *target.pages().at(i); }

  platform::testing::TempPaths tmp;
  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  CHeaderInfo info;
  CHeaderWnd templates;
  PrintStatus status;
  RecordingPrintTarget target;
  int failure = 0;
};

// A template whose one main region is height units tall, marked by a rectangle.
std::string block(int height, bool metric = false) {
  return std::string(metric ? "&METRIC" : "&ENGLISH") + "\n&MAIN_REGION 0 0 8000 " + std::to_string(-height) +
         "\n&DRAWRECTANGLE\n&END\n";
}

TEST_F(PrintJobTest, TheBlankPageAdvanceAndTheOffsetPlaceTheFirstEntry) {
  useTemplate(kHeaderTemplate, block(100) + block(100, true));
  JobOptions metric;
  metric.english = false;
  metric.blankAdvance = blankPageAdvance("6 in PAGE");
  metric.offsetAdvance = 100;
  ASSERT_EQ(print({"&HEADER: x"}, metric), JobOutcome::Finished);
  EXPECT_EQ(page(0).callsOf(DrawCall::Rectangle).at(0).rect.bottom, -15105 - 100);

  JobOptions english = metric;
  english.english = true;
  ASSERT_EQ(print({"&HEADER: x"}, english), JobOutcome::Finished);
  const auto& pages = target.pages();
  EXPECT_EQ(pages.at(2)->callsOf(DrawCall::Rectangle).at(0).rect.bottom, -5946 - 39);
  EXPECT_EQ(blankPageAdvance("unknown"), 0);
  EXPECT_EQ(blankPageAdvance("6.25 in EPSON"), -14175);
}

TEST_F(PrintJobTest, ATemplatePastThePageBottomIsPrintedAgainOnePageHigher) {
  useTemplate(kHeaderTemplate, block(kH + 1000));
  ASSERT_EQ(print({"&HEADER: x"}), JobOutcome::Finished);
  ASSERT_EQ(target.pages().size(), 3u);  // two for the header, one empty at the end
  EXPECT_EQ(page(0).callsOf(DrawCall::Rectangle).at(0).rect, (platform::Rect{0, -kH - 1000, 8000, 0}));
  EXPECT_EQ(page(1).callsOf(DrawCall::Rectangle).at(0).rect, (platform::Rect{0, -1000, 8000, kH}));
  EXPECT_TRUE(page(2).calls().size() <= 1u);  // only the page mapping
}

TEST_F(PrintJobTest, APictureTwiceThePageHeightTakesThreeSegments) {
  target.setImageSize({85, 220});  // 100 units a pixel across 8500: 22000 high
  const std::string pic = write("tall.bmp", "not read by the recording canvas");
  JobOptions o;
  o.offsetAdvance = 254;  // 100 units down
  ASSERT_EQ(print({"&BMP: " + pic}, o), JobOutcome::Finished);
  std::vector<DrawCall> slices;
  for (const auto& p : target.pages())
    for (const auto& c : p->callsOf(DrawCall::Image)) slices.push_back(c);
  ASSERT_EQ(slices.size(), 3u);
  EXPECT_EQ(slices[0].rect, (platform::Rect{0, -100, 8500, -kH}));
  EXPECT_EQ(slices[1].rect, (platform::Rect{0, 0, 8500, -kH}));
  EXPECT_EQ(slices[2].rect, (platform::Rect{0, 0, 8500, -100}));
  EXPECT_EQ(slices[0].points[0].y, 0);  // source rows follow the slices
  EXPECT_EQ(slices[1].points[0].y, 109);
  EXPECT_EQ(slices[2].points[1].y, 220);

  // In print mode 1 each slice is given from its lower edge with a positive height.
  o.printMode = kHpPrinter;
  ASSERT_EQ(print({"&BMP: " + pic}, o), JobOutcome::Finished);
  EXPECT_EQ(target.pages().at(4)->callsOf(DrawCall::Image).at(0).rect, (platform::Rect{0, -kH, 8500, -100}));
}

TEST_F(PrintJobTest, TextFilesPrintFramedAndAnEmptyOneIsOneLineHigh) {
  const std::string empty = write("empty.txt", "");
  ASSERT_EQ(print({"&TEXTFILE: " + empty}), JobOutcome::Finished);
  const auto lines = page(0).callsOf(DrawCall::Line);
  ASSERT_EQ(lines.size(), 6u);  // top edge, two side pairs, bottom edge
  EXPECT_EQ(lines.front().points, (std::vector<platform::Point>{{0, 0}, {8150, 0}}));
  EXPECT_EQ(lines.back().points, (std::vector<platform::Point>{{0, -196}, {8150, -196}}));  // 2 x L/2
  EXPECT_EQ(lines.front().pen.width, 15);

  const std::string text = write("notes.txt", "first\r\n\r\nthird\rfourth\n" + std::string(300, 'x'));
  ASSERT_EQ(print({"&TEXTFILE: " + text}), JobOutcome::Finished);
  EXPECT_EQ(target.pages().at(2)->texts(),
            (std::vector<std::string>{"first", "third", "fourth", std::string(254, 'x'), std::string(46, 'x')}));
}

TEST_F(PrintJobTest, ATextFileIsCappedAndWhatIsNoRegularFilePrintsNothing) {
  // A device or a folder prints no frame; the job goes on to the next entry.
  for (const std::string& path : {std::string("/dev/zero"), dir().string()}) {
    ASSERT_EQ(print({"&TEXTFILE: " + path, "&BMP: " + path}), JobOutcome::Finished) << path;
    EXPECT_TRUE(target.pages().back()->callsOf(DrawCall::Line).empty()) << path;
    EXPECT_TRUE(target.pages().at(target.pages().size() - 2)->callsOf(DrawCall::Line).empty()) << path;
  }
  // About 55 lines a page: 20000 lines would run over 360 pages.
  std::string many;
  for (int i = 0; i < 20000; ++i) many += "line\n";
  const auto before = target.pages().size();
  ASSERT_EQ(print({"&TEXTFILE: " + write("long.txt", many)}), JobOutcome::Finished);
  // The first page, the capped ones, the empty page at the end.
  EXPECT_EQ(static_cast<int>(target.pages().size() - before), 1 + kMaxPagesPerEntry + 1);
}

TEST_F(PrintJobTest, AWholeJobEndsWithAnEmptyPage) {
  info.setRecord([] {
    records::JobRecord j;
    j.client = "Acme Oil";
    return j;
  }());
  useTemplate(kHeaderTemplate, "&ENGLISH &MAIN_REGION 0 0 8000 -3000 &GOTOXY 100 -100 &ITEM 2 &END");
  useTemplate(kTailTemplate, "&ENGLISH &MAIN_REGION 0 0 8000 -2000 &SUBREGION 0 0 8000 -2000 &GOTOXY 100 -100 &TITLE END OF LOG\n&END");
  useTemplate(kSeparatorTemplate, "&ENGLISH &MAIN_REGION 0 0 8000 -500 &SUBREGION 0 0 8000 -500 &GOTOXY 100 -100 &SEPARATORTEXT &END");
  const auto cdf = dir() / "log.cdf";
  testlogs::writeLog(cdf, testlogs::threeTracks(), false, 1000.0f, 0.25f, 2000);  // 500 ft at 15 units a row
  const std::string text = write("notes.txt", "a line\n");
  const std::vector<std::string> entries = {"&HEADER: h", "&FILE: " + cdf.string(), "&SEPARATOR: Repeat pass",
                                            "&TEXTFILE: " + text, "&JUNK: skipped", "&TAIL: t"};
  ASSERT_EQ(print(entries), JobOutcome::Finished);
  EXPECT_EQ(target.documents(), (std::vector<std::string>{"KVR Printing Job"}));
  EXPECT_EQ(target.endedDocuments(), 1);
  EXPECT_TRUE(prompter.saw("MESSAGE", "Printing has finished"));
  // Header 3000 + gap 200, then the log (434 + 1999 x 15 + 434 = 30853) over pages of
  // 11000: it ends on the fourth page, followed by separator, text file and tail there.
  const auto& pages = target.pages();
  ASSERT_EQ(pages.size(), 5u);
  EXPECT_EQ(page(0).texts().front(), "Acme Oil");
  const auto last = page(3).texts();
  EXPECT_NE(std::find(last.begin(), last.end(), "Repeat pass"), last.end());
  EXPECT_NE(std::find(last.begin(), last.end(), "a line"), last.end());
  EXPECT_EQ(last.back(), " END OF LOG");
  EXPECT_TRUE(page(4).texts().empty());
  // Positions on the fourth page: log end E1, gap, separator of 500, gap, text of L/2 + L + L/2, gap, tail.
  const int logEnd = -3000 - 200 - 434 - 1999 * 15 - 434 + 3 * kH;
  const auto seps = page(3).callsOf(DrawCall::Text);
  const auto sep = std::find_if(seps.begin(), seps.end(), [](const DrawCall& c) { return c.text == "Repeat pass"; });
  EXPECT_EQ(sep->points[0].y, logEnd - 200 - 100);
  EXPECT_EQ(seps.back().points[0].y, logEnd - 200 - 500 - 200 - (98 + 197 + 98) - 200 - 100);
}

// A log that is missing or damaged is reported as not printed: the job never says it finished.
TEST_F(PrintJobTest, AnUnreadableOrDamagedLogEndsTheListAsNotPrinted) {
  useTemplate(kTailTemplate, block(100));
  ASSERT_EQ(print({"&FILE: " + (dir() / "missing.cdf").string(), "&TAIL: t"}), JobOutcome::EndedEarly);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"File Could not be read", kPrintingStopped}));
  EXPECT_EQ(target.pages().size(), 1u);  // no extra page
  EXPECT_TRUE(page(0).callsOf(DrawCall::Rectangle).empty());

  prompter.clear();
  const std::string bad = write("bad.cdf", std::string(300, '\x01'));
  ASSERT_EQ(print({"&FILE: " + bad, "&TAIL: t"}), JobOutcome::EndedEarly);
  ASSERT_EQ(prompter.texts().size(), 2u);
  EXPECT_EQ(prompter.texts()[1], kPrintingStopped);
  EXPECT_FALSE(prompter.saw("MESSAGE", kPrintingFinished));
}

TEST_F(PrintJobTest, SpoolerFailuresAbortTheDocumentWithTheirMessage) {
  useTemplate(kHeaderTemplate, block(kH + 10));
  struct Case {
    int code;
    const char* title;
    const char* text;
  };
  const Case cases[] = {
      {-5, "ERROR", "Not enough memory is available for spooling"},
      {-4, "ERROR", "Not enough disk space is currently available for spooling"},
      {-3, "MESSAGE", "User has Aborted the current print job"},
      {-1, "ERROR", "General Error occurred while printing"},
      {-2, "ERROR", "An unknown error has occurred while printing\nRestart the computer and try it again !"},
  };
  for (const auto& c : cases) {
    RecordingPrintTarget t;
    t.failAt("startPage", 1, c.code);  // the header's second page
    platform::testing::ScriptedPrompter p;
    PrintJob job(t, p, templates, status, {});
    EXPECT_EQ(job.run({"&HEADER: h"}), JobOutcome::Failed);
    EXPECT_TRUE(t.aborted());
    EXPECT_EQ(t.endedDocuments(), 0);
    ASSERT_EQ(p.messages().size(), 1u);
    EXPECT_EQ(p.messages()[0].title, c.title);
    EXPECT_EQ(p.messages()[0].text, c.text);
  }
}

TEST_F(PrintJobTest, AHostileTemplateCannotRunAwayWithPages) {
  useTemplate(kHeaderTemplate, "&ENGLISH &MAIN_REGION 0 0 10 -99999999 &END");
  ASSERT_EQ(print({"&HEADER: h"}), JobOutcome::Finished);
  // The first page, the repeats, the advance past the bottom and the empty last page.
  EXPECT_EQ(static_cast<int>(target.pages().size()), 1 + kMaxPagesPerEntry + 1 + 1);
  // A region above the page top is no reason for a page break.
  useTemplate(kHeaderTemplate, "&ENGLISH &MAIN_REGION 0 50000 10 40000 &END");
  const auto before = target.pages().size();
  ASSERT_EQ(print({"&HEADER: h"}), JobOutcome::Finished);
  EXPECT_EQ(target.pages().size() - before, 2u);
}

}  // namespace
}  // namespace pagemill
