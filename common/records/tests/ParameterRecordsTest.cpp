#include <gtest/gtest.h>

#include "Bytes.h"
#include "common/records/SysParameter.h"
#include "common/records/SystemMode.h"
#include "common/records/ToolParameter.h"

using namespace bytes_test;
using records::SysParameterS;
using records::ToolParameterS;

namespace {

ToolParameterS sampleToolParameter() {
  ToolParameterS p;
  p.mnemonic = "GAIN12345";  // full width: 9 characters and the NUL
  p.description = std::string(79, 'd');
  p.value = 1.5f;
  p.unit = "mV";
  p.messageLength = 4;
  for (std::size_t i = 0; i < 36; ++i) p.message[i] = static_cast<std::uint8_t>(0xA0 + i);
  p.encoding = 5;
  p.choiceCount = 10;
  p.selectedChoice = 9;
  for (std::size_t i = 0; i < 10; ++i) {
    p.choiceTexts[i] = std::string(i == 9 ? 19 : 1, static_cast<char>('A' + i));
    p.choiceValues[i] = static_cast<float>(i) + 0.5f;
  }
  return p;
}

Bytes sampleToolParameterBytes() {
  Bytes b(388, 0);
  placeText(b, 0, "GAIN12345");
  placeText(b, 10, std::string(79, 'd').c_str());
  place(b, 92, {0, 0, 0xC0, 0x3F});  // 1.5
  placeText(b, 96, "mV");
  place(b, 106, {4});
  for (std::size_t i = 0; i < 36; ++i) b[107 + i] = static_cast<std::uint8_t>(0xA0 + i);
  place(b, 143, {5, 10, 9});
  for (std::size_t i = 0; i < 10; ++i) {
    placeText(b, 146 + 20 * i, std::string(i == 9 ? 19 : 1, static_cast<char>('A' + i)).c_str());
    placeF32(b, 348 + 4 * i, static_cast<float>(i) + 0.5f);
  }
  return b;
}

}  // namespace

TEST(ToolParameterS, EveryFieldAtItsOffsetBothWays) {
  Bytes got(388, 0xEE);
  records::encode(sampleToolParameter(), got.data());
  const Bytes want = sampleToolParameterBytes();
  EXPECT_TRUE(sameBytes(got, want));
  EXPECT_EQ(records::decodeToolParameter(want.data()), sampleToolParameter());
}

TEST(ToolParameterS, EmptyRecordIsAllZero) {
  Bytes got(388, 0xEE);
  records::encode(ToolParameterS{}, got.data());
  EXPECT_TRUE(sameBytes(got, Bytes(388, 0)));
}

TEST(ToolCalS, NameIsLeadingTextAndTheRestIsKept) {
  records::ToolCalS cal;
  for (std::size_t i = 0; i < cal.bytes.size(); ++i) cal.bytes[i] = static_cast<std::uint8_t>(i + 1);
  cal.setName("CAL-A");
  EXPECT_EQ(cal.name(), "CAL-A");
  EXPECT_EQ(cal.bytes[5], 0);
  EXPECT_EQ(cal.bytes[6], 7);  // the library's bytes behind the name are untouched
  EXPECT_EQ(cal.bytes[83], 84);
  cal.setName(std::string(100, 'x'));
  EXPECT_EQ(cal.name().size(), 83u);
}

TEST(SysParameterS, EveryFieldAtItsOffsetBothWays) {
  SysParameterS p;
  p.code = "SIMSTARTD";
  p.name = std::string(79, 'n');
  p.value = -6000.0f;
  p.unit = "m";
  p.type = 1;
  p.choiceCount = 2;
  p.selectedChoice = 1;
  p.choiceTexts[0] = "NO";
  p.choiceTexts[9] = std::string(19, 'z');
  p.choiceValues[0] = 0.25f;
  p.choiceValues[9] = 1e30f;

  Bytes want(352, 0);
  placeText(want, 0, "SIMSTARTD");
  placeText(want, 10, std::string(79, 'n').c_str());
  place(want, 92, {0, 0x80, 0xBB, 0xC5});  // -6000
  placeText(want, 96, "m");
  place(want, 106, {1, 2, 1});
  placeText(want, 109, "NO");
  placeText(want, 109 + 180, std::string(19, 'z').c_str());
  place(want, 312, {0, 0, 0x80, 0x3E});  // 0.25
  placeF32(want, 348, 1e30f);

  Bytes got(352, 0xEE);
  records::encode(p, got.data());
  EXPECT_TRUE(sameBytes(got, want));
  EXPECT_EQ(records::decodeSysParameter(want.data()), p);
}

TEST(SysParameterS, StartStampFillsTheSevenFreeSlotsOfSimStartDepth) {
  auto table = records::defaultSystemParameters(records::kDefaultModeWord);
  auto& sim = table[records::kSimStartDepth];
  records::putStartStamp(sim, {13, 45, 30, 29, 2, 2024, 1234.5f});
  Bytes got(352);
  records::encode(sim, got.data());
  Bytes slots(got.begin() + 312, got.begin() + 340);
  Bytes want(28, 0);
  const float v[] = {13, 45, 30, 29, 2, 2024, 1234.5f};
  for (int i = 0; i < 7; ++i) placeF32(want, 4 * i, v[i]);
  EXPECT_TRUE(sameBytes(slots, want));
  EXPECT_EQ(got[340], 0);
  auto back = records::getStartStamp(records::decodeSysParameter(got.data()));
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.depth, 1234.5f);
  EXPECT_EQ(back.minute, 45);
}

TEST(SystemParameterTable, ElevenRecordsWithTheirDefaults) {
  struct Row { const char* code; const char* name; int type; float en, me; const char* enUnit; const char* meUnit; };
  const Row rows[] = {
      {"SVYMODE", "Survey Mode", 1, 9, 10, "", ""},
      {"SIMDEPTH", "Simulated Depth", 1, 0, 0, "", ""},
      {"SIMSTARTD", "Simulated Starting Depth", 0, 20000, 6000, "ft", "m"},
      {"SIMSPEED", "Simulated Speed", 0, 1800, 10, "ft/h", "m/min"},
      {"PBDOFF", "Depth Offset", 0, 0, 0, "ft", "m"},
      {"PBMIND", "PlayBack Min Depth", 0, 0, 0, "ft", "m"},
      {"PBMAXD", "PlayBack Max Depth", 0, 49000, 49000, "ft", "m"},
      {"PBPD", "Pause Depth", 0, 0, 0, "ft", "m"},
      {"PBCHSRC", "Channels Source", 1, 0, 0, "", ""},
      {"PBOFS", "Output File Status", 1, 0, 0, "", ""},
      {"PBCOMP", "Tool Computations Active", 1, 0, 0, "", ""},
  };
  const auto en = records::defaultSystemParameters(9);
  const auto me = records::defaultSystemParameters(10);
  ASSERT_EQ(en.size(), 11u);
  ASSERT_EQ(me.size(), 11u);
  for (std::size_t i = 0; i < 11; ++i) {
    SCOPED_TRACE(rows[i].code);
    EXPECT_EQ(en[i].code, rows[i].code);
    EXPECT_EQ(en[i].name, rows[i].name);
    EXPECT_EQ(en[i].type, rows[i].type);
    EXPECT_EQ(en[i].value, rows[i].en);
    EXPECT_EQ(me[i].value, rows[i].me);
    EXPECT_EQ(en[i].unit, rows[i].enUnit);
    EXPECT_EQ(me[i].unit, rows[i].meUnit);
    EXPECT_EQ(en[i].selectedChoice, 0);
  }
  auto choices = [](const SysParameterS& p) {
    std::string s;
    for (int i = 0; i < p.choiceCount; ++i) s += p.choiceTexts[i] + "=" + std::to_string(int(p.choiceValues[i])) + ";";
    return s;
  };
  EXPECT_EQ(choices(me[records::kSvyMode]), "WIRELINE=0;BATTERY=1;");
  EXPECT_EQ(choices(me[records::kSimDepth]), "NO=0;YES=1;");
  EXPECT_EQ(choices(me[records::kPbChannelSource]), "TOOL STRING=0;PLAYBACK FILE=1;");
  EXPECT_EQ(choices(me[records::kPbOutputFile]), "CREATE=0;DON'T CREATE=1;");
  EXPECT_EQ(choices(me[records::kPbComputations]), "NO=0;YES=1;");
  // Unit system by bit 0 only: 5 and 1 are English, 6 and 2 metric.
  EXPECT_EQ(records::defaultSystemParameters(5)[records::kSimSpeed].unit, "ft/h");
  EXPECT_EQ(records::defaultSystemParameters(2)[records::kSimSpeed].unit, "m/min");
}
