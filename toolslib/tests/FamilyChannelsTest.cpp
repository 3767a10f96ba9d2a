// Every family's channels: count, names read by the rest of the program, units.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/records/ToolCodes.h"
#include "toolslib/Library.h"

namespace {

using records::ChannelList;

ChannelList channelsOf(tools::Library& lib, std::uint8_t code) {
  ChannelList list;
  lib.family(code)->addDataChannels(list);
  return list;
}

int indexOf(const ChannelList& list, const std::string& mnemonic) {
  for (const auto& c : list)
    if (c.mnemonic == mnemonic) return static_cast<int>(c.index);
  return -1;
}

TEST(FamilyChannels, EveryFamilyCreatesItsRowWidthOfUniqueShortChannels) {
  tools::Library lib;
  for (tools::Family* f : lib.families()) {
    SCOPED_TRACE(std::string(f->name()));
    const auto info = records::toolCodeInfo(f->code());
    ASSERT_TRUE(info);
    EXPECT_EQ(f->dataBytes(), info->dataBytes);
    EXPECT_EQ(f->rowFloats(), info->rowFloats);
    const auto list = channelsOf(lib, f->code());
    ASSERT_EQ(list.size(), info->rowFloats);
    std::set<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i) {
      EXPECT_LE(list[i].mnemonic.size(), 11u) << list[i].mnemonic;
      EXPECT_FALSE(list[i].mnemonic.empty());
      EXPECT_EQ(list[i].index, i);
      EXPECT_EQ(list[i].baseColumn, 0u);
      EXPECT_EQ(list[i].toolCode & 0xFF, f->code());
      EXPECT_NE(list[i].toolCode & 0x3F, 1u);
      EXPECT_TRUE(names.insert(list[i].mnemonic).second) << "duplicate " << list[i].mnemonic;
    }
  }
}

TEST(FamilyChannels, TheMnemonicsOtherPartsReadAreThere) {
  tools::Library lib;
  const std::map<std::uint8_t, std::vector<std::string>> required = {
      {records::kBrix, {"CCL1", "CCL2", "CCL3", "CCL4"}},
      {records::kDune, {"SPINNER", "PRATE"}},
      {records::kTarn, {"HAZI", "TAZI", "DEVI"}},
      {records::kTarnB, {"ACCX", "ACCY", "ACCZ", "RAWAX", "RAWAY", "RATEX", "RATEY", "RAWRATEGX", "RAWRATEGY",
                         "DEVI", "HSTF", "TEMPG"}},
      {records::kTarnC, {"RATEX", "RATEY", "RATEZ", "ACCX", "ACCY", "ACCZ", "RAWRATEGX", "RAWRATEGY", "RAWRATEGZ",
                         "RAWAX", "RAWAY", "RAWAZ", "DEVI", "HAZI", "TFACE", "HSTF", "TEMPGXY", "TEMPGZ", "TEMPAX",
                         "TEMPAY", "TEMPAZ"}},
  };
  for (const auto& [code, names] : required) {
    const auto list = channelsOf(lib, code);
    for (const auto& n : names) EXPECT_GE(indexOf(list, n), 0) << int(code) << " lacks " << n;
  }
  // The collar merge reads CCL1 and the three columns after it.
  const auto brix = channelsOf(lib, records::kBrix);
  EXPECT_EQ(indexOf(brix, "CCL2"), indexOf(brix, "CCL1") + 1);
  EXPECT_EQ(indexOf(brix, "CCL4"), indexOf(brix, "CCL1") + 3);
}

TEST(FamilyChannels, UnitsFollowTheSystemUnits) {
  tools::Library lib;
  auto sevo = channelsOf(lib, records::kSevo);
  EXPECT_EQ(sevo[0].unit, "KG/CM2");
  EXPECT_EQ(sevo[1].unit, "DegC");
  EXPECT_EQ(sevo[7].unit, "KG/CM2/M");
  records::SystemUnitsS units;
  units.code[records::kPressure] = 3;      // PSI
  units.code[records::kTemperature] = 11;  // DegF
  units.code[records::kDepth] = 51;        // Feet
  units.code[records::kFlowRate] = 82;     // BPD
  lib.initToolsData(units);
  sevo = channelsOf(lib, records::kSevo);
  EXPECT_EQ(sevo[0].unit, "PSI");
  EXPECT_EQ(sevo[1].unit, "DegF");
  EXPECT_EQ(sevo[7].unit, "PSI/FT");
  EXPECT_EQ(channelsOf(lib, records::kDune)[1].unit, "BPD");
  // Gyro temperatures stay in degC: the station processing works in them.
  EXPECT_EQ(channelsOf(lib, records::kTarnC)[indexOf(channelsOf(lib, records::kTarnC), "TEMPGXY")].unit, "DegC");
}

TEST(FamilyChannels, CodesWithoutAFamilyAreSkipped) {
  tools::Library lib;
  for (int code = 0; code < 256; ++code) {
    const bool known = records::toolCodeInfo(static_cast<std::uint8_t>(code)).has_value() && code != records::kSurface;
    EXPECT_EQ(lib.family(static_cast<std::uint8_t>(code)) != nullptr, known) << code;
  }
}

}  // namespace
