// The header sections and the index column: layout, station-log time units, and STRT, STOP
// and STEP that agree with the lines written.

#include <gmock/gmock.h>

#include "kvr/utilities/LasHeader.h"
#include "kvr/utilities/tests/ConverterFixture.h"
#include "kvr/utilities/tests/LasParser.h"

namespace kvr::utilities::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const std::filesystem::path kData = std::filesystem::path(VAREXA_UTILITIES_TESTS) / "data";

std::string fixture(const std::string& name) { return readAll(kData / name); }

// Reports the first differing line and any difference in length.
void expectSameText(const std::string& actual, const std::string& expected) {
  const auto a = parseLas(actual).lines, e = parseLas(expected).lines;
  for (std::size_t i = 0; i < std::min(a.size(), e.size()); ++i) {
    ASSERT_EQ(a[i], e[i]) << "first difference on line " << i + 1;
  }
  ASSERT_EQ(a.size(), e.size());
  ASSERT_EQ(actual, expected);  // line ends as well
}

class Header : public ConverterTest {};

TEST_F(Header, DefaultLayoutMatchesTheReferenceFile) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i <= 8; ++i) log.addRow(1000.0f + 0.25f * static_cast<float>(i), static_cast<float>(i));
  choose(write(log), {"LSPD", "CCL1", "GR"});
  const auto text = convertToText();
  // VAREXA_WRITE_FIXTURES=1 writes the reference anew, for a deliberate change of layout.
  if (std::getenv("VAREXA_WRITE_FIXTURES"))
    std::ofstream(kData / "brix_down_default.las", std::ios::binary) << text;
  expectSameText(text, fixture("brix_down_default.las"));
}

TEST_F(Header, WithoutHeaderOrCurvesOnlyThoseSectionsGo) {
  auto log = RecordedLog::brix(0, false);
  log.addRow(10.0f, 0);
  choose(write(log), {"GR"});
  converter.fields().header = false;
  auto text = convertToText();
  EXPECT_EQ(text.rfind("#--------------------------------------------------\r\n~CURVE INFORMATION\r\n", 0), 0u);
  EXPECT_THAT(text, HasSubstr("DEPTH     .M          :\r\nGR        .API        :\r\n"));
  EXPECT_THAT(text, HasSubstr("# DEPTH GR\r\n#\r\n~Ascii | Curve\r\n10.00 10.00\r\n"));
  converter.fields().header = true;
  converter.fields().curveNames = false;
  converter.fields().tab = true;
  prompter.queue(platform::Answer::Yes);
  text = convertToText();
  EXPECT_EQ(text.rfind("~VERSION INFORMATION\r\n", 0), 0u);
  EXPECT_THAT(text, HasSubstr("DLM.            TAB   :Column Data Section Delimiter Character\r\n"));
  EXPECT_THAT(text, HasSubstr(":LONGITUDE\r\n10.00\t10.00\r\n"));
  converter.fields().header = false;
  prompter.queue(platform::Answer::Yes);
  EXPECT_EQ(convertToText(), "10.00\t10.00\r\n");
}

TEST_F(Header, StopIsTheLastLineWrittenWhenThePlanOvershootsTheRecording) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i <= 9; ++i) log.addRow(1000.0f + 0.25f * static_cast<float>(i), 0);  // to 1002.25
  choose(write(log), {"GR"});
  converter.fields().final = 1002.6f;  // 2.6 lines round to 3: a planned 1003 the file never reaches
  converter.fields().offset = 5;
  const auto las = parseLas(convertToText());
  ASSERT_EQ(las.rows.size(), 3u);
  EXPECT_EQ(las.rows.back()[0], 1007.0);
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "1005.00");
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "1007.00");
  EXPECT_EQ(las.sections.at('W').at("STEP").value, "1.0000");
  EXPECT_EQ(converter.plannedLines(), 4);
  EXPECT_EQ(converter.lastResult().linesWritten, 3);
}

TEST_F(Header, AHeaderValueThatOutgrowsItsFieldIsRewrittenWhole) {
  auto log = RecordedLog::brix(0, true);
  log.addRow(99999997952.0f, 0);  // floats this large are 8192 apart
  choose(write(log), {"GR"});
  converter.fields().stepIndex = 0;            // "30 ft"
  converter.fields().final = 100000006144.0f;  // planned STOP "100000006142.00" is 15 characters
  const auto text = convertToText();
  const auto las = parseLas(text);
  ASSERT_EQ(las.rows.size(), 1u) << text;
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "99999997952.00");
  EXPECT_THAT(text, HasSubstr("STOP .FT     99999997952.00 :STOP DEPTH\r\n"));
  EXPECT_THAT(text, HasSubstr("~Ascii | Curve\r\n99999997952.00 10.00\r\n"));
  EXPECT_FALSE(std::filesystem::exists(converter.fields().outputFile + ".tmp"));
}

class StationHeader : public ConverterTest {
 protected:
  StationHeader() : ConverterTest(21) {}  // system time unit: Minute
};

TEST_F(StationHeader, TimesAreShownAndWrittenInTheSystemTimeUnit) {
  auto log = RecordedLog::brix(2, true);
  log.startDepth = 1234.5f;
  for (int i = 0; i <= 1440; ++i) log.addRow(0.125f * static_cast<float>(i), 0);  // 3 minutes
  choose(write(log, "BRIX_STATION"), {"DEPTH", "TENS"});
  const auto labels = converter.labels();
  EXPECT_EQ(labels.step, "Time Step:");
  EXPECT_EQ(labels.start, "Start Time");
  EXPECT_EQ(labels.offset, "Time Offset");
  EXPECT_EQ(labels.unit, "Min");
  EXPECT_STREQ(converter.steps()[static_cast<std::size_t>(converter.fields().stepIndex)].text, "1 sec");
  EXPECT_EQ(converter.fields().final, 3.0f);
  converter.fields().stepIndex = 6;  // "1 min"
  converter.fields().offset = 10;
  const auto text = convertToText();
  const auto las = parseLas(text);
  EXPECT_THAT(las.curves, ElementsAre("TIME", "DEPTH", "TENS"));
  EXPECT_EQ(las.units[0], "S");
  ASSERT_EQ(las.rows.size(), 4u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(las.rows[k][0], 10.0 + static_cast<double>(k));
    EXPECT_EQ(las.rows[k][1], 1234.5);  // the depth channel holds the depth at the start of the log
  }
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "10.00");
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "13.00");
  EXPECT_EQ(las.sections.at('W').at("STEP").value, "1.0000");
  EXPECT_THAT(text, HasSubstr("# TIME DEPTH TENS\r\n"));
}

TEST_F(StationHeader, StartBeforeTheFirstTimeIsSetBack) {
  auto log = RecordedLog::brix(2, true);
  for (int i = 0; i <= 16; ++i) log.addRow(60.0f + 0.125f * static_cast<float>(i), 0);
  choose(write(log, "BRIX_STATION"), {"TENS"});
  converter.fields().start = 0.5f;  // minutes: before the first row at 1 min
  convertToText();
  EXPECT_TRUE(prompter.saw("MESSAGE",
                           "The Starting Time you have specified goes beyond the file limits !\nIt will be set back to the "
                           "original limit !"));
  EXPECT_EQ(converter.fields().start, 1.0f);
}

TEST(CreationText, IsTheCLocaleDateAndTime) {
  EXPECT_EQ(creationText(2024, 1, 1, 10, 0, 0), "Mon, Jan 01, 2024 - 10:00:00");
  EXPECT_EQ(creationText(2026, 2, 28, 23, 59, 7), "Sat, Feb 28, 2026 - 23:59:07");
}

}  // namespace
}  // namespace kvr::utilities::testing
