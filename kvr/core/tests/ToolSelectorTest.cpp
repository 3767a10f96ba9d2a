// "Load Parameters": stored parameter blocks of a recorded file into the current tools.
#include <gtest/gtest.h>

#include "common/datafile/CFileManager.h"
#include "common/datafile/MemoryFiles.h"
#include "common/records/SysParameter.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/CToolSelector.h"
#include "kvr/core/tests/ToolStringFixture.h"

namespace kvr {
namespace {

struct SelectorRig : testing::StringRig {
  MemoryFileSystem fs;
  CFileManager files{fs};
  CToolSelector selector{manager, files, prompter};

  // A recorded file of BRIX and DUNE whose BRIX measure point is 123 and whose DUNE block
  // is `duneRecords` long.
  void writeFile(std::size_t duneRecords) {
    tools::Library other;
    auto brix = other.family(records::kBrix)->getParameterList();
    brix[3].value = 123;
    std::vector<records::ToolParameterS> dune(duneRecords);
    records::ToolList list{testing::shippedEntry("BRIX-CCL"), testing::shippedEntry("**SWIVEL"),
                           testing::shippedEntry("DUNE-ROLA")};
    ASSERT_EQ(files.createOutputFile("s", "REC"), 0);
    int r = files.writeToolList(list);
    r |= files.writeChannelList(records::surfaceChannels(false));
    r |= files.writeParameterBlock(brix);
    r |= files.writeParameterBlock(dune);
    r |= files.writeDirection(kLogUp);
    r |= files.writeMainSystemParameters(records::defaultSystemParameters(10));
    r |= files.writeJobRecord(records::JobRecord{});
    ASSERT_EQ(r, 0);
    ASSERT_EQ(files.closeOutput(), 0);
  }
};

TEST(ToolSelector, ListsTheToolsOfBothStringsAndLoadsTheChosenBlocks) {
  SelectorRig rig;
  rig.declare({"BRIX-CCL", "DUNE-ROLA", "QUIL-GR"});
  rig.writeFile(rig.lib.family(records::kDune)->getParameterList().size());
  rig.prompter.queueFile("s/REC.kvr");
  ASSERT_TRUE(rig.selector.chooseFile("s"));
  EXPECT_EQ(rig.prompter.fileRequests().back().filter, "KVR Data files (*.kvr)|*.kvr||");
  EXPECT_EQ(rig.prompter.fileRequests().back().initialDir, "s");
  EXPECT_EQ(rig.selector.candidates(), (std::vector<std::string>{"BRIX-CCL", "DUNE-ROLA"}));
  EXPECT_EQ(rig.selector.apply({"BRIX-CCL"}), 1);
  EXPECT_FLOAT_EQ(rig.lib.family(records::kBrix)->getParameterList()[3].value, 123);
  EXPECT_TRUE(rig.prompter.messages().empty());
}

TEST(ToolSelector, ABlockOfAnotherLengthIsRefusedWithTheIntegrityMessage) {
  SelectorRig rig;
  rig.declare({"BRIX-CCL", "DUNE-ROLA"});
  rig.writeFile(2);
  ASSERT_TRUE(rig.selector.readFile("s/REC.kvr"));
  const auto dune = rig.lib.family(records::kDune)->getParameterList();
  EXPECT_EQ(rig.selector.apply({"DUNE-ROLA", "BRIX-CCL"}), 1);
  ASSERT_EQ(rig.prompter.messages().size(), 1u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "FATAL ERROR");
  EXPECT_EQ(rig.prompter.messages()[0].text, "Error while checking static data integrity\nFile could be corrupted, try again");
  EXPECT_EQ(rig.lib.family(records::kDune)->getParameterList(), dune);
}

TEST(ToolSelector, AFileThatCannotBeOpenedSaysSo) {
  SelectorRig rig;
  rig.declare({"BRIX-CCL"});
  EXPECT_FALSE(rig.selector.readFile("s/none.kvr"));
  ASSERT_EQ(rig.prompter.messages().size(), 1u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "FATAL ERROR");
  EXPECT_EQ(rig.prompter.messages()[0].text, "The requested file could not be opened");
  EXPECT_TRUE(rig.selector.candidates().empty());
}

}  // namespace
}  // namespace kvr
