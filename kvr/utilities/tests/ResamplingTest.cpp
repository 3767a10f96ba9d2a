// Which recorded row each output line takes, and how its values are written.

#include <gmock/gmock.h>

#include "kvr/utilities/LasFilter.h"
#include "kvr/utilities/tests/ConverterFixture.h"
#include "kvr/utilities/tests/LasParser.h"

namespace kvr::utilities::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

// The data lines of a converted file (everything after the curve section).
std::vector<std::string> dataLines(const std::string& las) {
  const auto at = las.find("~Ascii | Curve\r\n");
  std::vector<std::string> lines;
  std::istringstream in(at == std::string::npos ? las : las.substr(at + 16));
  for (std::string l; std::getline(in, l);) lines.push_back(l.substr(0, l.size() - (l.back() == '\r')));
  return lines;
}

class Resampling : public ConverterTest {};

TEST_F(Resampling, DownLogTakesTheFirstRowThatReachesEachDepth) {
  auto log = RecordedLog::brix(0, true);
  for (float d = 1000.0f; d <= 1002.0f; d += 0.25f) log.addRow(d, d * 100);
  choose(write(log), {"GR"});
  converter.fields().start = 1000;
  EXPECT_THAT(dataLines(convertToText()), ElementsAre("1000.00 100010.00", "1001.00 100110.00", "1002.00 100210.00"));
  EXPECT_TRUE(prompter.saw("MESSAGE", "Convertion has successfully finished"));
}

TEST_F(Resampling, AGapRepeatsTheRowThatEndsIt) {
  auto log = RecordedLog::brix(0, true);
  log.addRow(1000.0f, 1);
  log.addRow(1003.0f, 2);
  choose(write(log), {"TENS"});
  EXPECT_THAT(dataLines(convertToText()), ElementsAre("1000.00 3.00", "1001.00 4.00", "1002.00 4.00", "1003.00 4.00"));
}

TEST_F(Resampling, UpLogRunsFromTheDeepestDepthWithANegativeStep) {
  auto log = RecordedLog::brix(1, true);
  for (float d = 1002.0f; d >= 1000.0f; d -= 0.25f) log.addRow(d, d);
  choose(write(log), {"TENS"});
  EXPECT_EQ(converter.fields().start, 1002.0f);
  EXPECT_EQ(converter.fields().final, 1000.0f);
  const auto las = parseLas(convertToText());
  ASSERT_EQ(las.rows.size(), 3u);
  EXPECT_THAT(las.rows[0], ElementsAre(1002.0, 1004.0));
  EXPECT_THAT(las.rows[2], ElementsAre(1000.0, 1002.0));
  EXPECT_EQ(las.sections.at('W').at("STEP").value, "-1.0000");
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "1002.00");
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "1000.00");
}

TEST_F(Resampling, MetricDepthsRecordedAsFloatsStillMeetTheirLines) {
  auto log = RecordedLog::brix(0, false);
  for (int i = 0; i <= 30; ++i) log.addRow(500.0f + 0.1f * static_cast<float>(i), static_cast<float>(i));
  choose(write(log), {"TENS"});
  converter.fields().stepIndex = 6;  // "0.1 m"
  const auto las = parseLas(convertToText());
  ASSERT_EQ(las.rows.size(), 31u);
  for (int i = 0; i <= 30; ++i) EXPECT_EQ(las.rows[static_cast<std::size_t>(i)][1], i + 2.0) << i;
}

// The spike limit is 250 m/min, compared in the channel's own unit (49,212 ft/h).
TEST_F(Resampling, LineSpeedSpikesKeepTheLastSoundValue) {
  struct Case {
    bool english;
    float speeds[5];
    std::vector<double> written;
  };
  const Case cases[] = {
      {false, {40, 300, 50, -260, -250}, {40, 40, 50, 50, -250}},
      {true, {1800, 50000, 1750, -49213, -49212}, {1800, 1800, 1750, 1750, -49212}},
  };
  for (const auto& c : cases) {
    auto log = RecordedLog::brix(0, c.english);
    for (int i = 0; i < 5; ++i) {
      log.addRow(1000.0f + static_cast<float>(i), 0);
      log.rows.back()[1] = c.speeds[i];
    }
    choose(write(log, c.english ? "ENGLISH_DOWN" : "METRIC_DOWN"), {"LSPD"});
    converter.fields().customStep = 1.0;
    const auto las = parseLas(convertToText());
    std::vector<double> written;
    for (const auto& r : las.rows) written.push_back(r[1]);
    EXPECT_EQ(written, c.written) << (c.english ? "English" : "metric");
  }
}

TEST_F(Resampling, MergedCclWritesTheReadingFarthestFrom127) {
  auto log = RecordedLog::brix(0, true);
  const float ccl[][4] = {{127, 130, 124, 120},       // 120 is 7 away
                          {130.7f, 124.2f, 127, 127}, // 130 and 124 tie: the earlier
                          {127.9f, 127, 127.5f, 126.9f}};  // truncated: 127, 127, 127, 126
  for (int i = 0; i < 3; ++i) {
    log.addRow(1000.0f + static_cast<float>(i), 0);
    std::copy(ccl[i], ccl[i] + 4, log.rows.back().begin() + 6);
  }
  choose(write(log), {"CCL1", "GR"});
  converter.fields().mergeCcl = true;
  const auto text = convertToText();
  const auto las = parseLas(text);
  EXPECT_THAT(las.curves, ElementsAre("DEPTH", "CCL", "GR"));
  EXPECT_THAT(dataLines(text), ElementsAre("1000.00 120.00 10.00", "1001.00 130.00 10.00", "1002.00 126.00 10.00"));
  // Off: "CCL1" is a channel like any other.
  converter.fields().mergeCcl = false;
  prompter.queue(platform::Answer::Yes);  // overwrite
  EXPECT_THAT(dataLines(convertToText())[1], "1001.00 130.70 10.00");
}

TEST_F(Resampling, FilterAveragesTheLastWindowOfRecordedRows) {
  auto log = RecordedLog::brix(0, true);
  const float gr[] = {10, 20, 30, 40, 50};
  for (int i = 0; i < 5; ++i) {
    log.addRow(1000.0f + 0.5f * static_cast<float>(i), 0);
    log.rows.back()[10] = gr[i];
  }
  choose(write(log), {"TENS", "GR"});
  converter.fields().stepIndex = 5;  // "0.5 ft": every row
  auto& f = converter.fields().filter;
  f.active = true;
  f.mode = FilterSettings::Mode::ItemCount;
  f.itemCount = 3;
  f.channels = {"GR"};
  const auto las = parseLas(convertToText());
  std::vector<double> grOut, tens;
  for (const auto& r : las.rows) grOut.push_back(r[2]), tens.push_back(r[1]);
  EXPECT_THAT(grOut, ElementsAre(10, 15, 20, 30, 40));  // one value, then the means of up to 3
  EXPECT_THAT(tens, ElementsAre(2, 2, 2, 2, 2));        // not chosen: untouched
}

TEST_F(Resampling, FilterSeesRowsTheOutputSkips) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i < 8; ++i) {
    log.addRow(1000.0f + 0.25f * static_cast<float>(i), 0);
    log.rows.back()[10] = static_cast<float>(i);  // GR 0..7
  }
  choose(write(log), {"GR"});
  auto& f = converter.fields().filter;
  f.active = true;
  f.mode = FilterSettings::Mode::Interval;
  f.distanceInterval = 0.75f;  // 3 rows of 0.25 ft
  f.channels = {"GR"};
  const auto las = parseLas(convertToText());
  ASSERT_EQ(las.rows.size(), 2u);
  EXPECT_EQ(las.rows[1][1], 3.0);  // the row at 1001: mean of 2, 3 and 4
}

TEST(FilterWindow, FollowsTheModeAndTheRecordingStep) {
  struct Case {
    FilterSettings::Mode mode;
    float distance, time;
    int count;
    bool english, station;
    int window;
  };
  const Case cases[] = {
      {FilterSettings::Mode::ItemCount, 1, 1, 7, true, false, 7},
      {FilterSettings::Mode::Interval, 0.75f, 1, 5, true, false, 3},   // / 0.25 ft
      {FilterSettings::Mode::Interval, 0.25f, 1, 5, false, false, 3},  // / 0.1 m = 2.5, rounded
      {FilterSettings::Mode::Interval, 1, 1.0f, 5, false, true, 5},    // / 0.2 s
  };
  for (const auto& c : cases) {
    FilterSettings f;
    f.mode = c.mode;
    f.distanceInterval = c.distance;
    f.timeInterval = c.time;
    f.itemCount = c.count;
    EXPECT_EQ(filterWindow(f, c.english, c.station), c.window);
  }
  FilterSettings f;
  f.distanceInterval = 100;
  f.timeInterval = 0.1f;
  f.itemCount = 1;
  f.clamp(false);
  EXPECT_EQ(f.distanceInterval, 10.0f);
  EXPECT_EQ(f.timeInterval, 0.4f);
  EXPECT_EQ(f.itemCount, 2);
}

TEST_F(Resampling, AMissingReadingIsWrittenAsTheNullValue) {
  auto log = RecordedLog::brix(0, true);
  log.addRow(1000.0f, 0);
  log.rows.back()[10] = std::numeric_limits<float>::quiet_NaN();
  choose(write(log), {"GR"});
  EXPECT_THAT(dataLines(convertToText()), ElementsAre("1000.00 -100000000.00"));
}

TEST_F(Resampling, SeparatorDigitsAndStartOutsideTheFile) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i < 3; ++i) log.addRow(1000.0f + static_cast<float>(i), 0.123456f);
  choose(write(log), {"TENS", "GR"});
  converter.fields().start = 990;  // before the first row of a down log
  converter.fields().digits = 4;
  converter.fields().tab = true;
  EXPECT_THAT(dataLines(convertToText()),
              ElementsAre("1000.0000\t2.1235\t10.1235", "1001.0000\t2.1235\t10.1235", "1002.0000\t2.1235\t10.1235"));
  EXPECT_TRUE(prompter.saw("MESSAGE",
                           "The Starting Depth you have specified goes beyond the file limits !\nIt will be set back to "
                           "the original limit !"));
  EXPECT_EQ(converter.fields().start, 1000.0f);
  converter.fields().tab = false;
  converter.fields().spaces = 3;
  converter.fields().digits = 1;
  prompter.queue(platform::Answer::Yes);
  EXPECT_THAT(dataLines(convertToText())[0], "1000.0   2.1   10.1");
}

TEST_F(Resampling, WrappedRowsPutTheIndexAloneAndKeepLinesWithin80Characters) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i < 4; ++i) log.addRow(1000.0f + static_cast<float>(i), 123456.789f);
  choose(write(log));
  selectAll();
  converter.fields().wrapped = true;
  converter.fields().digits = 4;
  const auto text = convertToText();
  const auto lines = dataLines(text);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], "1000.0000");
  for (const auto& l : lines) EXPECT_LE(l.size(), 80u) << l;
  EXPECT_NE(lines[1].front(), ' ');
  const auto las = parseLas(text);
  EXPECT_EQ(las.sections.at('V').at("WRAP").value, "YES");
  ASSERT_EQ(las.rows.size(), 4u);
  EXPECT_EQ(las.rows[3][0], 1003.0);
  EXPECT_NEAR(las.rows[3][11], 123456.789 + 10, 1e-3);
}

}  // namespace
}  // namespace kvr::utilities::testing
