#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include <fstream>

#include "common/presentation/ChartDataFile.h"
#include "pagemill/app/tests/PdfProbe.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/tests/TestLogs.h"
#include "pagemill/ui/PagemillWindow.h"
#include "platform/RootPaths.h"
#include "platform/qt/testing/QtTestApp.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

QDialog* dialog(const QString& title, bool visible = true) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QDialog*>(w); d && (d->isVisible() || !visible) && d->windowTitle() == title) return d;
  return nullptr;
}

QAction* action(QWidget& w, const QString& text) {
  for (QAction* a : w.findChildren<QAction*>())
    if (a->text() == text) return a;
  return nullptr;
}

// Clicks from the event loop, so that a modal dialog the click opens runs its own loop
// outside the caller.
void clickLater(QAbstractButton* b) { QMetaObject::invokeMethod(b, &QAbstractButton::click, Qt::QueuedConnection); }

TEST(PagemillWindow, ShowsALogAndKeepsTheUnitMode) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto cdf = tmp.base() / "view.cdf";
  presentation::CFormat f;
  presentation::CColumn t;
  presentation::CCurve c;
  c.name = "GR";
  c.leftValue = 0;
  c.rightValue = 100;
  c.colour = platform::rgb(255, 0, 0);
  t.curves = {c};
  f.tracks = {t};
  presentation::ChartDataWriter w;
  ASSERT_EQ(w.create(presentation::openByteFile(cdf, presentation::OpenMode::CreateTruncate), f, true), 0);
  for (int i = 0; i < 2000; ++i) {
    const float rec[2] = {2000.0f - 0.25f * static_cast<float>(i), static_cast<float>(i % 100)};
    w.appendFrame(rec);
  }
  w.flush();

  platform::testing::MemorySettings settings;  // no "Unit System": English
  platform::testing::ScriptedPrompter prompter;
  const platform::RootPaths paths(tmp.base());
  ui::PagemillWindow window(settings, prompter, paths);
  EXPECT_TRUE(window.english());
  window.resize(900, 760);
  window.show();
  ASSERT_TRUE(window.openLog(cdf.string()));
  EXPECT_GT(window.viewer().scrollRange(), 0);
  EXPECT_EQ(window.viewer().scrollPosition(), window.viewer().scrollRange());  // recorded up: at its end
  const QImage shot = window.grab().toImage();
  int red = 0;
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x < shot.width(); ++x) {
      const QColor p = shot.pixelColor(x, y);
      if (p.red() > 200 && p.green() < 80 && p.blue() < 80) ++red;
    }
  EXPECT_GT(red, 50);  // the curve is drawn

  window.setEnglish(false);
  EXPECT_EQ(settings.getInt(keys::kSettings, keys::kUnitSystem, 1), 0);
  EXPECT_EQ(window.log().logWidth(), 20700);

  // File > Open starts in the data root.
  prompter.queueFile(std::nullopt);
  action(window, "&Open...")->trigger();
  ASSERT_EQ(prompter.fileRequests().size(), 1u);
  EXPECT_EQ(prompter.fileRequests()[0].initialDir, tmp.base().string());
}

// A first start chooses the shipped templates; Print Manager > Print Now shows the print
// dialog first, and the status window only once the dialog is confirmed; the PDF goes
// beside the log and the closing message names it.
TEST(PagemillWindow, PrintsAListThroughThePrintManagerToAPdfBesideTheLog) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  const auto session = tmp.base() / "Acme" / "Well 7";
  std::filesystem::create_directories(session);
  const auto cdf = session / "UP-1.cdf";
  testlogs::writeLog(cdf, testlogs::threeTracks(), false, 1000.0f, 0.25f, 400);
  const auto list = tmp.base() / "job.wpl";
  std::ofstream(list, std::ios::binary) << "&HEADER: h\r\n&FILE: " << cdf.string() << "\r\n&TAIL: t\r\n";

  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  const platform::RootPaths paths(tmp.base());
  ui::PagemillWindow window(settings, prompter, paths);
  const std::filesystem::path header = settings.getString(keys::kTemplates, templateValue(kHeaderTemplate), "");
  EXPECT_EQ(header.filename(), "HEADER.TXT");
  EXPECT_TRUE(std::filesystem::exists(header));
  window.show();

  prompter.queueFile(list.string());  // "&Open a List File"
  bool statusOverDialog = false, statusShown = false;
  QString proposed;
  int step = 0, dialogTicks = 0, managerTicks = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QDialog* status = dialog("Printing Status");
    statusShown = statusShown || status != nullptr;
    QDialog* manager = dialog("Print Manager");
    QDialog* print = dialog("Print");
    if (print) {
      // Not even a hidden one that would show itself a moment later.
      statusOverDialog = statusOverDialog || dialog("Printing Status", false) != nullptr;
      // The user takes a moment to confirm.
      if (step == 1 && ++dialogTicks == 10) {
        step = 2;
        proposed = print->findChild<QLineEdit*>()->text();
        clickLater(print->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
      }
      return;
    }
    if (!manager) return;
    if (step == 0) {
      step = 1;
      action(*manager, "&Open a List File")->trigger();
      for (auto* b : manager->findChildren<QPushButton*>())
        if (b->text() == "&Print Now") clickLater(b);
    } else if ((step == 2 && !status && !prompter.messages().empty()) || ++managerTicks > 2000) {
      step = 3;
      manager->accept();  // done, or stuck
    }
  });
  driver.start(5);
  action(window, "Print &Manager")->trigger();
  driver.stop();

  const auto pdf = session / "UP-1.pdf";
  EXPECT_EQ(dialogTicks, 10);
  EXPECT_EQ(proposed.toStdString(), pdf.string());
  EXPECT_FALSE(statusOverDialog);
  EXPECT_TRUE(statusShown);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Printing has finished\nSaved to " + pdf.string()}));
  ASSERT_EQ(prompter.fileRequests().size(), 1u);
  EXPECT_EQ(prompter.fileRequests()[0].initialDir, tmp.base().string());  // the list dialog
  const testing::PdfProbe probe(pdf);
  ASSERT_TRUE(probe.ok());
  EXPECT_GE(probe.pages(), 3);  // header, log, tail and the empty last page
}

// The curve editor shows each curve's own colour and thickness, keeps a thickness beyond
// "Heavy" as it is, and asks before Exit drops edits not applied; so does the window's Exit
// before dropping changes not saved.
TEST(PagemillWindow, TheCurveEditorKeepsWhatItShowsAndAsksBeforeDroppingEdits) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  auto format = testlogs::threeTracks();
  format.tracks[0].curves.push_back(testlogs::curve("SP", 0, 100));
  format.tracks[0].curves[0].colour = platform::rgb(0, 128, 0);
  format.tracks[0].curves[0].thickness = 4;
  format.tracks[0].curves[1].colour = platform::rgb(255, 0, 0);
  const auto cdf = tmp.base() / "log.cdf";
  testlogs::writeLog(cdf, format, false, 1000.0f, 0.25f, 100);

  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  const platform::RootPaths paths(tmp.base());
  ui::PagemillWindow window(settings, prompter, paths);
  window.show();
  ASSERT_TRUE(window.openLog(cdf.string()));

  QStringList swatches, thicknesses;
  int step = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    QDialog* editor = dialog("Curve Editor");
    if (!editor) return;
    auto combos = editor->findChildren<QComboBox*>();
    QComboBox* curve = combos.at(1);
    QComboBox* thickness = combos.back();
    QPushButton* swatch = nullptr;
    for (auto* b : editor->findChildren<QPushButton*>())
      if (b->text().startsWith('#')) swatch = b;
    auto button = [&](const QString& text) {
      for (auto* b : editor->findChildren<QPushButton*>())
        if (b->text() == text) return b;
      return static_cast<QPushButton*>(nullptr);
    };
    if (step == 0) {
      swatches << swatch->text();
      thicknesses << thickness->currentText();
      curve->setCurrentIndex(1);
      swatches << swatch->text();
      thicknesses << thickness->currentText();
      curve->setCurrentIndex(0);
      button("Apply")->click();  // nothing changed: the 4 px curve stays 4 px
      editor->findChild<QLineEdit*>()->setText("GRX");
      emit editor->findChild<QLineEdit*>()->textEdited("GRX");
      prompter.queue(platform::Answer::No);
      step = 1;
      clickLater(button("Exit"));
    }
  });
  driver.start(5);
  action(window, "&Edit Curve")->trigger();
  driver.stop();

  EXPECT_EQ(swatches, (QStringList{"#008000", "#ff0000", }));
  EXPECT_EQ(thicknesses, (QStringList{"4 px", "Middle"}));
  const auto& curves = window.log().storedFormat().tracks[0].curves;
  EXPECT_EQ(curves[0].thickness, 4);
  EXPECT_EQ(curves[0].name, "GR");  // the edit was dropped, after asking
  ASSERT_EQ(prompter.messages().size(), 1u);
  EXPECT_EQ(prompter.messages()[0].buttons, platform::Buttons::YesNoCancel);

  // Applied but not saved: File > Exit asks too; Cancel stays, No leaves without saving.
  prompter.clear();
  prompter.queue(platform::Answer::Cancel);
  action(window, "E&xit")->trigger();
  EXPECT_TRUE(window.isVisible());
  prompter.queue(platform::Answer::No);
  action(window, "E&xit")->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>(2, "The log has changes that are not saved.\nDo you want to save them now ?")));
}

// The header preview is as tall as the template reaches, in a scroll area.
TEST(PagemillWindow, TheHeaderPreviewScrollsOverTheWholeTemplate) {
  platform::qt::testing::qtTestApp();
  platform::testing::TempPaths tmp;
  std::filesystem::create_directories(tmp.base());
  const auto tpl = tmp.base() / "tall.txt";
  std::ofstream(tpl) << "&ENGLISH &MAIN_REGION 0 0 8150 -12000 &DRAWRECTANGLE &END\n";
  platform::testing::MemorySettings settings;
  settings.setString(keys::kTemplates, templateValue(kHeaderTemplate), tpl.string());
  platform::testing::ScriptedPrompter prompter;
  const platform::RootPaths paths(tmp.base());
  ui::PagemillWindow window(settings, prompter, paths);
  window.show();
  int paneHeight = 0, previewTicks = 0;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    if (QDialog* selector = dialog("Preview Selector")) {
      for (auto* b : selector->findChildren<QPushButton*>())
        if (b->text() == "Preview &Header") clickLater(b);
      return;
    }
    QDialog* preview = dialog("Header Peview");
    if (!preview) return;
    auto* area = preview->findChild<QScrollArea*>();
    if (area && area->widget()->height() > 600) paneHeight = area->widget()->height();
    if (paneHeight > 0 || ++previewTicks > 200) preview->accept();  // a fixed pane never grows
  });
  driver.start(5);
  action(window, "&Preview")->trigger();
  driver.stop();
  // 12000 units at 600 pixels for 0.736 x 8150 units.
  EXPECT_NEAR(paneHeight, 12000 * 600 / 5999, 2);
}

}  // namespace
}  // namespace pagemill
