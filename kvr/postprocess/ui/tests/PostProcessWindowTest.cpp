// The manager's window on the offscreen platform: Add Files fills the grid from a session
// recorded on the simulated tool, Process takes the switches and writes the outputs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTableWidget>

#include "kvr/postprocess/McOutputs.h"
#include "kvr/postprocess/tests/ProgramSide.h"
#include "kvr/postprocess/tests/SessionFixture.h"
#include "kvr/postprocess/tests/SimulatedSession.h"
#include "kvr/postprocess/ui/PostProcessWindow.h"
#include "platform/qt/testing/QtTestApp.h"

namespace pp = kvr::postprocess;
using namespace kvr::postprocess::testing;

TEST(PostProcessWindow, AddFilesFillsTheGridAndProcessWritesTheOutputs) {
  platform::qt::testing::qtTestApp();
  TempFolder folder;
  SessionPlan plan;
  plan.stations = 3;
  plan.surveyS = 20;
  SimulatedSession session(folder.path, plan);
  ProgramSide program;
  auto& manager = program.manager;
  auto& prompter = program.prompter;
  pp::ui::PostProcessWindow window(manager, folder.path.string());
  EXPECT_EQ(window.windowTitle().toStdString(), "Post Processing Manager");
  EXPECT_FALSE(window.processButton()->isEnabled()) << "nothing loaded yet";
  EXPECT_EQ(window.grid()->horizontalHeaderItem(9)->text().toStdString(), "Correction");

  prompter.queueFile(session.logPath);
  window.addFilesButton()->click();
  ASSERT_EQ(prompter.fileRequests().size(), 1u);
  EXPECT_EQ(prompter.fileRequests()[0].filter, "Session CSV files (*.csv)|*.csv||");
  EXPECT_EQ(prompter.fileRequests()[0].initialDir, folder.path.string() + "/Output");
  ASSERT_EQ(window.grid()->rowCount(), 2);
  EXPECT_EQ(window.grid()->item(0, 0)->text().toStdString(), "Session_1 [1]");
  EXPECT_EQ(window.grid()->item(1, 5)->text().toStdString(), "30.00");
  ASSERT_TRUE(window.processButton()->isEnabled());

  window.acelCorrectionBox()->setChecked(false);
  window.processButton()->click();
  EXPECT_FALSE(manager.run().navikor().acelCorrOn);
  for (auto which : {pp::Output::SurveyLas, pp::Output::DepthLas, pp::Output::Report})
    EXPECT_TRUE(std::filesystem::exists(pp::outputPath(session.logPath, which)));
  EXPECT_TRUE(prompter.saw("Report Complete",
                           "Continuous mode report exported to:\n" + (folder.output() / "MCReport_1.txt").string()));
}
