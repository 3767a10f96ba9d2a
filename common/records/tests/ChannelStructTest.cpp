#include <gtest/gtest.h>

#include <functional>

#include "Bytes.h"
#include "common/records/ChannelStruct.h"

using namespace bytes_test;
using records::ChannelStruct;
using records::ToolEntry;

namespace {

struct ChannelCase {
  const char* what;
  ChannelStruct value;
  std::function<void(Bytes&)> layout;
};

const ChannelCase kChannelCases[] = {
    {"surface depth channel", {"DEPTH", "Ft", 0, 0, 253},
     [](Bytes& b) { placeText(b, 0, "DEPTH"); placeText(b, 20, "Ft"); place(b, 48, {253}); }},
    {"tool channel with column parts", {"GR", "API", 6, 3, 210},
     [](Bytes& b) { placeText(b, 0, "GR"); placeText(b, 20, "API"); place(b, 40, {6}); place(b, 44, {3}); place(b, 48, {210}); }},
    {"texts at full width", {"ABCDEFGHIJKLMNOPQRS", "abcdefghijklmnopqrs", 0x01020304, 0xFFFFFFFF, 0xA0B0C0E3},
     [](Bytes& b) {
       placeText(b, 0, "ABCDEFGHIJKLMNOPQRS");
       placeText(b, 20, "abcdefghijklmnopqrs");
       place(b, 40, {4, 3, 2, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xE3, 0xC0, 0xB0, 0xA0});
     }},
    {"empty entry", {}, [](Bytes&) {}},
};

struct ToolCase {
  const char* what;
  ToolEntry value;
  std::function<void(Bytes&)> layout;
};

ToolEntry tool(const char* name, std::uint32_t code, float length, std::uint32_t kind, std::uint32_t serial) {
  ToolEntry t;
  t.name = name;
  t.toolCode = code;
  t.lengthCm = length;
  t.setKind(kind);
  t.setSerial(serial);
  return t;
}

const ToolCase kToolCases[] = {
    {"tool of kind 1 with serial 999", tool("BRIX", 210, 1.0f, 1, 999),
     [](Bytes& b) { placeText(b, 0, "BRIX"); place(b, 24, {210}); place(b, 32, {0, 0, 0x80, 0x3F}); place(b, 48, {0xC1, 0xF9}); }},
    {"every field distinct", ToolEntry{"TARNB-FSK01", 24, 16, 0x11223344, 224, 2, -2.5f, 50.0f, 7.0f, 123.0f, 0x80000042},
     [](Bytes& b) {
       placeText(b, 0, "TARNB-FSK01");
       place(b, 12, {24, 0, 0, 0, 16, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 224, 0, 0, 0, 2, 0, 0, 0});
       place(b, 32, {0, 0, 0x20, 0xC0});  // -2.5
       place(b, 36, {0, 0, 0x48, 0x42});  // 50
       place(b, 40, {0, 0, 0xE0, 0x40});  // 7
       place(b, 44, {0, 0, 0xF6, 0x42});  // 123
       place(b, 48, {0x42, 0, 0, 0x80});
     }},
    {"accessory shape", tool("**CENTRAL", 0, 30.5f, 4, 0),
     [](Bytes& b) { placeText(b, 0, "**CENTRAL"); placeF32(b, 32, 30.5f); place(b, 48, {4}); }},
};

}  // namespace

TEST(ChannelStruct, ChannelEntriesBothWays) {
  for (const auto& c : kChannelCases) {
    SCOPED_TRACE(c.what);
    Bytes want(56, 0);
    c.layout(want);
    Bytes got(56, 0xEE);
    records::encode(c.value, got.data());
    EXPECT_TRUE(sameBytes(got, want));
    EXPECT_EQ(records::decodeChannel(want.data()), c.value);
  }
}

TEST(ChannelStruct, ToolEntriesBothWays) {
  for (const auto& c : kToolCases) {
    SCOPED_TRACE(c.what);
    Bytes want(56, 0);
    c.layout(want);
    Bytes got(56, 0xEE);
    records::encode(c.value, got.data());
    EXPECT_TRUE(sameBytes(got, want));
    EXPECT_EQ(records::decodeTool(want.data()), c.value);
  }
}

TEST(ChannelStruct, GarbageNextFieldIsIgnoredAndWrittenAsZero) {
  Bytes b(56, 0);
  placeText(b, 0, "LSPD");
  place(b, 52, {0xDE, 0xAD, 0xBE, 0xEF});
  const ChannelStruct c = records::decodeChannel(b.data());
  EXPECT_EQ(c.mnemonic, "LSPD");
  Bytes again(56, 0xEE);
  records::encode(c, again.data());
  place(b, 52, {0, 0, 0, 0});
  EXPECT_TRUE(sameBytes(again, b));

  Bytes t(56, 0);
  placeText(t, 0, "DUNE");
  place(t, 52, {1, 2, 3, 4});
  Bytes t2(56, 0xEE);
  records::encode(records::decodeTool(t.data()), t2.data());
  place(t, 52, {0, 0, 0, 0});
  EXPECT_TRUE(sameBytes(t2, t));
}

TEST(ChannelStruct, TextWithoutNulKeepsItsFullWidthAndLongTextIsCut) {
  Bytes b(56, 0);
  placeText(b, 0, "ABCDEFGHIJKLMNOPQRST");  // 20 characters, no NUL inside the field
  EXPECT_EQ(records::decodeChannel(b.data()).mnemonic, "ABCDEFGHIJKLMNOPQRST");
  Bytes t(56, 0);
  placeText(t, 0, "TWELVECHARSX");
  EXPECT_EQ(records::decodeTool(t.data()).name, "TWELVECHARSX");

  ChannelStruct c;
  c.mnemonic = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  Bytes out(56);
  records::encode(c, out.data());
  EXPECT_EQ(out[19], 0);
  EXPECT_EQ(records::decodeChannel(out.data()).mnemonic, "ABCDEFGHIJKLMNOPQRS");
}

TEST(ChannelStruct, SurfaceChannelsInColumnOrderWithUnitsBySystem) {
  const char* mnemonics[] = {"DEPTH", "LSPD", "TENS", "TIME", "UHVOLT", "UHCURR"};
  const char* english[] = {"Ft", "Ft/h", "LBS", "Sec", "VOLT", "mA"};
  const char* metric[] = {"M", "Mts/Min", "LBS", "Sec", "VOLT", "mA"};
  for (bool en : {true, false}) {
    auto list = records::surfaceChannels(en);
    ASSERT_EQ(list.size(), 6u);
    for (std::uint32_t i = 0; i < 6; ++i) {
      EXPECT_EQ(list[i].mnemonic, mnemonics[i]);
      EXPECT_EQ(list[i].unit, en ? english[i] : metric[i]);
      EXPECT_EQ(list[i].column(), i);
      EXPECT_EQ(list[i].toolCode, 253u);
    }
  }
}

TEST(ChannelStruct, KindAndSerialShareOneWord) {
  ToolEntry t;
  t.setSerial(999);
  t.setKind(4);
  EXPECT_EQ(t.kindSerial, (999u << 6) | 4u);
  t.setKind(1);
  EXPECT_TRUE(t.isTool());
  EXPECT_EQ(t.serial(), 999u);
  t.toolCode = 0x1234E6;
  EXPECT_EQ(t.code(), 0xE6);
}
