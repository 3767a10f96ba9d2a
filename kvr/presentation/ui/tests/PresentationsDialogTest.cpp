// "Log Page Presentations" over the presentation manager, offscreen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "common/presentation/PresentationFile.h"
#include "kvr/presentation/ui/PresentationsDialog.h"
#include "kvr/presentation/ui/TrackEditorDialog.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/ScriptedPrompter.h"

namespace {

QPushButton* button(QWidget& w, const QString& text) {
  for (auto* b : w.findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

std::vector<std::string> savedNames(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::vector<std::string> names;
  for (const auto& f : presentation::readPresentation(s.str()).formats) names.push_back(f.name);
  return names;
}

TEST(PresentationsDialog, SlotsShowTheFormatsAndExitSavesThem) {
  platform::qt::testing::qtTestApp();
  QTemporaryDir dir;
  const std::filesystem::path folder = dir.path().toStdString();
  const std::filesystem::path source = std::getenv("VAREXA_SOURCE_DIR") ? std::getenv("VAREXA_SOURCE_DIR") : "../../../..";
  std::filesystem::copy_file(source / "data" / "DEFAULT_FORMAT.TXT", folder / "DEFAULT_FORMAT.TXT");
  platform::testing::ScriptedPrompter prompter;
  presentation::CPresManager manager(prompter, folder);
  ASSERT_EQ(manager.loadDefault(), 0);
  const auto names = savedNames(folder / "DEFAULT_FORMAT.TXT");
  ASSERT_GE(names.size(), 3u);

  const records::ChannelList channels;
  kvr::ui::PresentationsDialog dialog(manager, prompter, [&]() -> const records::ChannelList& { return channels; });
  EXPECT_EQ(dialog.windowTitle(), "Log Page Presentations");
  for (const char* b : {"&Open", "&Append", "&Save", "&Deselect All", "&Erase", "Exit"})
    EXPECT_NE(button(dialog, b), nullptr) << b;
  EXPECT_EQ(dialog.nameBox(0)->text().toStdString(), names[0]);
  EXPECT_EQ(dialog.scaleBox(0)->currentText(), "1/200 Metric");  // the shipped formats are scaled for metres
  EXPECT_EQ(dialog.nameBox(names.size())->text(), "");
  EXPECT_EQ(dialog.scaleBox(names.size())->currentIndex(), -1);
  EXPECT_FALSE(dialog.selection(names.size())->isEnabled());

  // Two slots of one name: the warning, and the dialog stays.
  dialog.nameBox(1)->setText(QString::fromStdString(names[0]));
  EXPECT_FALSE(dialog.tryExit());
  ASSERT_FALSE(prompter.messages().empty());
  EXPECT_EQ(prompter.messages().back().title, "WARNING");

  // Erase the first slot: the others move up in their order.
  dialog.nameBox(1)->setText(QString::fromStdString(names[1]));
  dialog.selection(0)->setChecked(true);
  prompter.queue(platform::Answer::Yes);
  button(dialog, "&Erase")->click();
  EXPECT_EQ(dialog.nameBox(0)->text().toStdString(), names[1]);
  EXPECT_FALSE(dialog.selection(0)->isChecked());

  dialog.nameBox(0)->setText("Renamed");
  EXPECT_TRUE(dialog.tryExit());
  const auto saved = savedNames(folder / "DEFAULT_FORMAT.TXT");
  ASSERT_EQ(saved.size(), names.size() - 1);
  EXPECT_EQ(saved[0], "Renamed");
  EXPECT_EQ(saved[1], names[2]);
}

TEST(PresentationsDialog, TheTrackEditorEditsInPlace) {
  platform::qt::testing::qtTestApp();
  QTemporaryDir dir;
  platform::testing::ScriptedPrompter prompter;
  presentation::CPresManager manager(prompter, dir.path().toStdString());
  manager.formats() = presentation::readPresentation(
                          "&FORMAT\nF\nENGLISH\n200\n&TRACK\nLINEAR\n10\nMIDTHICK\n400\n0\nNOOVERLAP\n"
                          "&CURVE\nGR\n0\nGamma\n0\n150\n40\nSOLID\n1\n0\n0\n0\n&END")
                          .formats;
  const records::ChannelList channels;
  kvr::ui::PresentationsDialog dialog(manager, prompter, [&]() -> const records::ChannelList& { return channels; });
  using kvr::editor::CTEditor;
  QTimer::singleShot(0, [] {
    auto* editor = dynamic_cast<kvr::ui::TrackEditorDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->windowTitle(), "Track Editor");
    EXPECT_EQ(editor->table()->horizontalHeaderItem(CTEditor::kDirection)->text(), "Log Grid Direction");
    editor->clickCell(0, CTEditor::kDecades);  // a linear track has no decades: no field
    EXPECT_EQ(editor->table()->cellWidget(0, CTEditor::kDecades), nullptr);
    editor->clickCell(0, CTEditor::kDivisions);
    auto* spin = qobject_cast<QSpinBox*>(editor->table()->cellWidget(0, CTEditor::kDivisions));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->maximum(), 100);
    spin->setValue(4);
    emit spin->editingFinished();
    EXPECT_EQ(editor->table()->item(0, CTEditor::kDivisions)->text(), "4");
    editor->clickCell(0, CTEditor::kMiddleLine);
    EXPECT_EQ(editor->table()->item(0, CTEditor::kMiddleLine)->text(), "Thin");
    editor->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  dialog.gridButton(0)->click();
  EXPECT_EQ(manager.formats()[0].tracks[0].divisions, 4);
  EXPECT_FALSE(manager.formats()[0].tracks[0].midThick);
  dialog.gridButton(3)->click();  // an empty slot: nothing opens
}

}  // namespace
