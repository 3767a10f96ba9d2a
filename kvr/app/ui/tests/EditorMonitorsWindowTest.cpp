// The presentation editor and the monitors in the real program on the offscreen platform,
// with telemetry from the embedded simulated panel.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>
#include <functional>

#include "common/presentation/ByteFile.h"
#include "common/presentation/ChartDataFile.h"
#include "kvr/app/ui/KvrProgram.h"
#include "kvr/presentation/ui/ChannelsDialog.h"
#include "kvr/presentation/ui/CurveEditorDialog.h"
#include "kvr/app/ui/tests/ProgramTestSupport.h"

namespace {

using C = kvr::MenuCommand;

using kvr::ui::testing::runUntil;

// Runs f on the next modal dialog of type D once it is open.
template <class D>
void whenModal(std::function<void(D&)> f) {
  QTimer::singleShot(0, [f] {
    if (auto* d = dynamic_cast<D*>(QApplication::activeModalWidget())) f(*d);
  });
}

// A program with its settings and data inside a fresh folder, a session and a tool string.
struct Program {
  QTemporaryDir home;
  std::unique_ptr<kvr::ui::KvrProgram> program;
  Program() {
    kvr::ui::testing::useTestHome(home);
    program = std::make_unique<kvr::ui::KvrProgram>(QStringList{"kvr", "--panel=sim"});
    auto& station = program->station();
    records::JobRecord job;
    job.userName = "Ann";
    job.client = "Acme";
    job.wellName = "W-1";
    EXPECT_TRUE(station.session().confirmJobData(job));
    station.menu().onJobDataConfirmed();
    EXPECT_EQ(station.declareString({"BRIX-CCL", "DUNE-ROLA"}), std::nullopt);
    program->window().refreshMenu();
  }
  ~Program() {
    if (program->station().telemetry().telemetryActive()) program->station().dialog().stopTelemetry();
  }
  int channel(const std::string& name) const {
    const auto& list = program->station().tools().channels();
    for (std::size_t i = 0; i < list.size(); ++i)
      if (list[i].mnemonic == name) return static_cast<int>(i);
    return -1;
  }
};

TEST(MonitorsWindow, ABoundBoxFollowsThePanelAndMagnifies) {
  Program p;
  auto& window = p.program->window();
  ASSERT_TRUE(window.action(C::Monitors)->isEnabled());
  window.action(C::Monitors)->trigger();
  auto* monitors = p.program->monitorsDialog();
  ASSERT_NE(monitors, nullptr);
  EXPECT_TRUE(monitors->isVisible());
  EXPECT_EQ(monitors->windowTitle(), "Monitors");

  // Bind box 2 to the tension through the channel chooser.
  const int tens = p.channel("TENS");
  ASSERT_GE(tens, 0);
  whenModal<kvr::ui::ChannelsDialog>([tens](kvr::ui::ChannelsDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Channels");
    d.list()->setCurrentRow(tens);
    d.accept();
  });
  monitors->chooseChannel(2);
  EXPECT_TRUE(monitors->caption(2)->text().startsWith("TENS ["));

  window.action(C::StartTelemetry)->trigger();
  ASSERT_TRUE(runUntil([&] { return !monitors->value(2)->control().text().empty(); }, 5000));
  const std::string first = monitors->value(2)->control().text();
  ASSERT_TRUE(runUntil([&] { return monitors->value(2)->control().text() != first; }, 5000));

  // Magnified: a window of its own whose value keeps coming after the box is closed, in a
  // font as high as the window (or as wide as the number allows).
  monitors->magnify(2);
  ASSERT_EQ(monitors->magnifiedWindows().size(), 1u);
  auto* big = monitors->magnifiedWindows().begin()->second;
  EXPECT_EQ(big->windowTitle(), monitors->caption(2)->text());
  p.program->monitors().close(2);
  monitors->refresh();
  EXPECT_EQ(monitors->caption(2)->text(), "");
  big->resize(900, 300);
  const std::string shown = big->text().control().text();
  ASSERT_TRUE(runUntil([&] { return big->text().control().text() != shown; }, 5000));
  const auto& font = big->text().control().font();
  EXPECT_GT(font.height, 100);
  EXPECT_LE(font.height, big->text().height());
  EXPECT_EQ(font.width, font.height * 35 / 100);
  big->resize(300, 150);
  EXPECT_LT(big->text().control().font().height, font.height + 1);
  EXPECT_LE(big->text().control().font().width * static_cast<int>(big->text().control().text().size()),
            big->text().width());
  big->close();
  ASSERT_TRUE(runUntil([&] { return monitors->magnifiedWindows().empty(); }, 1000));
  EXPECT_TRUE(p.program->monitors().magnified().empty());

  // Closing hides the window; the bindings stay.
  monitors->close();
  EXPECT_FALSE(monitors->isVisible());
  window.action(C::Monitors)->trigger();
  EXPECT_TRUE(monitors->isVisible());
}

TEST(PresentationEditorWindow, AnEditedFormatIsTheNextLogs) {
  Program p;
  auto& window = p.program->window();
  auto& station = p.program->station();
  window.action(C::EditPresentations)->trigger();
  auto* presentations = p.program->presentationsDialog();
  ASSERT_NE(presentations, nullptr);
  const auto& format = p.program->presentations().formats().at(0);
  ASSERT_GE(format.tracks.size(), 3u);
  ASSERT_FALSE(format.tracks[0].curves.empty());
  const std::string moved = format.tracks[0].curves[0].description;
  const std::size_t onLast = format.tracks[2].curves.size();

  // Curve editor of slot 0: the first curve to the third track, dashed; OK.
  whenModal<kvr::ui::CurveEditorDialog>([](kvr::ui::CurveEditorDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Curve Editor");
    d.clickCell(0, kvr::editor::CCEditor::kLineType);
    d.clickCell(0, kvr::editor::CCEditor::kTrack);
    auto* choice = qobject_cast<QComboBox*>(d.table()->cellWidget(0, kvr::editor::CCEditor::kTrack));
    ASSERT_NE(choice, nullptr);
    choice->setCurrentIndex(2);
    emit choice->activated(2);
    EXPECT_EQ(d.table()->item(0, kvr::editor::CCEditor::kTrack)->text(), "TRACK-2");
    d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  presentations->curvesButton(0)->click();
  ASSERT_EQ(format.tracks[2].curves.size(), onLast + 1);
  EXPECT_EQ(format.tracks[2].curves.back().description, moved);
  EXPECT_EQ(format.tracks[2].curves.back().lineType, presentation::LineType::Dash);

  // The preview shows every format laid out for logging up, without rows.
  for (auto* b : presentations->findChildren<QPushButton*>())
    if (b->text() == "&Preview") b->click();
  ASSERT_EQ(presentations->preview().windows().size(), p.program->presentations().formats().size());
  EXPECT_TRUE(presentations->preview().windows()[0]->display().layout().up());
  EXPECT_EQ(presentations->preview().windows()[0]->windowTitle().toStdString(), format.name);
  ASSERT_TRUE(presentations->tryExit());

  // The next log draws and records the edited format.
  window.action(C::StartTelemetry)->trigger();
  ASSERT_TRUE(runUntil([&] { return station.dialog().counters().goodFrames > 10; }, 5000));
  window.action(C::StartLogUp)->trigger();
  ASSERT_TRUE(station.dialog().logRunning());
  runUntil([] { return false; }, 1000);
  window.action(C::StopLogging)->trigger();
  ASSERT_FALSE(station.charts().files().empty());
  auto file = presentation::openByteFile(station.charts().files()[0], presentation::OpenMode::ReadOnly);
  ASSERT_NE(file, nullptr);
  presentation::ChartDataReader reader(*file);
  ASSERT_EQ(reader.open(), 0);
  const auto& recorded = reader.header().format;
  ASSERT_GE(recorded.tracks.size(), 3u);
  bool found = false;
  for (const auto& c : recorded.tracks[2].curves) found = found || c.description == moved;
  EXPECT_TRUE(found);
}

}  // namespace
