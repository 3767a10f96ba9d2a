// The dialog wires its controls to the editor: a tool double-clicked in, OK confirms it, the
// sketch scrolls with the bar, and the value input stays open on a refused value.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

#include "common/datafile/MemoryFiles.h"
#include "kvr/core/tests/ToolStringFixture.h"
#include "kvr/core/ui/AboutDialog.h"
#include "kvr/core/ui/SingleValueInputDialog.h"
#include "kvr/core/ui/ToolStringManagerDialog.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

// The offscreen platform: CTest no longer sets it for every test.
QApplication& app() { return platform::qt::testing::qtTestApp(); }

TEST(ToolStringManagerDialog, DoubleClickAddsAToolAndOkConfirmsTheString) {
  app();
  kvr::testing::StringRig rig;
  kvr::MemoryFileSystem fs;
  fs.writeText("main/ToolList.txt", kvr::testing::sourceFile("data/ToolList.txt"));
  kvr::ToolStringEditor editor(rig.manager, rig.prompter, fs, "main/ToolList.txt");
  kvr::ui::ToolStringManagerDialog dialog(editor, rig.prompter, 10);
  ASSERT_EQ(dialog.availableList()->count(), 12);
  EXPECT_EQ(dialog.accessoryList()->count(), 7);
  auto* item = dialog.availableList()->item(0);
  dialog.availableList()->setCurrentItem(item);
  emit dialog.availableList()->itemDoubleClicked(item);
  ASSERT_EQ(dialog.stringList()->count(), 1);
  EXPECT_EQ(dialog.stringList()->item(0)->text().toStdString(), "BRIX-CCL");
  EXPECT_EQ(dialog.availableList()->count(), 11);
  dialog.scrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  dialog.accept();
  ASSERT_EQ(rig.manager.toolList().size(), 1u);
  EXPECT_EQ(rig.manager.channels().size(), 11u);
}

TEST(SingleValueInputDialog, StaysOpenOnARefusedValue) {
  app();
  platform::testing::ScriptedPrompter prompter;
  kvr::CSingleValueInput input("Input Serial Number", "Serial Number:", 0, 999, kvr::CSingleValueInput::Mode::Integer);
  kvr::ui::SingleValueInputDialog dialog(input, prompter);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Input Serial Number");
  dialog.edit()->setText("1234");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(prompter.messages().size(), 1u);
  dialog.edit()->setText("42");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(input.value(), 42);
}

TEST(AboutDialog, ShowsTheVersionLines) {
  app();
  kvr::AboutBox box;
  box.toolsVersion = "3.2.0";
  kvr::ui::AboutDialog dialog(box);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "About KVR");
}

}  // namespace
