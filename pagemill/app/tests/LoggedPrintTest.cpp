// Logs recorded by kvr-log on the simulated panel, carried through their chart data files,
// LAS export and Pagemill's print: the printed depth scale is the format's, in the session's
// units, and a string of every tool family comes out at the other end.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "common/presentation/ChartDataFile.h"
#include "pagemill/app/HeadlessPrint.h"
#include "pagemill/app/tests/PdfProbe.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/RunCommand.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

using platform::testing::printedFiles;
using platform::testing::runCommand;
using platform::testing::shellWord;
using testing::PdfProbe;


struct Session {
  platform::testing::TempPaths tmp;
  std::string output;
  // One log on the simulated panel; false with the program's output when it failed.
  bool log(const std::string& tools, const std::string& units, double startDepth, double speed, double length) {
    std::ostringstream cmd;
    cmd << shellWord(VAREXA_KVR_LOG) << " --root " << shellWord(tmp.base())
        << " --user Print.Check --client Northfield --well NF-12 --tools " << tools << " --direction up"
        << " --units " << units << " --start-depth " << startDepth << " --speed " << speed << " --length " << length;
    const auto r = runCommand(cmd.str());
    output = r.out;
    return r.status == 0;
  }
  std::vector<std::string> files(const std::string& suffix) const { return printedFiles(output, suffix); }
};

// The chart data file's scale (1:N) and whether its depths are feet.
struct ChartScale {
  int scale = 0;
  bool english = false;
};

ChartScale chartScale(const std::string& cdf) {
  auto file = presentation::openByteFile(cdf, presentation::OpenMode::ReadOnly);
  presentation::ChartHeader h;
  if (!file || presentation::readChartHeader(*file, h) != 0) return {};
  return {h.format.scale, h.format.english};
}

// The printed scale measured from the depth numbers of the log pages: points of paper
// between two numbered depths over their depth difference, as 1:N.
double printedScale(const PdfProbe& pdf, bool english, double firstDepth, double lastDepth) {
  std::vector<double> ratios;
  for (int page = 0; page < pdf.pages(); ++page) {
    std::vector<std::pair<double, double>> numbers;  // depth, y in points
    for (const auto& t : pdf.texts(page)) {
      if (t.text.empty() || t.quarterTurns != 0 ||
          !std::all_of(t.text.begin(), t.text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        continue;
      const double d = std::atof(t.text.c_str());
      if (d >= firstDepth - 1 && d <= lastDepth + 1) numbers.emplace_back(d, t.box.y + t.box.height / 2);
    }
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 1; i < numbers.size(); ++i) {
      const double dd = numbers[i].first - numbers[i - 1].first, dy = std::abs(numbers[i].second - numbers[i - 1].second);
      if (dd > 0 && dy > 0) ratios.push_back(dd / dy);
    }
  }
  if (ratios.empty()) return 0;
  std::nth_element(ratios.begin(), ratios.begin() + static_cast<std::ptrdiff_t>(ratios.size() / 2), ratios.end());
  const double depthPerPoint = ratios[ratios.size() / 2];
  const double pointsPerDepthUnit = english ? 72.0 * 12 : 72.0 / 0.0254;
  return depthPerPoint * pointsPerDepthUnit;
}

TEST(LoggedPrint, MetricAndEnglishLogsPrintAtTheirFormatsScale) {
  platform::qt::testing::qtTestApp();
  struct Case {
    const char* units;
    double startDepth, speed, length;
  };
  for (const Case c : {Case{"metric", 1600, 10, 100}, Case{"english", 5300, 1800, 300}}) {
    SCOPED_TRACE(c.units);
    Session s;
    ASSERT_TRUE(s.log("BRIX-CCL,QUIL-GR", c.units, c.startDepth, c.speed, c.length)) << s.output;
    const auto kvr = s.files(".kvr");
    const auto charts = s.files(".cdf");
    ASSERT_EQ(kvr.size(), 1u) << s.output;
    ASSERT_GE(charts.size(), 2u) << s.output;  // both shipped formats, metric and English
    const bool english = std::string(c.units) == "english";
    for (const auto& cdf : charts) {
      SCOPED_TRACE(cdf);
      const ChartScale scale = chartScale(cdf);
      ASSERT_GT(scale.scale, 0);
      EXPECT_EQ(scale.english, english);  // every format follows the session's units
      const std::string pdf = cdf + ".pdf";
      std::vector<std::string> args{"--print-cdf", cdf, "--pdf", pdf, "--kvr", kvr.front()};
      if (!english) args.push_back("--metric");
      std::ostringstream err;
      ASSERT_EQ(runHeadless(args, err), 0) << err.str();
      const PdfProbe probe(pdf);
      ASSERT_TRUE(probe.ok());
      const double measured = printedScale(probe, english, c.startDepth - c.length, c.startDepth);
      EXPECT_NEAR(measured, scale.scale, 0.02 * scale.scale);
    }
  }
}

// A string of every family: recorded, checked, converted to strict LAS and printed.
TEST(LoggedPrint, AStringOfEveryFamilyGoesThroughLasAndPrint) {
  platform::qt::testing::qtTestApp();
  Session s;
  ASSERT_TRUE(s.log("BRIX-CCL,TARN-GYRO,TARNB-FSK,TARNC-NSG,DUNE-ROLA,SEVO-PT,QUIL-GR,VUNT-MG,HAVO,PLOV-TENS,FYRD-CAL",
                    "english", 5300, 1800, 100))
      << s.output;
  const auto kvr = s.files(".kvr");
  ASSERT_EQ(kvr.size(), 1u) << s.output;
  const auto info = runCommand(shellWord(VAREXA_KVR_INFO) + " " + shellWord(kvr.front()));
  EXPECT_EQ(info.status, 0) << info.out;

  const std::string las = (s.tmp.base() / "every-family.las").string();
  const auto converted = runCommand(shellWord(VAREXA_KVR_CONVERT) + " --las2 -o " + shellWord(las) + " " + shellWord(kvr.front()));
  ASSERT_EQ(converted.status, 0) << converted.out;
  const auto checked = runCommand(shellWord(VAREXA_KVR_CONVERT) + " --check " + shellWord(las));
  EXPECT_EQ(checked.status, 0) << checked.out;
  // Channels of the collar locator, the gyros, the gamma ray and the tension are curves of the file.
  std::ifstream lasFile(las, std::ios::binary);
  const std::string lasText{std::istreambuf_iterator<char>(lasFile), {}};
  for (const char* mnemonic : {"CCL1", "RATEX", "HAZI", "TFACE", "GR", "PRES", "SPINNER", "DHTENS"}) {
    const std::string line = std::string("\n ") + mnemonic;
    EXPECT_TRUE(lasText.find(line + ".") != std::string::npos || lasText.find(line + " ") != std::string::npos)
        << mnemonic;
  }

  const auto charts = s.files(".cdf");
  ASSERT_FALSE(charts.empty());
  for (const auto& cdf : charts) {
    std::ostringstream err;
    EXPECT_EQ(runHeadless({"--print-cdf", cdf, "--pdf", cdf + ".pdf", "--kvr", kvr.front()}, err), 0) << cdf << "\n" << err.str();
    EXPECT_GE(PdfProbe(cdf + ".pdf").pages(), 2) << cdf;
  }
}

}  // namespace
}  // namespace pagemill
