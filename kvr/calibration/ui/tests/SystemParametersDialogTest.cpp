// The system parameter dialog's in-place editors reach the editor's draft.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>

#include "kvr/calibration/ui/SystemParametersDialog.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

TEST(SystemParametersDialog, ValuesAreEditedInPlace) {
  platform::qt::testing::qtTestApp();
  auto table = records::defaultSystemParameters(9);
  kvr::CSysParManager editor(table, kvr::CSysParManager::Range::Playback);
  kvr::ui::SystemParametersDialog dialog(editor);
  EXPECT_EQ(dialog.windowTitle().toStdString(), "Playback Options");
  auto* list = dialog.findChild<QTableWidget*>();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->rowCount(), 7);
  EXPECT_EQ(list->item(1, 0)->text().toStdString(), "PBMIND");
  EXPECT_EQ(list->item(2, 2)->text().toStdString(), "49000.00000");

  dialog.editValue(0);  // "PBDOFF", a number
  auto* edit = qobject_cast<QLineEdit*>(list->cellWidget(0, 2));
  ASSERT_NE(edit, nullptr);
  edit->setText("12.5");
  emit edit->editingFinished();
  EXPECT_EQ(editor.record(0).value, 12.5f);
  EXPECT_EQ(list->item(0, 2)->text().toStdString(), "12.50000");

  dialog.editValue(6);  // "PBCOMP", a choice list
  auto* combo = qobject_cast<QComboBox*>(list->cellWidget(6, 2));
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 2);
  emit combo->activated(1);
  EXPECT_EQ(editor.record(6).selectedChoice, 1);
  EXPECT_EQ(list->item(6, 2)->text().toStdString(), "YES");
  EXPECT_EQ(table[records::kPbComputations].selectedChoice, 0) << "the table waits for OK";
  EXPECT_EQ(list->cellWidget(0, 2), nullptr) << "the editors close once used";
  EXPECT_EQ(list->cellWidget(6, 2), nullptr);
}

}  // namespace
