// The real program on the offscreen platform, driven through its menu with its own dialogs
// answered as a user would: a whole job on the simulated panel, and the controls that must
// reach what they change.

#include <gtest/gtest.h>

#include <QImage>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>

#include "common/records/SysParameter.h"
#include "common/records/SystemUnits.h"
#include "kvr/app/ui/KvrProgram.h"
#include "kvr/app/ui/tests/ModalSteps.h"
#include "kvr/app/ui/tests/ProgramTestSupport.h"
#include "kvr/core/ui/ToolStringManagerDialog.h"
#include "kvr/tarnc/ui/LowLevelCmdWindow.h"
#include "kvr/tarnc/ui/TaskPanelWindow.h"
#include "kvr/gauge/ui/DataLatchWindow.h"
#include "kvr/monitors/ui/StaticExWidget.h"
#include "platform/qt/testing/QtTestApp.h"

namespace {

using C = kvr::MenuCommand;
using kvr::ui::testing::ModalSteps;
using kvr::ui::testing::runUntil;

struct Desktop {
  Desktop() {
    kvr::ui::testing::useTestHome(home);
    program = std::make_unique<kvr::ui::KvrProgram>(QStringList{"kvr", "--panel=sim"});
  }
  kvr::ui::KvrMainWindow& window() { return program->window(); }
  kvr::LoggingStation& station() { return program->station(); }
  // Triggers a menu entry and answers the dialogs it opens with the steps given; the titles of
  // the windows met are left in modal.titles().
  void menu(C c, std::initializer_list<ModalSteps::Step> steps = {}) {
    ASSERT_TRUE(window().action(c)->isEnabled()) << kvr::menuText(c);
    modal.clearTitles();
    for (const auto& s : steps) modal.then(s);
    window().action(c)->trigger();
    EXPECT_TRUE(modal.done()) << kvr::menuText(c) << ": " << modal.titles().join(", ").toStdString();
    EXPECT_TRUE(modal.unexpected().isEmpty()) << modal.unexpected().join("; ").toStdString();
  }
  void jobData() {
    menu(C::JobData, {[](QWidget* d) {
           ModalSteps::field(d, "User Name:")->setText("Ann");
           ModalSteps::field(d, "Client:")->setText("Acme");
           ModalSteps::field(d, "Well Name:")->setText("W-1");
           qobject_cast<QDialog*>(d)->accept();
         }});
  }
  void toolString(const QStringList& names) {
    menu(C::DefineToolString, {[names](QWidget* w) {
      auto* d = dynamic_cast<kvr::ui::ToolStringManagerDialog*>(w);
      ASSERT_NE(d, nullptr);
      for (const auto& n : names) {
        auto found = d->availableList()->findItems(n, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << n.toStdString();
        d->availableList()->setCurrentItem(found.front());
        ModalSteps::button(d, "<<")->click();
      }
      d->accept();
    }});
  }
  QString status() { return window().statusText(); }

  QApplication& app = platform::qt::testing::qtTestApp();
  QTemporaryDir home;
  ModalSteps modal;
  std::unique_ptr<kvr::ui::KvrProgram> program;
};

bool overlaps(const QRect& a, const QRect& b) { return a.intersects(b); }

TEST(MainWindow, TheMemoryGaugeEntryOpensTheDataLatchManagerOfAVuntString) {
  Desktop desk;
  EXPECT_FALSE(desk.window().action(C::MemoryGauge)->isEnabled());
  desk.jobData();
  desk.toolString({"VUNT-MG"});
  desk.menu(C::MemoryGauge);
  auto* gauge = desk.window().findChild<kvr::gauge::ui::DataLatchWindow*>();
  ASSERT_NE(gauge, nullptr);
  EXPECT_TRUE(gauge->isVisible());
  EXPECT_EQ(gauge->windowTitle(), "Data Latch Manager");
  desk.menu(C::StartTelemetry);
  // The simulated gauge's link comes up; "On-Line" brings its live readings.
  ASSERT_TRUE(runUntil([&] { return gauge->statusLine()->control().text() == "Link is Up !"; }, 5000));
  gauge->button("On-Line")->click();
  ASSERT_TRUE(runUntil([&] { return gauge->pressure()->control().text() != "-"; }, 5000));
  EXPECT_EQ(gauge->temperature()->control().text(), "25.0");  // the gauge at the surface
}

TEST(MainWindow, AWholeJobOnTheSimulatedPanel) {
  Desktop desk;
  auto& window = desk.window();
  auto& station = desk.station();
  // Comfortable on a 1280x800 screen with the whole menu bar in view.
  EXPECT_GE(window.width(), window.menuBar()->sizeHint().width());
  EXPECT_LE(window.width(), 700);
  EXPECT_LE(window.height(), 800);

  desk.jobData();
  EXPECT_EQ(window.job().clientAndWell, "Acme / W-1");
  EXPECT_TRUE(desk.status().startsWith("Session folder: "));
  desk.toolString({"BRIX-CCL", "QUIL-GR"});
  ASSERT_EQ(station.tools().toolList().size(), 2u);
  EXPECT_EQ(window.job().toolString, "BRIX-CCL, QUIL-GR");

  // The simulated winch follows the log at the system parameters' speed from their start depth.
  auto& table = desk.program->program().systemParameters;
  table[records::kSimSpeed].value = 600;  // m/min: rows come fast in real time
  const float start = table[records::kSimStartDepth].value;
  desk.menu(C::StartTelemetry);
  ASSERT_TRUE(runUntil([&] { return station.dialog().counters().goodFrames > 10; }, 5000));
  EXPECT_TRUE(station.telemetrySession().newSession);
  EXPECT_EQ(station.telemetrySession().sessionNumber, 1);

  desk.menu(C::StartLogUp);
  ASSERT_TRUE(station.dialog().logRunning());
  EXPECT_TRUE(desk.status().startsWith("Started the log up: recording "));
  ASSERT_TRUE(runUntil([&] { return window.job().rows.toInt() > 60; }, 10000)) << window.job().rows.toStdString();
  EXPECT_EQ(window.job().file.toStdString(), station.dialog().outputFile().string());
  EXPECT_LT(station.tools().currentDepth(), start);
  EXPECT_GT(station.tools().currentDepth(), start - 100);

  // The log windows sit beside the main window, each title in view; the Window menu lists them.
  const auto& windows = desk.program->logWindows().windows();
  ASSERT_EQ(windows.size(), desk.program->presentations().formats().size());
  for (std::size_t i = 0; i < windows.size(); ++i) {
    SCOPED_TRACE(windows[i]->name().toStdString());
    EXPECT_TRUE(windows[i]->isVisible());
    EXPECT_FALSE(overlaps(windows[i]->frameGeometry(), window.frameGeometry()))
        << windows[i]->frameGeometry().x() << "," << windows[i]->frameGeometry().width() << " main "
        << window.frameGeometry().x() << "," << window.frameGeometry().width();
    for (std::size_t j = 0; j < i; ++j) EXPECT_NE(windows[i]->y(), windows[j]->y());
  }
  const auto entries = window.windowMenu()->actions();
  ASSERT_EQ(entries.size(), static_cast<qsizetype>(windows.size() + 2));  // tile, separator, windows
  windows[0]->close();
  EXPECT_FALSE(windows[0]->isVisible());
  entries[2]->trigger();
  EXPECT_TRUE(windows[0]->isVisible());
  // The right button freezes a window, and its title says so.
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(50, 50), QPointF(50, 50), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(windows[0].get(), &press);
  EXPECT_TRUE(windows[0]->windowTitle().contains("FROZEN"));

  desk.menu(C::StopLogging);
  EXPECT_FALSE(station.dialog().logRunning());
  const auto logged = station.dialog().outputFile();
  EXPECT_TRUE(desk.status().startsWith("Log stopped: ")) << desk.status().toStdString();
  EXPECT_TRUE(desk.status().endsWith(QString::fromStdString(logged.filename().string())));
  // Recorded from the start depth upward.
  int dark = 0;
  const QImage& picture = windows[1]->picture();
  for (int y = 0; y < picture.height(); y += 2)
    for (int x = 0; x < picture.width(); x += 2) dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
  EXPECT_GT(dark, 100);

  // Save the session, then load it back with the presentation formats (start-up option bit 1).
  desk.menu(C::SaveSession, {ModalSteps::file(QString::fromStdString((station.session().sessionFolder() / "Job1.KVR").string()))});
  ASSERT_TRUE(desk.status().startsWith("Session saved: ")) << desk.status().toStdString();
  const QString saved = desk.status().mid(QString("Session saved: ").size());
  EXPECT_TRUE(std::filesystem::exists(saved.toStdString()));
  desk.menu(C::StopTelemetry);
  const auto formats = desk.program->presentations().formats().size();
  desk.program->presentations().formats().pop_back();
  desk.menu(C::LoadPreviousSession, {ModalSteps::file(saved)});
  EXPECT_EQ(desk.status(), "Session loaded: Acme / W-1, 2 tools");
  EXPECT_EQ(desk.program->presentations().formats().size(), formats);

  // "&Load Parameters" from the recorded log: both tools are offered and loaded.
  desk.menu(C::LoadParameters, {ModalSteps::file(QString::fromStdString(logged.string())), [](QWidget* d) {
                                  auto* list = d->findChild<QListWidget*>();
                                  ASSERT_NE(list, nullptr);
                                  EXPECT_EQ(list->count(), 2);
                                  qobject_cast<QDialog*>(d)->accept();
                                }});
  EXPECT_EQ(desk.status(), "Parameters loaded for 2 tools");

  // A playback of the log; afterwards telemetry can start again at once.
  desk.menu(C::ChooseFile, {ModalSteps::file(QString::fromStdString(logged.string())), ModalSteps::accept()});
  EXPECT_EQ(desk.modal.titles().value(1), "WARNING");
  desk.menu(C::StartPlayback);
  ASSERT_TRUE(runUntil([&] { return !station.playback().running(); }, 10000));
  EXPECT_TRUE(window.action(C::StartTelemetry)->isEnabled());
  desk.menu(C::StartTelemetry);
  EXPECT_TRUE(station.telemetry().telemetryActive());
  desk.menu(C::StopTelemetry);
}

TEST(MainWindow, SettingsReachWhatTheyChange) {
  Desktop desk;
  auto& station = desk.station();
  desk.jobData();

  // A missing tool list is said once, and the dialog still opens.
  const auto folder = desk.program->program().mainFolder;
  std::filesystem::rename(folder / "ToolList.txt", folder / "ToolList.bak");
  desk.menu(C::DefineToolString, {ModalSteps::accept(), ModalSteps::reject()});
  EXPECT_EQ(desk.modal.titles(), QStringList({"ERROR", "ToolString Manager"}));
  std::filesystem::rename(folder / "ToolList.bak", folder / "ToolList.txt");
  desk.toolString({"BRIX-CCL"});

  // "System Units": the TOOLS library converts with the new units, and the channels say them.
  desk.menu(C::SystemUnits, {[](QWidget* d) {
               for (auto* combo : d->findChildren<QComboBox*>())
                 if (combo->findText("DegF") >= 0) combo->setCurrentIndex(combo->findText("DegF"));
               qobject_cast<QDialog*>(d)->accept();
             }});
  EXPECT_EQ(station.library().globals().SystemUnits.code[records::kTemperature], 11);
  const auto& channels = station.tools().channels();
  auto temp = std::find_if(channels.begin(), channels.end(), [](const auto& c) { return c.mnemonic == "BTEMP"; });
  ASSERT_NE(temp, channels.end());
  EXPECT_EQ(temp->unit, "DegF");

  // "Program Folder": the presentation manager opens and saves formats in the new folder.
  QTemporaryDir other;
  const QString exe = other.filePath("kvr");
  std::ofstream(exe.toStdString()) << "";
  desk.menu(C::ProgramFolder, {ModalSteps::file(exe), ModalSteps::accept()});
  EXPECT_EQ(desk.modal.titles().value(1), "MESSAGE");
  EXPECT_EQ(desk.program->presentations().mainFolder(), desk.program->program().mainFolder);
  EXPECT_EQ(desk.program->program().mainFolder.string(), other.path().toStdString() + "/");
}

}  // namespace

// The TARN-C terminal's window, opened from the menu of a TARN-C string, sends through the
// simulated panel and shows the tool's answers; the string's task panel opens post-processing.
TEST(MainWindow, TheTarnCTerminalWindowTalksToTheTool) {
  Desktop desk;
  desk.jobData();
  desk.toolString({"BRIX-CCL"});
  EXPECT_FALSE(desk.window().action(C::TarnCLowLevelCommands)->isEnabled());
  desk.toolString({"TARNC-NSG"});
  desk.menu(C::StartTelemetry);
  desk.menu(C::TarnCLowLevelCommands);
  // The view has no meta-object of its own: found by its title among the window's dialogs.
  kvr::tarnc::ui::LowLevelCmdWindow* terminal = nullptr;
  for (auto* d : desk.window().findChildren<QDialog*>())
    if (d->windowTitle() == "Low Level Commands Terminal") terminal = dynamic_cast<kvr::tarnc::ui::LowLevelCmdWindow*>(d);
  ASSERT_NE(terminal, nullptr);
  EXPECT_TRUE(terminal->isVisible());

  terminal->commandList()->setCurrentIndex(0);  // POS_0_DEG_WRITE
  EXPECT_TRUE(terminal->helpText()->text().startsWith("Specifies the value for the 0 deg position:"));
  terminal->valuesBox()->setPlainText("1013");
  terminal->sendButton()->click();
  EXPECT_TRUE(runUntil([&] { return terminal->statusLine()->text() == "Angle Position ACK received"; }, 5000))
      << terminal->statusLine()->text().toStdString();
  terminal->commandList()->setCurrentIndex(16);  // POS_ALL_READ
  terminal->sendButton()->click();
  EXPECT_TRUE(runUntil([&] { return terminal->statusLine()->text() == "All data received."; }, 8000))
      << terminal->statusLine()->text().toStdString();
  EXPECT_EQ(terminal->valuesBox()->toPlainText(), "Pos 0  : 1013\nPos 90 : 268\nPos 180: 524\nPos 270: 780");

  // The task panel shown for the string opens the post-processing window from "Post Process".
  kvr::tarnc::ui::TaskPanelWindow* panel = nullptr;
  for (auto* d : desk.window().findChildren<QDialog*>())
    if (auto* p = dynamic_cast<kvr::tarnc::ui::TaskPanelWindow*>(d)) panel = p;
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(panel->isVisible());
  ASSERT_TRUE(panel->button("Post Process")->isEnabled());
  panel->button("Post Process")->click();
  QDialog* postProcess = nullptr;
  for (auto* d : desk.window().findChildren<QDialog*>())
    if (d->windowTitle() == "Post Processing Manager") postProcess = d;
  ASSERT_NE(postProcess, nullptr);
  EXPECT_TRUE(postProcess->isVisible());
  desk.menu(C::StopTelemetry);
}
