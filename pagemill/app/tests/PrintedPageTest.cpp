// Printed pages read back from the PDF: fonts, widths, margins, rotated text.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "pagemill/app/tests/PdfProbe.h"
#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/PrintJob.h"
#include "pagemill/core/tests/TestLogs.h"
#include "platform/qt/QtPrintTarget.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

using testing::PdfProbe;
using testing::PdfText;

constexpr double kPointsPerUnit = 72.0 / 1000;  // English page units: 0.001 inch

class PrintedPage : public ::testing::Test {
 protected:
  PrintedPage() : templates(settings, prompter, info) {
    platform::qt::testing::qtTestApp();
    std::filesystem::create_directories(tmp.base());
  }
  std::string write(const char* name, const std::string& text) {
    const auto p = tmp.base() / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }
  // Prints the entries on Letter as the print dialog's PDF would.
  std::filesystem::path print(const std::vector<std::string>& entries, int printMode = kPlainPrinter,
                              bool english = true) {
    platform::qt::PrintSetup setup;
    setup.pdfPath = (tmp.base() / ("job" + std::to_string(++jobs) + ".pdf")).string();
    setup.pageSize = QPageSize(english ? QPageSize::Letter : QPageSize::A4);
    setup.contentWidthMm = logWidthMm(english);
    platform::qt::QtPrintTarget target(setup);
    JobOptions o;
    o.english = english;
    o.printMode = printMode;
    PrintStatus status;
    PrintJob job(target, prompter, templates, status, o);
    EXPECT_EQ(job.run(entries), JobOutcome::Finished);
    return setup.pdfPath;
  }

  platform::testing::TempPaths tmp;
  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  CHeaderInfo info;
  CHeaderWnd templates;
  int jobs = 0;
};

const char* kSample = "Varexa wireline log, run 12 at 1500 ft";

TEST_F(PrintedPage, EachFaceHasItsFamilyAndTheWidthTheTemplateAsks) {
  std::string tpl = "&ENGLISH\n&MAIN_REGION 0 0 8150 -4000\n";
  const char* faces[] = {"SWISS", "ROMAN", "MODERN", "DECORATIVE"};
  for (int i = 0; i < 4; ++i)
    tpl += std::string("&SETFONT ") + faces[i] + " 200 4 0\n&GOTOXY 100 " + std::to_string(-200 - 400 * i) +
           "\n&TITLE " + faces[i] + ": " + kSample + "\n";
  tpl += "&END\n";
  settings.setString(keys::kTemplates, templateValue(kHeaderTemplate), write("h.txt", tpl));
  const std::string listing = write("list.txt", "A fixed pitch listing\n");
  const PdfProbe pdf(print({"&HEADER: h", "&TEXTFILE: " + listing}));
  ASSERT_TRUE(pdf.ok());
  const auto runs = pdf.texts(0);

  auto fontOf = [&](const std::string& word) {
    const PdfText* t = pdf.find(runs, word);
    return t ? t->font : std::string("(missing)");
  };
  const std::string swiss = fontOf("SWISS:");
  EXPECT_NE(swiss.find("Sans"), std::string::npos) << swiss;
  EXPECT_EQ(swiss.find("Mono"), std::string::npos) << swiss;
  EXPECT_NE(fontOf("ROMAN:").find("Serif"), std::string::npos) << fontOf("ROMAN:");
  EXPECT_NE(fontOf("MODERN:").find("Mono"), std::string::npos) << fontOf("MODERN:");
  EXPECT_NE(fontOf("DECORATIVE:"), swiss);
  EXPECT_NE(fontOf("fixed").find("Mono"), std::string::npos) << fontOf("fixed");  // the listing

  // Width 30 % of the height: 60 units, 4.32 points a character. A fixed-pitch face gives
  // it exactly; proportional faces on average over a sentence.
  const double asked = 200 * 30 / 100 * kPointsPerUnit;
  struct Case {
    const char* face;
    double tolerance;
  };
  for (const Case c : {Case{"SWISS", 0.1}, Case{"ROMAN", 0.1}, Case{"MODERN", 0.03}, Case{"DECORATIVE", 0.1}}) {
    // The line from the face's caption to its last word.
    const PdfText* caption = pdf.find(runs, std::string(c.face) + ":");
    ASSERT_NE(caption, nullptr) << c.face;
    const PdfText* last = caption;
    for (const auto& r : runs)
      if (std::abs(r.box.y - caption->box.y) < 1 && r.box.x > last->box.x) last = &r;
    const double span = last->glyphs.back().x + last->glyphs.back().width - caption->glyphs.front().x;
    const std::string text = std::string(c.face) + ": " + kSample;
    const double perChar = span / static_cast<double>(text.size());
    EXPECT_NEAR(perChar / asked, 1.0, c.tolerance) << c.face << ": " << perChar << " points a character";
  }
}

TEST_F(PrintedPage, RotatedTextReadsUpwardInEveryPrintMode) {
  settings.setString(keys::kTemplates, templateValue(kHeaderTemplate),
                     write("r.txt", "&ENGLISH &MAIN_REGION 0 0 8150 -4000 &SETFONT SWISS 200 4 90 &GOTOXY 4000 -3000 "
                                    "&TITLE Upward\n&END\n"));
  for (const int mode : {kHpPrinter, kPdfWriter, kPlainPrinter}) {
    const PdfProbe pdf(print({"&HEADER: h"}, mode));
    const auto runs = pdf.texts(0);
    const PdfText* t = pdf.find(runs, "Upward");
    ASSERT_NE(t, nullptr) << "mode " << mode;
    EXPECT_EQ(t->quarterTurns, 3) << "mode " << mode;
    EXPECT_LT(t->glyphs.back().y, t->glyphs.front().y) << "mode " << mode;  // the last letter is highest
  }
}

TEST_F(PrintedPage, TheLogKeepsItsScaleInsideThePrintableArea) {
  auto format = testlogs::threeTracks();
  format.tracks[2].width = 420;  // the last track ends at the log's right edge
  const auto cdf = tmp.base() / "log.cdf";
  testlogs::writeLog(cdf, format, false, 1000.0f, 0.25f, 700);  // 10.5 inches of rows
  struct Case {
    bool english;
    double leftMm;  // the sheet's left edge to the first track's left border
  };
  constexpr double kDpi = 200;
  const double px = kDpi / 25.4;  // pixels a millimetre
  for (const Case c : {Case{true, 25.4 / 6}, Case{false, (210 - 207) / 2.0}}) {
    SCOPED_TRACE(c.english ? "Letter, English" : "A4, Metric");
    const PdfProbe pdf(print({"&FILE: " + cdf.string()}, kPlainPrinter, c.english));
    const auto page = pdf.render(0, kDpi);
    ASSERT_GT(page.width, 0);
    // Track borders run the whole height of a band of rows on the first page; a border is
    // measured at the middle of its pen.
    const auto columns = page.darkColumns(static_cast<int>(2 * kDpi), static_cast<int>(5 * kDpi));
    ASSERT_GE(columns.size(), 2u);
    auto middle = [&](int from, int step) {
      int to = from;
      while (to + step >= 0 && to + step < static_cast<int>(columns.size()) &&
             std::abs(columns[static_cast<std::size_t>(to + step)] - columns[static_cast<std::size_t>(to)]) == 1)
        to += step;
      return (columns[static_cast<std::size_t>(from)] + columns[static_cast<std::size_t>(to)]) / 2.0;
    };
    const double left = middle(0, 1), right = middle(static_cast<int>(columns.size()) - 1, -1);
    EXPECT_NEAR(left, c.leftMm * px, 2);
    EXPECT_NEAR(right - left, logWidthMm(c.english) * px, 2);  // to scale
    EXPECT_GT(page.firstInkColumn(), 0);  // nothing cut at the sheet's edge
  }
}

}  // namespace
}  // namespace pagemill
