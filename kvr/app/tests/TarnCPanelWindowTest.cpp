// The "TARN-C Task Panel" window offscreen over the panel of the logging station: its
// North-Seeking button runs a whole station on the simulated tool in virtual time, and the
// list shows the result with its colours.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

#include "kvr/app/tests/LoggingJobFixture.h"
#include "kvr/tarnc/ui/TaskPanelWindow.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

panelsim::SimConfig well() {
  panelsim::SimConfig c;
  c.winch.english = false;
  c.winch.startDepth = 1200;
  c.winch.direction = panelsim::Direction::Still;
  c.well.latitudeDeg = 40;
  c.well.inclinationDeg = 12;
  c.well.azimuthDeg = 250;
  c.well.toolfaceDeg = 300;
  return c;
}

}  // namespace

TEST(TarnCPanelWindow, TheNorthSeekingButtonRunsAWholeStation) {
  platform::qt::testing::qtTestApp();
  kvr::testing::Job job(well(), 10);
  job.declare({"TARNC-NSG"});
  job.telemetry();
  auto* panel = job.station->tarnCPanel();
  ASSERT_NE(panel, nullptr);
  kvr::tarnc::ui::TaskPanelWindow window(*panel, {});
  window.show();

  // The options through their dialog: latitude and a short station.
  window.openOptions();
  auto* options = window.optionsDialog();
  ASSERT_NE(options, nullptr);
  auto fields = options->findChildren<QLineEdit*>();
  ASSERT_EQ(fields.size(), 7);
  fields[0]->setText("40");
  fields[1]->setText("20");
  for (auto* b : options->findChildren<QPushButton*>()) {
    if (b->text() == "Aceptar") b->click();
  }
  EXPECT_FALSE(options->isVisible());
  EXPECT_EQ(panel->options().stationTime, 20);
  EXPECT_EQ(job.settings.getString("Options", "TARN-C Station Time", ""), "20.00");

  job.prompter.queue(platform::Answer::Yes);  // no calibration loaded: continue
  window.button("North-Seeking")->click();
  job.loop.advance(16'000);
  EXPECT_NE(window.button("Stop Station"), nullptr);
  EXPECT_TRUE(window.progress()->isVisible());
  job.loop.advance(60'000);
  EXPECT_FALSE(panel->stationRunning());
  ASSERT_NE(window.button("North-Seeking"), nullptr);
  ASSERT_EQ(window.list()->rowCount(), 2);
  EXPECT_EQ(window.list()->horizontalHeaderItem(3)->text(), "Deviation");
  auto* status = window.list()->item(0, 8);
  EXPECT_EQ(status->text(), "DONE");
  EXPECT_EQ(status->foreground().color(), QColor(0, 0, 255));
  EXPECT_TRUE(status->font().bold());
  EXPECT_NEAR(window.list()->item(0, 3)->text().toDouble(), 12, 0.1);
  EXPECT_NEAR(window.list()->item(0, 4)->text().toDouble(), 250, 0.5);
  EXPECT_EQ(window.list()->item(1, 8)->background().color(), QColor(0, 127, 0));  // the next row: "Ready"
  EXPECT_TRUE(window.windowTitle().startsWith("TARN-C Task Panel - TARNC_SurveyReport.txt"));
  EXPECT_TRUE(window.resetLabel()->text().startsWith("09m, "));
  window.reject();  // Esc does nothing
  EXPECT_TRUE(window.isVisible());
}
