// The TARN-B and TARN task panel windows over the panels of a station wired as the program
// wires it, offscreen.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/monitors/ui/StaticExWidget.h"
#include "kvr/tarn/ui/TarnPanelWindow.h"
#include "kvr/tarnb/ui/TarnBPanelWindow.h"
#include "platform/qt/testing/QtTestApp.h"

namespace kvr::testing {
namespace {

panelsim::SimConfig stillTool() {
  panelsim::SimConfig c;
  c.winch.english = true;
  c.winch.direction = panelsim::Direction::Still;
  return c;
}

TEST(TaskPanelWindows, TheTarnBWindowRunsAStationAndEditsItsIntervals) {
  platform::qt::testing::qtTestApp();
  Job job(stillTool(), 9);
  job.declare({"TARNB-FSK"});
  job.telemetry();
  ASSERT_NE(job.station->tarnBPanel(), nullptr);
  tarnb::ui::TarnBPanelWindow window(*job.station->tarnBPanel());
  window.show();
  EXPECT_EQ(window.stationButton()->text(), "&Start Station");
  EXPECT_EQ(window.calibrationField(0)->text(), "Not Loaded");
  EXPECT_FALSE(window.addIntervalButton()->isEnabled());
  window.stationButton()->click();
  EXPECT_EQ(window.stationButton()->text(), "&Stop Station");
  job.loop.advance(10000);
  window.stationButton()->click();
  EXPECT_EQ(window.stationButton()->text(), "&Start Station");
  job.loop.advance(500);

  job.station->tarnBPanel()->addStations({job.dlg().outputFile()});
  ASSERT_EQ(window.stationList()->count(), 1);
  EXPECT_EQ(window.stationList()->item(0)->text().toStdString(), job.dlg().outputFile().filename().string());
  ASSERT_EQ(window.intervalTable()->rowCount(), 1);
  window.addIntervalButton()->click();
  ASSERT_EQ(window.intervalTable()->rowCount(), 2);
  window.intervalTable()->item(1, 1)->setText("2.5");
  EXPECT_EQ(job.station->tarnBPanel()->intervalRows()[1].start, "2.5");
  window.intervalTable()->item(1, 2)->setText("no number");
  EXPECT_NE(window.intervalTable()->item(1, 2)->text(), "no number") << "a dropped edit shows the cell as it was";
}

TEST(TaskPanelWindows, TheTarnWindowCountsADriftStationDown) {
  platform::qt::testing::qtTestApp();
  Job job(stillTool(), 9);
  job.declare({"TARN-GYRO"});
  job.telemetry();
  ASSERT_NE(job.station->tarnPanel(), nullptr);
  tarn::ui::TarnPanelWindow window(*job.station->tarnPanel());
  window.show();
  EXPECT_TRUE(window.processingButton()->isEnabled());
  window.driftStationButton()->click();
  EXPECT_EQ(window.countdown()->control().text(), "01m, 00s");
  EXPECT_EQ(window.countdown()->control().textColour(), monitors::CStaticEx::kGreen);
  job.loop.advance(61000);
  EXPECT_EQ(window.countdown()->control().text(), "10m, 00s");
  EXPECT_NE(window.driftField(0)->text(), "0.0000") << "the drifts of the station show";
}

}  // namespace
}  // namespace kvr::testing
