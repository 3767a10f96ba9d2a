// The cross plot generator, its setup dialog and the report options.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "kvr/utilities/CCrossPlot.h"
#include "kvr/utilities/CCrossPlotSetupDLG.h"
#include "kvr/utilities/CDirSurveyReportOptions.h"
#include "kvr/utilities/PathFile.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace kvr::utilities {
namespace {

using platform::Answer;
using platform::testing::ScriptedPrompter;

std::string readAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct CrossPlotFixture : ::testing::Test {
  ScriptedPrompter prompter;
  CCrossPlotViewWnd view;
  CCrossPlot plot{prompter, view};
  platform::testing::TempPaths paths;

  std::filesystem::path write(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(paths.base());
    auto p = paths.base() / name;
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
};

TEST_F(CrossPlotFixture, LoadAsksToKeepThePreviousFileAndSetsAutomaticRanges) {
  prompter.queueFile(write("a.las", "0 0 0\n100 90 90\n").string());
  prompter.queue(Answer::No);
  ASSERT_TRUE(plot.loadData());
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_TRUE(prompter.saw("QUESTION", "Do you want to keep previous data file ?"));
  EXPECT_EQ(prompter.messages()[0].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(prompter.fileRequests()[0].filter, "Ascii Data files (*.las)|*.las||");
  EXPECT_EQ(plot.table().size(), 2u);
  const auto& s = plot.settings();
  EXPECT_EQ(s.east.start, 0);
  EXPECT_NEAR(s.east.final, 63.66, 0.005);
  EXPECT_NEAR(s.north.start, 0, 1e-5);
  EXPECT_NEAR(s.north.final, 0, 1e-5);
  EXPECT_NEAR(s.depth.final, 63.66, 0.005);
  EXPECT_EQ(s.horizontalGrid, 10);
  EXPECT_EQ(s.verticalGrid, 100);
}

TEST_F(CrossPlotFixture, AutomaticRangesIncludeZeroOnBothSides) {
  ASSERT_TRUE(plot.loadText("0 0 0\n100 90 270\n200 90 180\n", false));
  EXPECT_LT(plot.settings().east.start, -60);
  EXPECT_EQ(plot.settings().east.final, 0);
  EXPECT_LT(plot.settings().north.start, -30);
  EXPECT_GE(plot.settings().north.final, 0);
}

TEST_F(CrossPlotFixture, ABadLineIsNamedAndThePreviousTableStays) {
  ASSERT_TRUE(plot.loadText("0 0 0\n100 0 0\n", false));
  EXPECT_FALSE(plot.loadText("0 0 0\n\nnot a station\n", true));
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_EQ(prompter.messages()[0].title, "ERROR");
  EXPECT_EQ(prompter.messages()[0].text.rfind("Line 3 of the data file", 0), 0u);
  EXPECT_EQ(plot.table().size(), 2u);
  EXPECT_FLOAT_EQ(plot.table()[1].tvd, 100.0f);

  EXPECT_FALSE(plot.loadText("# only a comment\n", true));
  EXPECT_TRUE(prompter.saw("ERROR", "The data file does not hold any survey station"));
  EXPECT_FALSE(plot.load(paths.base() / "missing.las", false));
  EXPECT_TRUE(prompter.saw("ERROR", "The requested file could not be opened"));
  EXPECT_EQ(plot.table().size(), 2u);
}

TEST_F(CrossPlotFixture, TooManyStationsKeepsTheFirstTenThousandRowsWithTheMessage) {
  std::string text;
  for (int k = 0; k < 10500; ++k) text += std::to_string(k) + " 0 0\n";
  ASSERT_TRUE(plot.loadText(text, false));
  EXPECT_EQ(plot.table().size(), 10000u);
  EXPECT_TRUE(prompter.saw("ERROR", kTooManyStationsText));
}

TEST_F(CrossPlotFixture, PlotNowEmptiesTheListUnlessThePreviousFileIsKept) {
  plot.plotNow();
  EXPECT_TRUE(view.plotted());
  EXPECT_EQ(view.pathCount(), 0u);
  ASSERT_TRUE(plot.loadText("0 0 0\n100 0 0\n", false));
  plot.plotNow();
  plot.plotNow();  // once per loading
  EXPECT_EQ(view.pathCount(), 1u);
  ASSERT_TRUE(plot.loadText("0 0 0\n200 0 0\n", true));
  plot.plotNow();
  EXPECT_EQ(view.pathCount(), 2u);
  ASSERT_TRUE(plot.loadText("0 0 0\n300 0 0\n", false));
  EXPECT_EQ(view.pathCount(), 2u);  // only at the next "Plot Now"
  plot.plotNow();
  EXPECT_EQ(view.pathCount(), 1u);
  EXPECT_FLOAT_EQ(view.settings().depth.final, 300.0f);
}

TEST_F(CrossPlotFixture, SavedPathFileIsTabSeparatedWithCrLf) {
  EXPECT_FALSE(plot.saveFile());  // nothing loaded: no dialog
  EXPECT_TRUE(prompter.fileRequests().empty());
  ASSERT_TRUE(plot.loadText("1000 0 0\n1100 90 90\n", false));
  auto out = paths.base() / "path.las";
  prompter.queueFile(out.string());
  ASSERT_TRUE(plot.saveFile());
  // cos(90 deg) with this value of pi is a hair below zero, and "%0.2f" keeps its sign.
  EXPECT_EQ(readAll(out),
            "DEPTH\tDEVI\tHAZI\tTVD\tNS\tEW\tCLOSURE\tCLOSURE_AZIMUTH\r\n"
            "1000.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\t0.00\r\n"
            "1100.00\t90.00\t90.00\t63.66\t-0.00\t63.66\t63.66\t90.00\r\n");
  EXPECT_FALSE(plot.save(paths.base() / "no-such-folder" / "p.las"));
  EXPECT_TRUE(prompter.saw("ERROR", "Error while writing the well path file"));
}

TEST(CrossPlotSetup, RefusesAFinalValueBelowItsStartAndRestoresTheRanges) {
  ScriptedPrompter prompter;
  PlotSettings current;
  current.east = {-10, 10};
  current.north = {-20, 20};
  current.depth = {0, 1000};
  PlotSettings automatic = current;
  automatic.depth = {0, 500};

  struct Case {
    AxisRange east, north, depth;
    const char* text;  // nullptr: accepted
  };
  const Case cases[] = {
      {{5, 5}, {1, 1}, {7, 7}, nullptr},
      {{5, 4}, {0, 1}, {0, 1}, "East Departure Starting value must be minor than Final value\nCorrect this in order to continue"},
      {{0, 1}, {5, 4}, {0, 1}, "North Departure Starting value must be minor than Final value\nCorrect this in order to continue"},
      {{0, 1}, {0, 1}, {5, 4}, "Depth Starting value must be minor than Final value\nCorrect this in order to continue"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "accepted");
    prompter.clear();
    CCrossPlotSetupDLG dlg(prompter, current, automatic);
    dlg.values.east = c.east;
    dlg.values.north = c.north;
    dlg.values.depth = c.depth;
    dlg.values.verticalGrid = 50;
    bool accepted = dlg.ok();
    EXPECT_EQ(accepted, c.text == nullptr);
    if (c.text) {
      EXPECT_TRUE(prompter.saw("INPUT ERROR", c.text));
      EXPECT_EQ(dlg.values.east, current.east);
      EXPECT_EQ(dlg.values.north, current.north);
      EXPECT_EQ(dlg.values.depth, current.depth);
      EXPECT_EQ(dlg.values.verticalGrid, 50);
    } else {
      EXPECT_TRUE(prompter.messages().empty());
    }
  }
  CCrossPlotSetupDLG dlg(prompter, current, automatic);
  dlg.autoRange();
  EXPECT_EQ(dlg.values.depth, (AxisRange{0, 500}));
}

TEST(DirSurveyReportOptions, DefaultsRoundTripAndRangeChecks) {
  platform::testing::MemorySettings settings;
  ScriptedPrompter prompter;
  CDirSurveyReportOptions options(settings);
  EXPECT_EQ(options.autoDepth, 0);
  EXPECT_EQ(options.depthStart, 100);
  EXPECT_EQ(options.depthIncrement, 100);

  options.autoDepth = 1;
  options.depthStart = 1234.567;
  options.depthIncrement = -30;
  ASSERT_TRUE(options.ok(prompter));
  EXPECT_EQ(settings.getInt("Options", "DS_AutoDepth", -1), 1);
  EXPECT_EQ(settings.getString("Options", "DS_DepthStart", ""), "1234.57");
  EXPECT_EQ(settings.getString("Options", "DS_DepthInc", ""), "-30.00");
  EXPECT_EQ(settings.getInt("Units", "Time", -1), -1);  // the time unit code is left alone

  CDirSurveyReportOptions again(settings);
  EXPECT_EQ(again.autoDepth, 1);
  EXPECT_DOUBLE_EQ(again.depthStart, 1234.57);
  again.depthIncrement = 3000.5;
  EXPECT_FALSE(again.ok(prompter));
  EXPECT_TRUE(prompter.saw("INPUT ERROR", "Enter a number between -3000 and 3000."));
  EXPECT_EQ(settings.getString("Options", "DS_DepthInc", ""), "-30.00");
  again.depthIncrement = 0;
  again.depthStart = -1;
  EXPECT_FALSE(again.ok(prompter));
  EXPECT_TRUE(prompter.saw("INPUT ERROR", "Enter a number between 0 and 50000."));

  settings.setString("Options", "DS_DepthStart", "garbage");
  EXPECT_EQ(CDirSurveyReportOptions(settings).depthStart, 100);
}

}  // namespace
}  // namespace kvr::utilities
