// The "ToolString Manager" rules: opening, adding, removing, moving, accessories, serial
// numbers and OK.
#include <gtest/gtest.h>

#include "common/datafile/MemoryFiles.h"
#include "common/records/ToolCodes.h"
#include "kvr/core/ToolManagerMessages.h"
#include "kvr/core/ToolStringEditor.h"
#include "kvr/core/tests/ToolStringFixture.h"

namespace kvr {
namespace {

struct EditorRig : testing::StringRig {
  MemoryFileSystem fs;
  ToolStringEditor editor{manager, prompter, fs, "main/ToolList.txt"};
  EditorRig() { fs.writeText("main/ToolList.txt", testing::sourceFile("data/ToolList.txt")); }

  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& i : editor.items()) out.push_back(i.text);
    return out;
  }
  std::size_t available(const std::string& name) const {
    const auto& a = editor.availableTools();
    return static_cast<std::size_t>(std::find(a.begin(), a.end(), name) - a.begin());
  }
  std::size_t accessory(const std::string& name) const {
    const auto& a = editor.accessories();
    return static_cast<std::size_t>(std::find(a.begin(), a.end(), name) - a.begin());
  }
  void add(const std::string& name) { editor.addTool(available(name)); }
};

TEST(ToolStringEditor, OpeningListsTheStringAndTheToolsNotInIt) {
  EditorRig rig;
  rig.declare({"BRIX-CCL", "DUNE-ROLA"});
  rig.lib.family(records::kBrix)->loadCalList();
  rig.editor.open();
  EXPECT_TRUE(rig.prompter.messages().empty());
  EXPECT_EQ(rig.names(), (std::vector<std::string>{"BRIX-CCL", "DUNE-ROLA"}));
  EXPECT_EQ(rig.editor.availableTools().size(), testing::shippedToolList().tools.size() - 2);
  EXPECT_EQ(rig.available("BRIX-CCL"), rig.editor.availableTools().size());
  EXPECT_EQ(rig.editor.accessories().size(), 7u);
  EXPECT_TRUE(rig.lib.family(records::kBrix)->getCalList().empty()) << "TOOLS memory released";
  ASSERT_EQ(rig.editor.draft().size(), 2u);
  EXPECT_EQ(rig.editor.draft()[1].name, "DUNE-ROLA");
  EXPECT_EQ(rig.editor.draft()[1].toolCode, 230u);
}

TEST(ToolStringEditor, WithoutAToolListTheStringStaysAsItWas) {
  EditorRig rig;
  rig.declare({"BRIX-CCL"});
  MemoryFileSystem empty;
  ToolStringEditor editor(rig.manager, rig.prompter, empty, "main/ToolList.txt");
  editor.open();
  ASSERT_EQ(rig.prompter.messages().size(), 1u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "ERROR");
  EXPECT_EQ(rig.prompter.messages()[0].text,
            "Tool string list file could not be loaded\nWithout a tool list the ToolString can not be defined");
  EXPECT_TRUE(editor.availableTools().empty());
  EXPECT_TRUE(editor.accessories().empty());
  editor.confirm(10);
  EXPECT_EQ(rig.manager.toolList().size(), 1u);
}

TEST(ToolStringEditor, ABrokenToolListIsReportedAndItsGoodPartsUsed) {
  EditorRig rig;
  rig.fs.writeText("main/ToolList.txt",
                   "&STARTLIST BRIX-CCL BAD &ENDLIST &STARTACSESORY &ENDACSESORY &STARTSTRUCT "
                   "&BRIX-CCL BRIX-CCL 5 35 210 2 95 43 150 0 1 &BAD BAD 5 x 210 2 95 43 150 0 1 &ENDSTRUCT &END");
  rig.editor.open();
  ASSERT_EQ(rig.prompter.messages().size(), 1u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "WARNING");
  EXPECT_NE(rig.prompter.messages()[0].text.find("\"x\" where a whole number belongs"), std::string::npos);
  rig.add("BAD");
  rig.add("BRIX-CCL");
  EXPECT_EQ(rig.names(), (std::vector<std::string>{"BAD", "BRIX-CCL"}));
  ASSERT_EQ(rig.editor.draft().size(), 1u) << "an item without a usable description makes no entry";
  EXPECT_EQ(rig.editor.draft()[0].name, "BRIX-CCL");
}

TEST(ToolStringEditor, ToolsGoAboveTheSpinnerAndASecondSpinnerIsRefused) {
  EditorRig rig;
  rig.editor.open();
  rig.add("DUNE-ROLA");
  rig.add("BRIX-CCL");
  rig.add("SEVO-PT");
  EXPECT_EQ(rig.names(), (std::vector<std::string>{"BRIX-CCL", "SEVO-PT", "DUNE-ROLA"}));
  const auto before = rig.editor.availableTools();
  EXPECT_FALSE(rig.editor.addTool(rig.available("DUNE-PIKE")));
  ASSERT_EQ(rig.prompter.messages().size(), 1u);
  EXPECT_EQ(rig.prompter.messages()[0].title, "INPUT ERROR");
  EXPECT_EQ(rig.prompter.messages()[0].text, "You shouldnt have duplicated Spinner. Remove the existing one.");
  EXPECT_EQ(rig.editor.availableTools(), before);
  EXPECT_EQ(rig.editor.draft().size(), 3u);
}

TEST(ToolStringEditor, RemovingGivesToolsBackButNotAccessories) {
  EditorRig rig;
  rig.editor.open();
  rig.add("BRIX-CCL");
  rig.editor.addAccessoryOnTop(rig.accessory("**CABLEHEAD"));
  EXPECT_FALSE(rig.editor.removeItem(0));
  EXPECT_EQ(rig.editor.removeItem(1), std::optional<std::size_t>(0));
  EXPECT_EQ(rig.names(), std::vector<std::string>{"**CABLEHEAD"});
  EXPECT_LT(rig.available("BRIX-CCL"), rig.editor.availableTools().size());
}

TEST(ToolStringEditor, MovingKeepsTheSpinnerBelowEverythingButAccessories) {
  EditorRig rig;
  rig.editor.open();
  rig.add("DUNE-ROLA");
  rig.add("BRIX-CCL");                               // BRIX, DUNE
  EXPECT_FALSE(rig.editor.moveUp(1)) << "spinner under a tool";
  EXPECT_FALSE(rig.editor.moveDown(0)) << "tool over the spinner";
  EXPECT_FALSE(rig.editor.moveUp(0)) << "top item";
  EXPECT_FALSE(rig.editor.moveDown(1)) << "last item";
  rig.editor.addAccessory(rig.accessory("**CENTRALIZ"));  // above the spinner: BRIX, CENTRALIZ, DUNE
  EXPECT_EQ(rig.names(), (std::vector<std::string>{"BRIX-CCL", "**CENTRALIZ", "DUNE-ROLA"}));
  EXPECT_EQ(rig.editor.moveUp(2), std::optional<std::size_t>(1));  // spinner past an accessory
  EXPECT_EQ(rig.names(), (std::vector<std::string>{"BRIX-CCL", "DUNE-ROLA", "**CENTRALIZ"}));
  EXPECT_EQ(rig.editor.moveUp(1), std::nullopt);
  EXPECT_EQ(rig.editor.moveDown(1), std::optional<std::size_t>(2));  // the spinner itself may go down
  // Without a spinner "Add" appends.
  EditorRig plain;
  plain.editor.open();
  plain.add("BRIX-CCL");
  plain.editor.addAccessory(plain.accessory("**BULLNOSE"));
  EXPECT_EQ(plain.names(), (std::vector<std::string>{"BRIX-CCL", "**BULLNOSE"}));
}

TEST(ToolStringEditor, SerialNumbersGoIntoTheKindWordAndOkConfirmsTheDraft) {
  EditorRig rig;
  rig.editor.open();
  rig.add("TARNC-NSG");
  rig.editor.addAccessory(rig.accessory("**KNUCKLEJT"));
  const auto input = rig.editor.serialNumberInput(0);
  EXPECT_EQ(input.title(), "Input Serial Number");
  EXPECT_EQ(input.minimum(), 0);
  EXPECT_EQ(input.maximum(), 999);
  rig.editor.setSerialNumber(0, 123);
  EXPECT_EQ(rig.editor.draft()[0].serial(), 123u);
  EXPECT_EQ(rig.editor.draft()[0].kind(), 1u);
  EXPECT_TRUE(rig.manager.toolList().empty()) << "nothing changes before OK";
  rig.editor.confirm(10);
  ASSERT_EQ(rig.manager.toolList().size(), 2u);
  EXPECT_EQ(rig.manager.toolList()[0].serial(), 123u);
  EXPECT_EQ(rig.manager.channels().size(), 6u + 25);
  // Reopening shows the serial number with the item.
  rig.editor.open();
  EXPECT_EQ(rig.editor.items()[0], (StringItem{"TARNC-NSG", 123}));
}

}  // namespace
}  // namespace kvr
