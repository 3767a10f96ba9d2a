// Confirming a tool string: channels with their columns, the sample ring, parameter lists,
// depth offsets and the gyro tools' correction-table question.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "common/records/SystemMode.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/ToolManagerMessages.h"
#include "kvr/core/tests/ToolStringFixture.h"
#include "toolslib/DepthOffsetFamily.h"
#include "toolslib/families/TarnB.h"
#include "toolslib/families/TarnC.h"

namespace kvr {
namespace {

using testing::StringRig;

TEST(ToolManager, AStringOfAnyOneToolGetsItsChannelsColumnsRingAndFrameLength) {
  for (const auto& name : testing::shippedToolList().tools) {
    SCOPED_TRACE(name);
    StringRig rig;
    rig.declare({name});
    const auto& tool = rig.manager.toolList().front();
    const auto info = records::toolCodeInfo(tool.code());
    ASSERT_TRUE(info);
    const auto& ch = rig.manager.channels();
    ASSERT_EQ(ch.size(), 6 + info->rowFloats);
    EXPECT_EQ(ch[0].mnemonic, "DEPTH");
    EXPECT_EQ(ch[0].unit, "M");
    for (std::size_t i = 0; i < 6; ++i) {
      EXPECT_EQ(ch[i].column(), i);
      EXPECT_EQ(ch[i].toolCode, records::kSurfaceToolCode);
    }
    for (std::size_t i = 6; i < ch.size(); ++i) {
      EXPECT_EQ(ch[i].baseColumn, 6u);
      EXPECT_EQ(ch[i].column(), i);
      EXPECT_EQ(ch[i].toolCode & 0xFF, tool.code());
    }
    EXPECT_EQ(rig.manager.ring().size(), 1000 * ch.size());
    EXPECT_EQ(rig.manager.ring().write(), 0u);
    EXPECT_EQ(rig.manager.minimumFrameLength(), 22 + info->frameBytes);
    EXPECT_EQ(tool.dataBytes, info->dataBytes);
  }
}

TEST(ToolManager, ColumnsFollowTheStringAndAccessoriesAddNoChannels) {
  StringRig rig;
  rig.declare({"**CABLEHEAD", "TARNC-NSG", "**CENTRALIZ", "BRIX-CCL", "DUNE-ROLA", "**BULLNOSE"});
  const auto& ch = rig.manager.channels();
  ASSERT_EQ(ch.size(), 6u + 25 + 5 + 4);
  EXPECT_EQ(ch[6].baseColumn, 6u);         // TARN-C
  EXPECT_EQ(ch[6 + 25].baseColumn, 31u);   // BRIX
  EXPECT_EQ(ch[6 + 25 + 5].baseColumn, 36u);  // DUNE
  EXPECT_EQ(ch.back().column(), ch.size() - 1);
  EXPECT_EQ(rig.manager.minimumFrameLength(), 22u + 30 + 9 + 8);
  // Distances from the string bottom to each item's bottom, in centimetres.
  const auto& t = rig.manager.toolList();
  EXPECT_FLOAT_EQ(t[0].bottomDistanceCm, 345 + 70 + 95 + 120 + 15);
  EXPECT_FLOAT_EQ(t[3].bottomDistanceCm, 120 + 15);
  EXPECT_FLOAT_EQ(t[5].bottomDistanceCm, 0);
}

TEST(ToolManager, TwoToolsOfOneFamilyKeepTheirOwnColumns) {
  StringRig rig;
  rig.declare({"DUNE-PIKE", "BRIX-CCL"});
  records::ToolList list = rig.manager.toolList();
  list.insert(list.begin(), testing::shippedEntry("BRIX-CCL"));
  rig.manager.setToolList(list);
  rig.manager.confirmString(10);
  const auto& ch = rig.manager.channels();
  EXPECT_EQ(ch[6].baseColumn, 6u);
  EXPECT_EQ(ch[11].baseColumn, 11u);  // DUNE
  EXPECT_EQ(ch[15].baseColumn, 15u);  // the second BRIX
}

TEST(ToolManager, TheFirstDepthToolFromTheTopWithAPositiveOffsetFixesTheReference) {
  StringRig rig;
  rig.declare({"BRIX-CCL", "DUNE-ROLA"});
  // BRIX bottom 120 cm above the string bottom, its coil 450 mm above its own bottom.
  EXPECT_NEAR(rig.manager.referenceDepthOffset(), 1.65, 1e-6);
  auto* dune = static_cast<tools::DepthOffsetFamily*>(rig.lib.family(records::kDune));
  EXPECT_EQ(dune->shifter().downRows(), 17u);  // (1650 - 0) / 100 rounded
  EXPECT_EQ(dune->shifter().upRows(), 0u);

  // A spinner on top whose offset comes out zero leaves the reference to the next tool.
  records::ToolList list{testing::shippedEntry("DUNE-PIKE"), testing::shippedEntry("BRIX-CCL")};
  list[1].lengthCm = 0;
  rig.manager.setToolList(list);
  rig.manager.confirmString(10);
  EXPECT_NEAR(rig.manager.referenceDepthOffset(), 0.45, 1e-6);
  rig.manager.confirmString(9);  // English: the same millimetres in feet
  EXPECT_NEAR(rig.manager.referenceDepthOffset(), 450 / 304.8, 1e-6);
}

TEST(ToolManager, AnActiveGyroCalibrationIsKeptOnlyWhenTheUserSaysYes) {
  StringRig rig;
  auto* tarnB = static_cast<tools::TarnB*>(rig.lib.family(records::kTarnB));
  auto* tarnC = static_cast<tools::TarnC*>(rig.lib.family(records::kTarnC));
  tarnB->setCorrectionTableActive(true);
  // A TARN-C table is active once a sensor correction table has been loaded.
  std::ifstream sct(std::string(VAREXA_SOURCE_ROOT) + "/data/TCX-0417.sct", std::ios::binary);
  ASSERT_TRUE(tarnC->loadCorrectionTableText(std::string(std::istreambuf_iterator<char>(sct), {}), nullptr));
  rig.prompter.queue(platform::Answer::Yes);
  rig.prompter.queue(platform::Answer::No);
  rig.declare({"TARNB-FSK", "TARNC-NSG"});
  ASSERT_EQ(rig.prompter.messages().size(), 2u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "Tool: TARN-B");
  EXPECT_EQ(rig.prompter.messages()[0].text, toolmsg::kTarnBTableQuestion);
  EXPECT_EQ(rig.prompter.messages()[1].title, toolmsg::kDefaultTitle);
  EXPECT_EQ(rig.prompter.messages()[1].text,
            "There is an active TARN-C calibration in memory.\nDo you want to keep it to be used during this sesion ?");
  EXPECT_TRUE(tarnB->correctionTableActive());
  EXPECT_FALSE(tarnC->correctionTableActive());
  // The kept TARN-B table asks once more (unanswered: No, so it goes); then nothing is asked.
  rig.prompter.clear();
  rig.manager.confirmString(10);
  rig.manager.confirmString(10);
  EXPECT_EQ(rig.prompter.messages().size(), 1u);
}

struct RecordingPanels final : TaskPanelFactory {
  std::vector<std::string> calls;
  void destroyAll() override { calls.push_back("destroy"); }
  void createTarnPanel(const records::ToolEntry&) override { calls.push_back("TARN"); }
  void createTarnBPanel(const records::ToolEntry&) override { calls.push_back("TARN-B"); }
  void createTarnCPanel(const records::ToolEntry&) override { calls.push_back("TARN-C"); }
  void createVuntPanel(const records::ToolEntry&) override { calls.push_back("VUNT"); }
  void loadTarnCDriftOptions(tools::Globals&) override { calls.push_back("drift"); }
};

TEST(ToolManager, TaskPanelsAreMadeInOnePlaceAfterTheOldOnesGo) {
  tools::Library lib;
  platform::testing::ScriptedPrompter prompter;
  RecordingPanels panels;
  FrameRing frames;
  CToolManager manager(lib, prompter, panels, frames);
  manager.setToolList({testing::shippedEntry("VUNT-MG"), testing::shippedEntry("TARN-GYRO"),
                       testing::shippedEntry("TARNC-NSG"), testing::shippedEntry("TARNB-FSK"),
                       testing::shippedEntry("PLOV-TENS")});
  manager.confirmString(10);
  EXPECT_EQ(panels.calls, (std::vector<std::string>{"destroy", "VUNT", "TARN", "TARN-C", "drift", "TARN-B"}));
  EXPECT_TRUE(lib.family(records::kTarn)->correctionTableActive()) << "TARN reserves its table";
}

TEST(ToolManager, ConfirmingResetsTheParameterListsOfTheStringsTools) {
  StringRig rig;
  rig.lib.family(records::kBrix)->getParameterList()[3].value = 999;
  rig.lib.family(records::kQuil)->getParameterList()[0].value = 5;
  rig.declare({"BRIX-CCL"});
  EXPECT_FLOAT_EQ(rig.lib.family(records::kBrix)->getParameterList()[3].value, 450);
  EXPECT_FLOAT_EQ(rig.lib.family(records::kQuil)->getParameterList()[0].value, 5) << "not in the string";
}

}  // namespace
}  // namespace kvr
