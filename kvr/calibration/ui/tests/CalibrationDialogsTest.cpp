// The tool parameter and calibration dialogs over their editors.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

#include "common/datafile/MemoryFiles.h"
#include "kvr/calibration/ui/CalibrationDialog.h"
#include "kvr/calibration/ui/ToolParametersDialog.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {

struct Sender final : kvr::DownholeSender {
  int sendParameters(const std::vector<records::ToolParameterS*>& chosen, bool all) override {
    for (auto* p : chosen) sent.push_back(p->mnemonic + (all ? "*" : ""));
    return static_cast<int>(chosen.size());
  }
  bool sendMessage(const std::uint8_t*, std::uint32_t) override { return true; }
  std::vector<std::string> sent;
};

records::ToolList string() {
  records::ToolList s(2);
  s[0].name = "BRIX-CCL";
  s[0].toolCode = 210;
  s[1].name = "SEVO-PT";
  s[1].toolCode = 232;
  for (auto& e : s) e.setKind(1);
  return s;
}

TEST(ToolParametersDialog, WalksTheToolsEditsInPlaceAndSendsTheSelection) {
  platform::qt::testing::qtTestApp();
  tools::Library library;
  library.initToolsData({});
  Sender sender;
  const auto tools = string();
  kvr::CParaManager editor(library, tools, sender);
  kvr::ui::ToolParametersDialog dialog(editor);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Parameters for BRIX-CCL");
  dialog.findChild<QPushButton*>("next")->click();
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Parameters for SEVO-PT");
  auto& table = dialog.table();
  ASSERT_EQ(table.rowCount(), 6);
  table.editValue(0);
  auto* edit = qobject_cast<QLineEdit*>(table.cellWidget(0, 2));
  ASSERT_NE(edit, nullptr);
  edit->setText("12x");
  emit edit->editingFinished();
  EXPECT_EQ(table.item(0, 2)->text().toStdString(), "0.00000") << "12x keeps the old value";
  table.selectRow(5);
  dialog.findChild<QPushButton*>("sendSelected")->click();
  EXPECT_EQ(sender.sent, (std::vector<std::string>{"SRATE"}));
}

TEST(CalibrationDialog, ListsTheToolsCalibrationsAndShowsTheOutput) {
  platform::qt::testing::qtTestApp();
  tools::Library library;
  library.initToolsData({});
  kvr::LibraryFamilies families(library);
  Sender sender;
  platform::testing::ScriptedPrompter prompter;
  platform::testing::ManualLoop loop;
  kvr::MemoryFileSystem files;
  files.createFolder("s");
  const auto tools = string();
  std::unique_ptr<kvr::CCaliManager> manager;
  {
    kvr::ui::CalibrationDialog dialog([&](kvr::CalibrationView& view) -> kvr::CCaliManager& {
      manager = std::make_unique<kvr::CCaliManager>(
          kvr::CalibrationPorts{families, sender, prompter, loop, loop.clock(), view, files}, tools, "s");
      return *manager;
    });
    EXPECT_EQ(dialog.windowTitle().toStdString(), "BRIX Calibration");
    ASSERT_EQ(dialog.calibrations().count(), 2);
    EXPECT_EQ(dialog.calibrations().item(1)->text().toStdString(), "CCL Baseline");
    dialog.appendOutput("a < b\nnext");
    EXPECT_EQ(dialog.findChild<QTextEdit*>()->toPlainText().toStdString(), "a < b\nnext");
    manager->start(0);
    EXPECT_TRUE(manager->running());
    dialog.reject();  // closing stops the calibration
    EXPECT_FALSE(manager->running());
    manager.reset();
  }
}

}  // namespace
