// The memory gauge's windows on the offscreen platform over their logic on virtual time: the
// buttons send the gauge's commands, the text controls follow the gauge, and the download
// dialog lists the jobs of the job table.

#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QTimeEdit>
#include <QLineEdit>
#include <QPushButton>

#include "kvr/gauge/GaugeTexts.h"
#include "kvr/gauge/ui/DataLatchWindow.h"
#include "kvr/gauge/ui/GaugeDialogs.h"
#include "kvr/monitors/ui/StaticExWidget.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/ManualLoop.h"
#include "platform/testing/ScriptedPrompter.h"

namespace kvr::gauge::ui {
namespace {

struct Bench {
  Bench() : panel({loop, prompter, globals, [this](const std::vector<std::uint8_t>& m) { return sent.push_back(m), true; }}) {}
  QApplication& app = platform::qt::testing::qtTestApp();
  platform::testing::ManualLoop loop;
  platform::testing::ScriptedPrompter prompter;
  tools::Globals globals;
  std::vector<std::vector<std::uint8_t>> sent;
  CDataLatchTaskPanel panel;
};

TEST(GaugeWindow, ButtonsSendTheGaugeCommandsAndTheControlsFollowTheGauge) {
  Bench b;
  DataLatchWindow window(b.panel, b.loop.clock());
  EXPECT_EQ(window.windowTitle(), text::kPanelTitle);
  EXPECT_EQ(window.pressure()->control().text(), "14.70");
  EXPECT_EQ(window.temperature()->control().text(), "25.0");
  for (const char* label : {"Connect", "On-Line", "Download", "Ping it !", "Erase Jobs", "New Job", "Check Rec.", "OK",
                            "Cancel"})
    ASSERT_NE(window.button(label), nullptr) << label;

  window.button("Connect")->click();
  window.button("On-Line")->click();
  window.button("Ping it !")->click();
  window.button("Check Rec.")->click();
  const std::vector<std::vector<std::uint8_t>> expected = {
      {3, 240, 0, 0x6A}, {3, 240, 0, 0x66}, {3, 240, 0, 0x65}, {3, 240, 0, 0x73}};
  EXPECT_EQ(b.sent, expected);

  b.globals.VUNTControl = 0x90;  // link up, online data
  b.globals.VUNTPressure = 2500.126;
  b.globals.VUNTTemperature = 81.26;
  b.loop.advance(100);
  EXPECT_EQ(window.pressure()->control().text(), "2500.13");
  EXPECT_EQ(window.temperature()->control().text(), "81.3");
  EXPECT_EQ(window.statusLine()->control().text(), text::kModes[2]);
  b.globals.VUNTControl = 0x10;
  b.loop.advance(100);
  EXPECT_EQ(window.statusLine()->control().text(), text::kLinkDown);
  EXPECT_EQ(window.statusLine()->control().textColour(), platform::rgb(255, 0, 0));
  EXPECT_EQ(window.pressure()->control().text(), "2500.13");  // mode 2 still, link or not

  // No job in the table: the download says so and opens nothing.
  window.button("Download")->click();
  EXPECT_TRUE(b.prompter.saw(text::kMessage, text::kNoJob));
}

TEST(GaugeWindow, TheDownloadDialogListsTheJobsOfTheTable) {
  Bench b;
  b.globals.VUNTJobFat[0] = 12;
  b.globals.VUNTJobFat[1] = 30;
  tools::vunt::setCalibrationDouble(b.globals.VUNTCalibration, tools::vunt::kSerialOffset, 24017);
  CDownloadDataDlg logic({b.panel, nullptr, {}});
  ASSERT_TRUE(logic.open());
  DownloadDialog dialog(logic);
  EXPECT_EQ(dialog.windowTitle(), text::kDownloadTitle);
  ASSERT_EQ(dialog.jobList()->count(), 2);
  EXPECT_EQ(dialog.jobList()->itemText(1), "2");
  EXPECT_EQ(dialog.totalSamples()->text(), "1260");
  EXPECT_EQ(dialog.toSample()->text(), "1260");
  EXPECT_EQ(dialog.serial()->text(), "24017");
  dialog.jobList()->setCurrentIndex(1);
  EXPECT_EQ(dialog.totalSamples()->text(), "1890");
  EXPECT_EQ(dialog.toSample()->text(), "1890");
  EXPECT_EQ(logic.jobs()[1].startPage, 12);
}

TEST(GaugeWindow, TheDatePickerKeepsToItsRange) {
  platform::qt::testing::qtTestApp();
  CDatePickerDlg picker({2026, 12, 11, 9, 30, 15});
  DatePickerDialog dialog(picker);
  EXPECT_EQ(dialog.windowTitle(), text::kDatePickerTitle);
  EXPECT_EQ(dialog.calendar()->minimumDate(), QDate(1970, 1, 1));
  EXPECT_EQ(dialog.calendar()->maximumDate(), QDate(2105, 12, 31));
  dialog.calendar()->setSelectedDate(QDate(2030, 2, 28));
  dialog.timeEdit()->setTime(QTime(23, 59, 59));
  dialog.accept();
  EXPECT_EQ(picker.year(), 2030);
  EXPECT_EQ(picker.picked().time - picker.picked().date, 86399u);
}

}  // namespace
}  // namespace kvr::gauge::ui
