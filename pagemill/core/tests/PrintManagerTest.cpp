#include "pagemill/core/PrintManager.h"

#include <gtest/gtest.h>

#include <fstream>

#include "pagemill/core/LogViewer.h"
#include "pagemill/core/PagemillSettings.h"
#include "pagemill/core/tests/TestLogs.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/RecordingPrintTarget.h"
#include "platform/testing/ScriptedPrompter.h"
#include "platform/testing/TempPaths.h"

namespace pagemill {
namespace {

using platform::Answer;

class PrintManagerTest : public ::testing::Test {
 protected:
  PrintManagerTest() : templates(settings, prompter, info), manager(settings, prompter, templates) {
    settings.setString(keys::kTemplates, "Header Template", "h.txt");
    settings.setString(keys::kTemplates, "Tail Template", "t.txt");
    settings.setString(keys::kTemplates, "Remarks Template", "r.txt");
  }
  platform::testing::TempPaths tmp;
  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  CHeaderInfo info;
  CHeaderWnd templates;
  CPrintManager manager;
};

TEST_F(PrintManagerTest, OneHeaderFirstOneTailAndRemarksOnlyWhenConfirmed) {
  prompter.queueFile("a.cdf");
  ASSERT_TRUE(manager.addFile());
  ASSERT_TRUE(manager.addTail());
  EXPECT_EQ(manager.addHeader(), 0u);
  EXPECT_EQ(manager.entries(), (std::vector<std::string>{"&HEADER: h.txt", "&FILE: a.cdf", "&TAIL: t.txt"}));
  EXPECT_FALSE(manager.addHeader());
  EXPECT_FALSE(manager.addTail());
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"There is a header already in the print list\nOnly one header a list is allowed !",
                                      "There is a Tail already in the print list\nOnly one Tail a list is allowed !"}));
  manager.remove(0);
  EXPECT_TRUE(manager.addHeader());

  ASSERT_TRUE(manager.addRemarks());
  prompter.queue(Answer::No);
  EXPECT_FALSE(manager.addRemarks());
  prompter.queue(Answer::Yes);
  EXPECT_TRUE(manager.addRemarks());
  EXPECT_EQ(prompter.messages().back().text,
            "There is a Remark table already in the print list\nDo you want to add it anyway ?");

  // Separator texts are cut at 50 characters; moving keeps to the list's ends.
  prompter.queueText(std::string(60, 's'));
  const auto sep = manager.addSeparator();
  ASSERT_TRUE(sep);
  EXPECT_EQ(manager.entries()[*sep], "&SEPARATOR: " + std::string(50, 's'));
  EXPECT_EQ(prompter.textRequests().back().label, "Separator Text");
  EXPECT_EQ(manager.moveDown(*sep), *sep);
  EXPECT_EQ(manager.moveUp(0), 0u);
  EXPECT_EQ(manager.moveUp(*sep), *sep - 1);
  EXPECT_EQ(parseEntry(manager.entries()[*sep - 1]).kind, EntryKind::Separator);
}

TEST_F(PrintManagerTest, SavingThenOpeningAListGivesTheSameEntries) {
  EXPECT_FALSE(manager.saveList());
  EXPECT_EQ(prompter.texts().back(), "The list is empty !. Create a list before trying to save it");
  prompter.queueFile("x.cdf");
  manager.addFile();
  manager.addHeader();
  prompter.queueText("Main pass");
  manager.addSeparator();
  const auto path = (tmp.base() / "MyPrintList.wpl").string();
  prompter.queueFile(path);
  ASSERT_TRUE(manager.saveList());
  EXPECT_EQ(prompter.fileRequests().back().defaultName, "MyPrintList");

  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(bytes, "&HEADER: h.txt\r\n&FILE: x.cdf\r\n&SEPARATOR: Main pass\r\n");

  const auto saved = manager.entries();
  prompter.queueFile(path);
  prompter.queue(Answer::Yes);
  ASSERT_TRUE(manager.openList());
  EXPECT_EQ(manager.entries(), saved);
  EXPECT_TRUE(manager.hasHeader());  // a loaded header still refuses a second one
  EXPECT_EQ(prompter.messages().back().text, "You are about to override the current print list !\nDo You want to proceed ?");

  prompter.queueFile(path);
  prompter.queue(Answer::No);
  EXPECT_FALSE(manager.openList());
  EXPECT_EQ(manager.entries(), saved);
}

TEST(PrintListFile, LinesAreCutAndTheRestOfALongLineDropped) {
  const std::string text = "&FILE: a.cdf\r&TAIL: t\n\n&BMP: " + std::string(300, 'p') + "&FILE: injected\r\n";
  const auto entries = readPrintList(text);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "&FILE: a.cdf");
  EXPECT_EQ(entries[1], "&TAIL: t");
  EXPECT_EQ(entries[2].size(), kListLineMax);
  EXPECT_EQ(parseEntry("&FILE: a.cdf").argument, "a.cdf");
  EXPECT_EQ(parseEntry("&FILE:a.cdf").kind, EntryKind::Unknown);
}

TEST_F(PrintManagerTest, PrintNowKeepsTheOptionsInTheSettings) {
  EXPECT_EQ(manager.printMode(), kPlainPrinter);  // "Print Mode" 0: neither button
  EXPECT_EQ(manager.blankPage(), "NONE");
  manager.setPrintMode(kPdfWriter);
  manager.setBlankPage("6.25 in PAGE");
  manager.setOffsetAdvance(120);
  prompter.queueText("only a separator");
  manager.addSeparator();
  PrintStatus status;
  EXPECT_EQ(manager.printNow(true, [] { return nullptr; }, status), JobOutcome::NothingToPrint);  // cancelled
  EXPECT_EQ(settings.getInt(keys::kPrintManager, keys::kPrintMode, 0), kPdfWriter);
  platform::testing::RecordingPrintTarget target;
  settings.setString(keys::kTemplates, "Separator Template", "");
  EXPECT_EQ(manager.printNow(true, [&] { return &target; }, status), JobOutcome::Finished);
  EXPECT_EQ(settings.getString(keys::kPrintManager, keys::kPaperAdvance, ""), "6.25 in PAGE");
  EXPECT_EQ(settings.getInt(keys::kPrintManager, keys::kOffsetAdvance, 0), 120);
  CPrintManager again(settings, prompter, templates);
  EXPECT_EQ(again.printMode(), kPdfWriter);
  EXPECT_EQ(again.blankPage(), "6.25 in PAGE");
}

class ViewerTest : public ::testing::Test {
 protected:
  std::filesystem::path writeLog(int records) {
    const auto p = tmp.base() / "view.cdf";
    testlogs::writeLog(p, testlogs::threeTracks(), false, 1000.0f, 0.25f, records);
    return p;
  }
  platform::testing::TempPaths tmp;
  platform::testing::ScriptedPrompter prompter;
};

TEST_F(ViewerTest, TextBoxesGrowToHoldTheirText) {
  presentation::Annotation box;
  box.frame = {0, 0, 100, 100};
  EXPECT_TRUE(fitTextBox(box, {300, 50}));
  EXPECT_EQ(box.frame, (platform::Rect{0, 0, 350, 100}));
  EXPECT_TRUE(fitTextBox(box, {400, 200}));
  EXPECT_EQ(box.frame, (platform::Rect{0, 0, 450, 250}));
  EXPECT_FALSE(fitTextBox(box, {10, 10}));

  CDataManager log;
  ASSERT_EQ(log.open(writeLog(100), true, true), OpenResult::Ok);
  LogViewer view(log, prompter);
  view.reset();
  ASSERT_TRUE(view.armTool(GraphicTool::TextBox));
  prompter.queueText("Perforations");
  view.press({100, 100});
  view.release({200, 150}, [](const presentation::Annotation&) { return platform::Size{900, 80}; });
  ASSERT_EQ(log.objects().size(), 1u);
  EXPECT_EQ(log.objects()[0].frame, (platform::Rect{100, 100, 1050, 230}));
  EXPECT_EQ(log.objects()[0].text, "Perforations");
  EXPECT_EQ(prompter.texts().back(),
            "The Size of the text you have input does not fit inside the selected area\ndo you want to adjust this area?");
  EXPECT_EQ(log.objects()[0].penWidthUnit, 10u);
}

TEST_F(ViewerTest, CurveLabelsSitAtTheMiddleOfEachShare) {
  CDataManager log;
  ASSERT_EQ(log.open(writeLog(1000), true, true), OpenResult::Ok);
  const auto arrows = curveLabelArrows(log, 2, {}, true);
  ASSERT_EQ(arrows.size(), 4u);  // two curves, two labels each
  EXPECT_EQ(arrows[0].frame.top, 250 * 15);
  EXPECT_EQ(arrows[2].frame.top, 750 * 15);
  EXPECT_EQ(arrows[0].text, "GR");
  EXPECT_EQ(arrows[1].text, "CCL");
  EXPECT_EQ(arrows[0].frame.bottom - arrows[0].frame.top, 200);
}

TEST_F(ViewerTest, DeletingTheOnlyObjectAndSavingCutsTheTable) {
  const auto path = writeLog(50);
  const auto size = std::filesystem::file_size(path);
  {
    CDataManager log;
    ASSERT_EQ(log.open(path, true, true), OpenResult::Ok);
    LogViewer view(log, prompter);
    view.reset();
    view.armTool(GraphicTool::Rectangle);
    view.press({10, 10});
    view.release({500, 300}, {});
    ASSERT_EQ(log.save(), 0);
  }
  EXPECT_EQ(std::filesystem::file_size(path), size + 256);
  {
    CDataManager log;
    ASSERT_EQ(log.open(path, true, true), OpenResult::Ok);
    ASSERT_EQ(log.objects().size(), 1u);
    LogViewer view(log, prompter);
    view.reset();
    view.press({100, 100});  // no tool armed: selects
    ASSERT_TRUE(view.selected());
    EXPECT_TRUE(view.deleteSelected());
    ASSERT_EQ(log.save(), 0);
    EXPECT_EQ(log.header().annotationOffset, 0u);
  }
  EXPECT_EQ(std::filesystem::file_size(path), size);
}

TEST_F(ViewerTest, ScrollingCountsWholeDepthUnits) {
  CDataManager log;
  ASSERT_EQ(log.open(writeLog(4001), true, true), OpenResult::Ok);  // 1000 ft
  LogViewer view(log, prompter);
  view.setPaneSizes({815, 600}, {815, 100});
  view.reset();
  // 8150 x 600 / 815 = 6000 units: 400 rows, 100 ft visible.
  EXPECT_EQ(view.visibleRows(), 400);
  EXPECT_EQ(view.scrollRange(), 900);
  view.lineScroll(1);
  EXPECT_EQ(view.scrollPosition(), 10);
  view.pageScroll(1);
  EXPECT_EQ(view.scrollPosition(), 60);
  view.pageScroll(100);
  EXPECT_EQ(view.scrollPosition(), 900);
  EXPECT_EQ(view.depthsAt(100), (std::pair<float, float>{1100.0f, 1200.0f}));
  view.releaseThumb(100);
  EXPECT_EQ(view.topRow(), 400u);
  EXPECT_EQ(thicknessPixels(21, 8150), 2);
  EXPECT_EQ(thicknessUnits(2, 8150), 21);
}

}  // namespace
}  // namespace pagemill
