// The real main window on the offscreen platform: a session, a tool string, telemetry through
// the embedded simulated panel, a short log and stop, driven through the menu's actions.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>

#include "kvr/app/ui/KvrProgram.h"
#include "kvr/app/ui/tests/ProgramTestSupport.h"

namespace {

using C = kvr::MenuCommand;

using kvr::ui::testing::runUntil;

TEST(MainWindow, ShortLogThroughTheMenu) {
  QTemporaryDir home;
  kvr::ui::testing::useTestHome(home);

  kvr::ui::KvrProgram program({"kvr", "--panel=sim"});
  auto& window = program.window();
  auto& station = program.station();
  EXPECT_EQ(window.windowTitle(), "Varexa");
  EXPECT_FALSE(window.action(C::StartTelemetry)->isEnabled());

  // The job data form and the tool string dialog are modal; their logic is filled in directly.
  records::JobRecord job;
  job.userName = "Ann";
  job.client = "Acme";
  job.wellName = "W-1";
  ASSERT_TRUE(station.session().confirmJobData(job));
  station.menu().onJobDataConfirmed();
  window.refreshMenu();
  ASSERT_EQ(station.declareString({"BRIX-CCL", "DUNE-ROLA"}), std::nullopt);

  // The presentations were read at start-up; the dialog shows them and Exit closes it.
  ASSERT_FALSE(program.presentations().formats().empty());
  window.action(C::EditPresentations)->trigger();
  auto* presentations = program.presentationsDialog();
  ASSERT_NE(presentations, nullptr);
  EXPECT_TRUE(presentations->isVisible());
  EXPECT_EQ(presentations->nameBox(0)->text().toStdString(), program.presentations().formats()[0].name);
  EXPECT_TRUE(presentations->tryExit());
  EXPECT_FALSE(presentations->isVisible());
  ASSERT_TRUE(window.action(C::StartTelemetry)->isEnabled());

  window.action(C::StartTelemetry)->trigger();
  ASSERT_TRUE(runUntil([&] { return station.dialog().counters().goodFrames > 10; }, 5000));
  EXPECT_FALSE(window.action(C::StartTelemetry)->isEnabled());
  EXPECT_TRUE(window.action(C::StopTelemetry)->isEnabled());

  window.action(C::StartLogUp)->trigger();
  ASSERT_TRUE(station.dialog().logRunning());
  EXPECT_TRUE(window.action(C::StopLogging)->isEnabled());
  runUntil([] { return false; }, 1500);
  window.action(C::StopLogging)->trigger();
  EXPECT_FALSE(station.dialog().logRunning());
  EXPECT_TRUE(std::filesystem::exists(station.dialog().outputFile()));
  EXPECT_GT(station.dialog().rowsDrawn(), 0u);

  // One log window per format, titled with its name, placed down the diagonal, with rows drawn.
  const auto& windows = program.logWindows().windows();
  const auto& files = station.charts().files();
  ASSERT_FALSE(windows.empty());
  ASSERT_EQ(windows.size(), files.size());
  for (std::size_t i = 0; i < windows.size(); ++i) {
    const auto& w = *windows[i];
    SCOPED_TRACE(w.windowTitle().toStdString());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.windowTitle().isEmpty());
    // The chart data file is named by the format name and the data file.
    EXPECT_EQ(files[i].filename().string().rfind(w.windowTitle().toStdString(), 0), 0u);
    EXPECT_EQ(w.pos(), QPoint(15 * static_cast<int>(i), 15 * static_cast<int>(i)));
    EXPECT_EQ(w.size(), QSize(785, 400));
    int dark = 0;
    const QImage& picture = w.picture();
    for (int y = 0; y < picture.height(); y += 2)
      for (int x = 0; x < picture.width(); x += 2) dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 100);
  }

  window.action(C::StopTelemetry)->trigger();
  EXPECT_FALSE(station.telemetry().telemetryActive());
  EXPECT_FALSE(station.flags().running);

  // The log played back through the same windows. The session question is a modal box, so
  // the string is let go first and the file is handed over as the file dialog would.
  const auto logged = station.dialog().outputFile();
  const auto drawn = station.dialog().rowsDrawn();
  station.tools().setToolList({});
  ASSERT_TRUE(station.playback().loadFile(logged));
  window.refreshMenu();
  ASSERT_TRUE(window.action(C::StartPlayback)->isEnabled());
  window.action(C::StartPlayback)->trigger();
  EXPECT_TRUE(window.action(C::StopPlayback)->isEnabled());
  ASSERT_TRUE(runUntil([&] { return !station.playback().running(); }, 5000));
  EXPECT_EQ(station.dialog().rowsDrawn() - drawn, drawn);
  EXPECT_TRUE(std::filesystem::exists(station.playback().outputName()));
  EXPECT_EQ(program.logWindows().windows().size(), files.size());
  EXPECT_FALSE(window.action(C::StopPlayback)->isEnabled());
}

}  // namespace
