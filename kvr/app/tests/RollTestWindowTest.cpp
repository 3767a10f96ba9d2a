// The "TARN-C Task Panel" window offscreen: its RollTest button runs a whole roll test on the
// simulated horizontal tool, reads "Stop RT" while it runs, and the answer Yes to the end
// question opens the "Report Viewer" on the report; "Axis Correction" reads "Stop AC" and cancels.
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>

#include "kvr/app/tests/RollTestBench.h"
#include "kvr/tarnc/ui/ReportViewer.h"
#include "kvr/tarnc/ui/TaskPanelWindow.h"
#include "platform/qt/testing/QtTestApp.h"

using namespace kvr::testing::roll;

TEST(RollTestWindow, TheRollTestButtonRunsATestAndShowsItsReport) {
  platform::qt::testing::qtTestApp();
  Bench b;
  kvr::tarnc::ui::TaskPanelWindow window(*b.panel, {});
  window.show();
  for (Answer a : {Answer::Ok, Answer::Ok, Answer::Yes}) b.prompter.queue(a);  // EAST, WEST, view the report
  ASSERT_NE(window.button("RollTest"), nullptr);
  EXPECT_TRUE(window.button("RollTest")->isEnabled());
  EXPECT_TRUE(window.button("Axis Correction")->isEnabled());
  window.button("RollTest")->click();
  EXPECT_NE(window.button("Stop RT"), nullptr);
  EXPECT_EQ(window.list()->horizontalHeaderItem(2)->text(), "Position");
  for (int t = 0; t < 600 && b.panel->rollStep(); ++t) b.loop.advance(500);
  b.loop.advance(5'000);
  ASSERT_NE(window.button("Rolltest"), nullptr);
  EXPECT_EQ(window.list()->rowCount(), 9);
  EXPECT_EQ(window.list()->item(1, 2)->text(), "90");
  EXPECT_EQ(window.list()->item(8, 2)->text(), "...");
  std::vector<kvr::tarnc::ui::ReportViewer*> viewers;
  for (auto* d : window.findChildren<QDialog*>()) {
    if (d->windowTitle() == "Report Viewer") viewers.push_back(static_cast<kvr::tarnc::ui::ReportViewer*>(d));
  }
  ASSERT_EQ(viewers.size(), 1u);
  EXPECT_TRUE(viewers[0]->isVisible());
  EXPECT_TRUE(viewers[0]->isModal());
  EXPECT_TRUE(viewers[0]->text().startsWith("TARN-C Roll Test Report\n\nCurrent Latitude: 40 0' 0\"\n"));
  EXPECT_TRUE(viewers[0]->text().contains(QString::fromUtf8("[\xEF\xBF\xBD/h] - PASS")));
}

TEST(RollTestWindow, TheAxisCorrectionButtonOffersToStopItsRun) {
  platform::qt::testing::qtTestApp();
  Bench b;
  kvr::tarnc::ui::TaskPanelWindow window(*b.panel, {});
  window.show();
  window.button("Axis Correction")->click();
  b.loop.advance(3'000);
  ASSERT_NE(window.button("Stop AC"), nullptr);
  EXPECT_TRUE(window.progress()->isVisible());
  b.prompter.queue(Answer::Yes);  // cancel this process
  window.button("Stop AC")->click();
  ASSERT_NE(window.button("Axis Correction"), nullptr);
  EXPECT_EQ(b.panel->axisStep(), 0);
  EXPECT_EQ(window.list()->item(0, 8)->text(), "Ready");
}
