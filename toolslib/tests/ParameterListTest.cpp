// Parameter and calibration lists: lengths the data files rely on, field widths, encodings.
#include <gtest/gtest.h>

#include <string>

#include "common/records/ToolCodes.h"
#include "toolslib/Library.h"
#include "toolslib/ParameterBuilder.h"

namespace {

TEST(ParameterLists, EveryRecordFitsItsFieldsAndItsMessageMatchesItsEncoding) {
  tools::Library lib;
  for (tools::Family* f : lib.families()) {
    SCOPED_TRACE(std::string(f->name()));
    const auto& list = f->getParameterList();
    ASSERT_FALSE(list.empty());
    for (const auto& p : list) {
      SCOPED_TRACE(p.mnemonic);
      EXPECT_LE(p.mnemonic.size(), 9u);
      EXPECT_LE(p.description.size(), 79u);
      EXPECT_LE(p.unit.size(), 9u);
      EXPECT_LE(p.encoding, 5);
      EXPECT_LE(p.choiceCount, 10);
      for (int i = 0; i < p.choiceCount; ++i) EXPECT_LE(p.choiceTexts[static_cast<std::size_t>(i)].size(), 19u);
      if (p.choiceCount > 0) {
        EXPECT_EQ(p.encoding, static_cast<std::uint8_t>(records::ValueEncoding::ChoiceByteAt109));
        EXPECT_LT(p.selectedChoice, p.choiceCount);
      }
      if (p.messageLength > 0) {
        EXPECT_EQ(p.messageLength, tools::params::messageLengthFor(static_cast<records::ValueEncoding>(p.encoding)));
        EXPECT_EQ(p.message[0], f->code()) << "a tool's message goes to its own block address";
      }
    }
  }
}

TEST(ParameterLists, TheGyroListsKeepTheRecordsTheirPanelsRead) {
  tools::Library lib;
  const auto& tarnc = lib.family(records::kTarnC)->getParameterList();
  EXPECT_EQ(tarnc[0].mnemonic, "LATI");
  EXPECT_EQ(tarnc[0].unit, "Deg");

  const auto& tarnb = lib.family(records::kTarnB)->getParameterList();
  ASSERT_GE(tarnb.size(), 11u);
  EXPECT_EQ(tarnb[9].mnemonic, "LATI");
  EXPECT_EQ(tarnb[10].choiceCount, 2);
  EXPECT_EQ(tarnb[10].choiceValues[1], 1.0f);

  const auto& tarn = lib.family(records::kTarn)->getParameterList();
  ASSERT_GE(tarn.size(), 14u);
  EXPECT_EQ(tarn[11].mnemonic, "GXOFF");
  EXPECT_EQ(tarn[12].mnemonic, "GYOFF");
  EXPECT_EQ(tarn[13].mnemonic, "GZOFF");
}

TEST(ParameterLists, LoadingResetsDefaultsAndRefusesAStoredListOfAnotherLength) {
  tools::Library lib;
  auto* brix = lib.family(records::kBrix);
  auto& list = brix->getParameterList();
  const auto defaults = list;
  list[0].selectedChoice = 3;
  EXPECT_TRUE(brix->loadParameterList());
  EXPECT_EQ(brix->getParameterList(), defaults);

  std::vector<records::ToolParameterS> shorter(defaults.begin(), defaults.end() - 1);
  EXPECT_FALSE(brix->loadParameterList(shorter, true));
  EXPECT_EQ(brix->getParameterList(), defaults);
  auto stored = defaults;
  stored[3].value = 123;
  EXPECT_TRUE(brix->loadParameterList(stored, true));
  EXPECT_EQ(brix->getParameterList()[3].value, 123);
}

TEST(CalibrationLists, EveryFamilyButPlovListsCalibrationsAndStepsEndAtOnce) {
  tools::Library lib;
  for (tools::Family* f : lib.families()) {
    SCOPED_TRACE(std::string(f->name()));
    f->loadCalList();
    if (f->code() == records::kPlov) {
      EXPECT_TRUE(f->getCalList().empty());
    } else {
      ASSERT_FALSE(f->getCalList().empty());
      for (const auto& c : f->getCalList()) EXPECT_FALSE(c.name().empty());
    }
    unsigned status = 7;
    char text[256] = {};
    EXPECT_EQ(f->executeCal(0, 0, &status, text), 0);
    f->freeAllDynamicMem();
    EXPECT_TRUE(f->getCalList().empty());
  }
}

}  // namespace
