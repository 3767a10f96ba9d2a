// The memory gauge's rules without the link: the job table, the program reader, the date
// picker's limits, and the conversion with its inverse.

#include <gtest/gtest.h>

#include <array>

#include "kvr/gauge/CDatePickerDlg.h"
#include "kvr/gauge/GaugeJobs.h"
#include "toolslib/vunt/GaugeRecords.h"

namespace kvr::gauge {
namespace {

std::array<std::uint16_t, 16> table(std::initializer_list<std::uint16_t> words) {
  std::array<std::uint16_t, 16> t{};
  std::copy(words.begin(), words.end(), t.begin());
  return t;
}

TEST(GaugeJobs, JobsRunToTheFirstZeroOrNonIncreasingWord) {
  struct Case {
    std::initializer_list<std::uint16_t> words;
    std::vector<std::pair<int, std::uint32_t>> jobs;  // start page, samples
  };
  const Case cases[] = {
      {{12, 30}, {{0, 1260}, {12, 1890}}},
      {{}, {}},
      {{5, 5, 9}, {{0, 525}}},           // a repeated word would be a job of no samples
      {{20, 10, 30}, {{0, 2100}}},       // a falling word would be a negative count
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, {{0, 105}, {1, 105}, {2, 105}, {3, 105}, {4, 105}, {5, 105},
                                                  {6, 105}, {7, 105}, {8, 105}, {9, 105}}},
  };
  for (const auto& c : cases) {
    const auto jobs = listJobs(table(c.words));
    ASSERT_EQ(jobs.size(), c.jobs.size());
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      EXPECT_EQ(jobs[i].startPage, c.jobs[i].first);
      EXPECT_EQ(jobs[i].samples, c.jobs[i].second);
    }
  }
}

TEST(GaugeJobs, StatusCountsTheLeadingWordsAndTheLastAllocatedPage) {
  EXPECT_EQ(recordedJobCount(table({12, 30})), 2);
  EXPECT_EQ(allocatedSamples(table({12, 30})), 30u * 105);
  EXPECT_EQ(recordedJobCount(table({7})), 1);
  EXPECT_EQ(allocatedSamples(table({7})), 7u * 105);
  EXPECT_EQ(recordedJobCount(table({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})), 10);
  EXPECT_EQ(allocatedSamples(table({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12})), 10u * 105);
  EXPECT_EQ(recordedJobCount(table({})), 0);
}

TEST(GaugeJobs, TheProgramIsReadOnlyToItsUploadedLength) {
  const std::uint8_t buffer[12] = {0x00, 0x05, 0x00, 0x00, 0, 0x01, 0x2C, 0x00, 0x0A, 0, 0x12, 0x34};
  ProgramReader whole(buffer, 10);
  const auto a = whole.next(), b = whole.next();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->minutes, 5);
  EXPECT_EQ(a->intervalS, 0);
  EXPECT_EQ(b->minutes, 300);
  EXPECT_EQ(b->intervalS, 10);
  EXPECT_FALSE(whole.next());  // two bytes past the end are no entry
  ProgramReader cut(buffer, 7);
  EXPECT_TRUE(cut.next());
  EXPECT_FALSE(cut.next());
  ProgramReader beyond(buffer, 1000);  // a length beyond the buffer stops at the buffer
  EXPECT_TRUE(beyond.next() && beyond.next());
  EXPECT_FALSE(beyond.next());
}

TEST(DatePicker, KeepsTheDayAndTimeInsideTheRangeOfTheFileValues) {
  CDatePickerDlg picker({2026, 12, 11, 9, 30, 15});
  EXPECT_EQ(picker.picked().date, 1796947200u);  // 2026-12-11 00:00 UTC
  EXPECT_EQ(picker.picked().time, 1796947200u + 9 * 3600 + 30 * 60 + 15);
  struct Case {
    int y, m, d;
    bool ok;
  };
  const Case dates[] = {{1970, 1, 1, true},   {1969, 12, 31, false}, {2105, 12, 31, true}, {2106, 1, 1, false},
                        {2024, 2, 29, true},  {2100, 2, 29, false},  {2026, 4, 31, false}, {2026, 13, 1, false},
                        {2026, 0, 10, false}, {2026, 5, 0, false}};
  for (const auto& c : dates) {
    CDatePickerDlg p({2026, 6, 1});
    EXPECT_EQ(p.setDate(c.y, c.m, c.d), c.ok) << c.y << "-" << c.m << "-" << c.d;
    if (!c.ok) {
      EXPECT_EQ(p.day(), 1);
    }
  }
  CDatePickerDlg last({2105, 12, 31, 23, 59, 59});
  EXPECT_EQ(last.picked().time, 4291747199u);  // the latest value still fits 32 bits
  EXPECT_TRUE(picker.setTime(23, 59, 59));
  EXPECT_FALSE(picker.setTime(24, 0, 0));
  EXPECT_FALSE(picker.setTime(12, 60, 0));
  EXPECT_FALSE(picker.setTime(-1, 0, 0));
  EXPECT_EQ(picker.hour(), 23);
  CDatePickerDlg future({2200, 1, 1});  // a clock past the range opens on its last day
  EXPECT_EQ(future.year(), 2105);
}

TEST(GaugeConversion, TheEncodedCountsReadBackToTheNearestValue) {
  namespace v = tools::vunt;
  const auto cal = v::makeCalibration({}, 24017, 3);
  EXPECT_EQ(v::calibrationDouble(cal, v::kSerialOffset), 24017);
  for (double psi : {14.7, 1234.5678, 4450.0, 9999.99}) {
    for (double degC : {25.0, 95.123, 150.0}) {
      const auto raw = v::encodeSample(cal, psi, degC);
      double p = raw.pressure, t = raw.temperature;
      VUNTCalculaValorCalibrado(&p, &t, &cal);
      EXPECT_NEAR(t, degC, 0.002 + 1e-9);
      EXPECT_NEAR(p, psi, 0.0006 + 1e-9);
    }
  }
  EXPECT_FALSE(v::isEndMarker(v::encodeSample(cal, 1e9, 1e9)));  // clamped, never the marker
}

}  // namespace
}  // namespace kvr::gauge

#include "kvr/gauge/CDataLatchTaskPanel.h"
#include "kvr/gauge/GaugeTexts.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr::gauge {
namespace {

TEST(DataLatchStatus, TheStatusLineFollowsTheLinkBitTheModeAndTheRetries) {
  struct Case {
    std::uint8_t control;
    bool retrying;
    const char* text;
    platform::Colour colour;
    const char* pressure;
  };
  const platform::Colour red = rgb(255, 0, 0), yellow = rgb(255, 255, 0), green = rgb(0, 255, 0), blue = rgb(0, 0, 255);
  const Case cases[] = {
      {0x00, false, text::kLinkDown, red, "-"},           {0x08, false, text::kModes[1], yellow, "-"},
      {0x10, false, text::kLinkDown, red, "4321.57"},     {0x30, true, text::kLinkDown, red, "-"},
      {0x88, false, text::kLinkUp, green, "-"},           {0x90, false, text::kModes[2], green, "4321.57"},
      {0xA8, true, text::kModes[5], blue, "-"},           {0xB0, true, text::kModes[6], blue, "-"},
      {0xA8, false, text::kModes[5], green, "-"},         {0xB8, true, text::kModes[7], green, "-"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.control));
    platform::testing::ManualLoop loop;
    platform::testing::ScriptedPrompter prompter;
    tools::Globals g;
    CDataLatchTaskPanel panel({loop, prompter, g, nullptr});
    EXPECT_EQ(panel.pressureText(), "14.70");
    EXPECT_EQ(panel.temperatureText(), "25.0");
    g.VUNTPressure = 4321.567;
    g.VUNTTemperature = 95.04;
    if (c.retrying) {
      // A half that stalls part way makes the panel ask for it again (0x70).
      g.VUNTControl = 0x88;
      panel.requestFirstPage(0);
      loop.advance(100);
      g.VUNTDataTransferStatus = 1;
      loop.advance(2500);
      ASSERT_TRUE(panel.retrying());
    }
    g.VUNTControl = c.control;
    loop.advance(100);
    EXPECT_EQ(panel.status().text, c.text);
    EXPECT_EQ(panel.status().colour, c.colour);
    EXPECT_EQ(panel.pressureText(), c.pressure);
    EXPECT_EQ(panel.temperatureText(), std::string(c.pressure) == "-" ? "-" : "95.0");
  }
}

}  // namespace
}  // namespace kvr::gauge
