#include "pagemill/app/HeadlessPrint.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include <fstream>
#include <sstream>

#include "common/presentation/ChartDataFile.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

presentation::CFormat productionFormat() {
  presentation::CFormat f;
  f.name = "Production";
  f.english = true;
  f.scale = 200;
  auto curve = [](const char* name, float l, float r, platform::Rgb colour) {
    presentation::CCurve c;
    c.name = name;
    c.description = name;
    c.leftValue = l;
    c.rightValue = r;
    c.colour = colour;
    c.thickness = 2;
    return c;
  };
  presentation::CColumn a;
  a.width = 250;
  a.curves = {curve("GR", 0, 150, platform::rgb(0, 128, 0)), curve("CCL", -10, 10, 0)};
  presentation::CColumn d;
  d.index = 1;
  d.mode = presentation::TrackMode::Depth;
  d.left = 250;
  d.width = 80;
  presentation::CColumn b;
  b.index = 2;
  b.left = 330;
  b.width = 420;
  b.mode = presentation::TrackMode::Logarithmic;
  b.decades = 3;
  b.curves = {curve("SPIN", 1, 1000, platform::rgb(255, 0, 0))};
  f.tracks = {a, d, b};
  return f;
}

void writeCdf(const std::filesystem::path& p, int records) {
  presentation::ChartDataWriter w;
  ASSERT_EQ(w.create(presentation::openByteFile(p, presentation::OpenMode::CreateTruncate), productionFormat(), false), 0);
  for (int i = 0; i < records; ++i) {
    const float d = 1000.0f + 0.25f * static_cast<float>(i);
    const float rec[4] = {d, 60 + 40 * std::sin(d / 7), (i % 37 == 0) ? 8.0f : 0.5f, 10 + 5 * std::cos(d / 3)};
    ASSERT_EQ(w.appendFrame(rec), 0);
  }
  ASSERT_EQ(w.flush(), 0);
}

struct PdfFacts {
  int pages = 0;
  int width = 0, height = 0;  // points
};

PdfFacts readPdf(const std::filesystem::path& p) {
  QFile f(QString::fromStdString(p.string()));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  PdfFacts facts;
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  const QString text = QString::fromLatin1(bytes);
  facts.pages = static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
  const auto m = QRegularExpression("/MediaBox\\s*\\[([^\\]]*)\\]").match(text);
  const QStringList box = m.captured(1).simplified().split(' ');
  if (box.size() == 4) {
    facts.width = static_cast<int>(std::lround(box[2].toDouble()));
    facts.height = static_cast<int>(std::lround(box[3].toDouble()));
  }
  return facts;
}

TEST(HeadlessPrint, PrintsALogWithItsHeaderAndTailToAPdf) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto cdf = tmp.base() / "log.cdf";
  writeCdf(cdf, 800);  // 200 ft: 12 inches of log at 1:200
  const auto pdf = tmp.base() / "log.pdf";
  std::ostringstream err;
  ASSERT_EQ(runHeadless({"--print-cdf", cdf.string(), "--pdf", pdf.string()}, err), 0) << err.str();
  const auto facts = readPdf(pdf);
  // Header (6.4 in) and log (12.6 in with headings) over Letter pages, the tail, an empty page.
  EXPECT_EQ(facts.pages, 4) << err.str();
  EXPECT_EQ(facts.width, 612);  // Letter
  EXPECT_EQ(facts.height, 792);
  EXPECT_NE(err.str().find("Printing has finished"), std::string::npos);
}

TEST(HeadlessPrint, ADamagedLogIsReportedAsNotPrinted) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto cdf = tmp.base() / "damaged.cdf";
  std::ofstream(cdf, std::ios::binary) << std::string(300, '\x01');
  std::ostringstream err;
  EXPECT_NE(runHeadless({"--print-cdf", cdf.string(), "--pdf", (tmp.base() / "out.pdf").string()}, err), 0);
  EXPECT_EQ(err.str().find("Printing has finished"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("could not be printed"), std::string::npos) << err.str();
}

TEST(HeadlessPrint, PrintsAListInMetricModeOnA4AndRefusesBadUsage) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto cdf = tmp.base() / "log.cdf";
  writeCdf(cdf, 40);
  const auto list = tmp.base() / "job.wpl";
  std::ofstream(list, std::ios::binary) << "&HEADER: h\r\n&FILE: " << cdf.string() << "\r\n&SEPARATOR: Repeat\r\n&TAIL: t\r\n";
  const auto pdf = tmp.base() / "job.pdf";
  std::ostringstream err;
  ASSERT_EQ(runHeadless({"--print", list.string(), "--pdf", pdf.string(), "--metric"}, err), 0) << err.str();
  const auto facts = readPdf(pdf);
  EXPECT_EQ(facts.width, 595);  // A4
  EXPECT_EQ(facts.height, 842);
  EXPECT_GE(facts.pages, 2);

  std::ostringstream usage;
  EXPECT_EQ(runHeadless({"--print-cdf", cdf.string()}, usage), 2);
  EXPECT_EQ(runHeadless({"--print-cdf", cdf.string(), "--pdf", pdf.string(), "--bogus"}, usage), 2);
  std::ostringstream missing;
  EXPECT_EQ(runHeadless({"--print", (tmp.base() / "none.wpl").string(), "--pdf", pdf.string()}, missing), 1);
  EXPECT_NE(missing.str().find("File Could not be read"), std::string::npos);
}

TEST(PagemillArguments, HelpPrintsTheUsageAndTheWindowRefusesUnknownOptions) {
  EXPECT_TRUE(wantsHelp({"--help"}));
  EXPECT_TRUE(wantsHelp({"log.cdf", "-h"}));
  EXPECT_FALSE(wantsHelp({"log.cdf"}));
  EXPECT_NE(std::string(usage()).find("--print-cdf"), std::string::npos);
  struct Case {
    std::vector<std::string> args;
    bool ok;
    std::optional<std::string> file;
  };
  const Case cases[] = {
      {{}, true, std::nullopt},
      {{"log.cdf"}, true, "log.cdf"},
      {{"--bogus"}, false, std::nullopt},
      {{"a.cdf", "b.cdf"}, false, std::nullopt},
  };
  for (const auto& c : cases) {
    std::ostringstream err;
    bool ok = !c.ok;
    EXPECT_EQ(windowArguments(c.args, err, ok), c.file);
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(err.str().find("usage:") != std::string::npos, !c.ok);
  }
}

}  // namespace
}  // namespace pagemill
