// Strict LAS 2.0 output, and the checker that lists every departure from LAS 2.0.

#include <gmock/gmock.h>

#include "kvr/utilities/LasCheck.h"
#include "kvr/utilities/tests/ConverterFixture.h"
#include "kvr/utilities/tests/LasParser.h"

namespace kvr::utilities::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string report(const LasCheckReport& r) {
  std::string s;
  for (const auto& d : r.departures) s += std::to_string(d.line) + ": " + d.text + "\n";
  return s;
}

class Strict : public ConverterTest {
 protected:
  Strict() : ConverterTest(21) {}  // minutes
};

TEST_F(Strict, ConvertedFilesConformInEveryLayout) {
  auto down = RecordedLog::brix(0, false);
  for (int i = 0; i <= 40; ++i) down.addRow(100.0f + 0.1f * static_cast<float>(i), 7.25f * static_cast<float>(i));
  down.rows[3][10] = std::numeric_limits<float>::quiet_NaN();
  down.job.wellName = "W:1\tEAST";  // a colon and a control byte in a header value
  auto up = RecordedLog::brix(1, true);
  for (int i = 0; i <= 40; ++i) up.addRow(2000.0f - 0.25f * static_cast<float>(i), static_cast<float>(i));
  auto station = RecordedLog::brix(2, true);
  for (int i = 0; i <= 800; ++i) station.addRow(0.125f * static_cast<float>(i), static_cast<float>(i));

  struct Case {
    RecordedLog* log;
    int stepIndex;
    bool wrapped, tab;
    int digits;
  };
  const Case cases[] = {{&down, 5, false, false, 2}, {&down, 6, true, true, 1}, {&up, 6, false, false, 1},
                        {&station, 12, false, false, 2},   // 1 sec: no whole count of 0.0001 min, written in seconds
                        {&station, 7, true, false, 3}};    // 30 sec = 0.5 min
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(n);
    prompter.queue(platform::Answer::No);  // keep the channels?
    choose(write(*c.log, "LOG" + std::to_string(n++)));
    selectAll();
    converter.fields().strictLas2 = true;
    converter.fields().stepIndex = c.stepIndex;
    converter.fields().wrapped = c.wrapped;
    converter.fields().tab = c.tab;
    converter.fields().digits = c.digits;
    converter.fields().mergeCcl = true;
    converter.fields().header = false;  // strict writes every section all the same
    const auto text = convertToText();
    const auto r = checkLas2(text);
    EXPECT_TRUE(r.conforms()) << report(r) << text.substr(0, 3000);
    EXPECT_GT(r.dataSteps, 1u);
    const auto las = parseLas(text);
    EXPECT_EQ(las.sections.at('V').at("VERS").value, "2.0");
    EXPECT_EQ(las.sections.at('W').at("NULL").value, "-999.25");
  }
}

TEST_F(Strict, StationIndexInTheTimeUnitWhenTheStepAllowsIt) {
  auto station = RecordedLog::brix(2, true);
  for (int i = 0; i <= 1000; ++i) station.addRow(0.125f * static_cast<float>(i), 0);
  choose(write(station), {"TENS"});
  converter.fields().strictLas2 = true;
  converter.fields().stepIndex = 8;  // "20 sec": 0.3333 min is no exact text
  converter.fields().offset = 1;     // minutes
  auto las = parseLas(convertToText());
  EXPECT_EQ(las.units[0], "S");
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "60.00");
  EXPECT_EQ(las.sections.at('W').at("STEP").value, "20.00");
  converter.fields().stepIndex = 7;  // "30 sec"
  prompter.queue(platform::Answer::Yes);
  las = parseLas(convertToText());
  EXPECT_EQ(las.units[0], "MIN");
  EXPECT_EQ(las.sections.at('W').at("STRT").value, "1.00");
  EXPECT_EQ(las.sections.at('W').at("STOP").value, "3.00");  // 125 s of rows: the last line at 120 s
  EXPECT_EQ(las.sections.at('W').at("STEP").value, "0.50");
}

TEST_F(Strict, TheDefaultLayoutIsNoStrictLas2) {
  auto log = RecordedLog::brix(0, true);
  for (int i = 0; i <= 4; ++i) log.addRow(1000.0f + static_cast<float>(i), 0);
  choose(write(log), {"GR"});
  converter.fields().tab = true;
  const auto r = checkLas2(convertToText());
  const auto text = report(r);
  EXPECT_THAT(text, HasSubstr("2: VERS is \"3.0\", not 2.0"));
  EXPECT_THAT(text, HasSubstr("tab character"));
}

// Hand-made files: one departure each, with its line.
TEST(LasCheck, ListsEachDepartureWithItsLine) {
  const std::string good =
      "~V\r\n VERS. 2.0 : v\r\n WRAP. NO : w\r\n~W\r\n STRT.M 1.0 : s\r\n STOP.M 2.0 : s\r\n STEP.M 0.5 : s\r\n"
      " NULL. -999.25 : n\r\n COMP. A : c\r\n WELL. B : w\r\n FLD. C : f\r\n LOC. D : l\r\n PROV. E : p\r\n"
      " SRVC. F : s\r\n DATE. 2024 : d\r\n UWI. 1 : u\r\n~C\r\n DEPT.M : d\r\n GR.API : g\r\n~A\r\n"
      "1.0 10\r\n1.5 11\r\n2.0 12\r\n";
  EXPECT_TRUE(checkLas2(good).conforms()) << report(checkLas2(good));
  struct Case {
    std::string from, to;
    const char* expected;
  };
  const Case cases[] = {
      {"1.5 11\r\n", "1.5 11\n", "22: line ends without CR LF"},
      {" VERS. 2.0", " VERS. 3.0", "2: VERS is \"3.0\""},
      {" WRAP. NO", " WRAP. MAYBE", "3: WRAP is \"MAYBE\""},
      {" STOP.M 2.0", " STOP.M 2.5", "6: STOP 2.5 differs from the last index value on line 23"},
      {" STEP.M 0.5", " STEP.M 0.25", "22: index steps by 0.5 from line 21"},
      {" STEP.M 0.5", " STEP.FT 0.5", "7: STEP unit \"FT\" differs from the index curve's \"M\""},
      {" UWI. 1 : u\r\n", "", "4: the ~W section lacks UWI (or API)"},
      {" PROV. E : p\r\n", "", "4: the ~W section lacks PROV (or CNTY, STAT and CTRY)"},
      {" DEPT.M : d", " GR.M : d", "19: curve \"GR\" is named twice"},
      {"1.5 11\r\n", "1.5 11 13\r\n", "22: 3 values where the curve section names 2"},
      {"1.5 11\r\n", "1.5 x1\r\n", "22: value \"x1\" is not a number"},
      {"1.5 11\r\n", "1.5\t11\r\n", "22: tab character"},
      {"1.5 11\r\n", "\r\n1.5 11\r\n", "22: blank line in the ~A section"},
      {"~V\r\n", "~W\r\n", "1: the first section must be ~V"},
      {"2.0 12\r\n", "2.0 12\r\n~O\r\n", "24: section after ~A"},
      {" COMP. A : c", " COMP A c", "9: header line without the period"},
      {"~A\r\n", "~Q\r\n", "unknown section \"~Q\""},
  };
  for (const auto& c : cases) {
    std::string text = good;
    const auto at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
    EXPECT_THAT(report(checkLas2(text)), HasSubstr(c.expected)) << c.to;
  }
}

TEST(LasCheck, WrappedDataKeepTheIndexAloneAndWithin80Characters) {
  const std::string head =
      "~V\r\n VERS. 2.0 : v\r\n WRAP. YES : w\r\n~W\r\n STRT.M 1 : s\r\n STOP.M 2 : s\r\n STEP.M 1 : s\r\n"
      " NULL. -999.25 : n\r\n COMP. : c\r\n WELL. : w\r\n FLD. : f\r\n LOC. : l\r\n PROV. : p\r\n SRVC. : s\r\n"
      " DATE. : d\r\n API. : a\r\n~C\r\n DEPT.M : d\r\n A. : a\r\n B. : b\r\n C. : c\r\n~A\r\n";
  EXPECT_TRUE(checkLas2(head + "1\r\n10 11\r\n12\r\n2\r\n20 21 22\r\n").conforms());
  EXPECT_THAT(report(checkLas2(head + "1 10\r\n11 12\r\n2\r\n20 21 22\r\n")), HasSubstr("23: wrapped data: the index"));
  EXPECT_THAT(report(checkLas2(head + "1\r\n10 11 12 13\r\n")), HasSubstr("24: wrapped data: more values"));
  EXPECT_THAT(report(checkLas2(head + "1\r\n10\r\n")), HasSubstr("23: wrapped data: the step of this line lacks"));
  EXPECT_THAT(report(checkLas2(head + "1\r\n" + std::string(79, ' ') + "10 11 12\r\n2\r\n1 2 3\r\n")),
              HasSubstr("24: wrapped data line longer than 80"));
}

TEST(LasCheck, RepeatsPastTheCapAreCounted) {
  std::string text = "~V\n";
  for (int i = 0; i < 30; ++i) text += "# comment\n";
  const auto r = checkLas2(text);
  EXPECT_THAT(report(r), HasSubstr("0: 11 more departures of the kind \"line end\""));
}

}  // namespace
}  // namespace kvr::utilities::testing
