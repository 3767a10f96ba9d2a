#include "pagemill/core/TemplateInterpreter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/datafile/MemoryFiles.h"
#include "common/datafile/tests/SampleLog.h"
#include "common/records/LittleEndian.h"
#include "pagemill/core/HeaderInfo.h"
#include "pagemill/core/HeaderWnd.h"
#include "pagemill/core/PagemillSettings.h"
#include "platform/testing/MemorySettings.h"
#include "platform/testing/RecordingCanvas.h"
#include "platform/testing/ScriptedPrompter.h"

namespace pagemill {
namespace {

using platform::testing::DrawCall;
using platform::testing::RecordingCanvas;

struct Drawn {
  RecordingCanvas canvas;
  TemplateState state;
};

Drawn draw(const std::string& text, int origin = 0, TemplateOptions o = {}) {
  Drawn d;
  if (!o.item) o.item = [](int n) { return "item" + std::to_string(n); };
  d.state = interpretTemplate(text, origin, o, d.canvas);
  return d;
}

records::JobRecord jobOf(const std::string& user) {
  records::JobRecord j;
  j.userName = user;
  return j;
}

std::vector<DrawCall> texts(const RecordingCanvas& c) { return c.callsOf(DrawCall::Text); }

TEST(Template, DrawsOnlyTheSectionOfTheUnitSystem) {
  const std::string metricOnly = "&METRIC\n&MAIN_REGION 0 0 100 -100\n&DRAWRECTANGLE\n&END\n";
  auto english = draw(metricOnly, -500);
  EXPECT_TRUE(english.canvas.callsOf(DrawCall::Rectangle).empty());
  EXPECT_EQ(english.state.origin, -500);  // nothing drawn, V unchanged

  TemplateOptions metric;
  metric.english = false;
  auto m = draw(metricOnly, -500, metric);
  ASSERT_EQ(m.canvas.callsOf(DrawCall::Rectangle).size(), 1u);
  EXPECT_EQ(m.state.origin, -600);

  // Commands after &END of the section are not run.
  auto ended = draw("&ENGLISH &GOTOXY 1 2 &END &TITLE late\n");
  EXPECT_TRUE(texts(ended.canvas).empty());
}

TEST(Template, RegionsAndPositionsFollowTheirOrigins) {
  auto before = draw("&ENGLISH\n&GOTOXY 30 -40\n&TITLE x\n&END");
  ASSERT_EQ(texts(before.canvas).size(), 1u);
  EXPECT_EQ(texts(before.canvas)[0].points[0], (platform::Point{30, -40}));  // S is all zeros

  auto sub = draw("&ENGLISH\n&MAIN_REGION 0 -100 8000 -2000\n&SUBREGION 10 -10 500 -300\n&GOTOXY 5 -5\n&TITLE t\n&END");
  EXPECT_EQ(sub.state.sub, (TemplateRect{10, -110, 500, -400}));
  EXPECT_EQ(sub.state.rect, sub.state.sub);
  const auto clips = sub.canvas.callsOf(DrawCall::SetClip);
  ASSERT_EQ(clips.size(), 1u);
  EXPECT_EQ(clips[0].rect, (platform::Rect{10, -401, 501, -110}));  // (S.x1, S.y1) to (S.x2 + 1, S.y2 - 1)
  EXPECT_EQ(texts(sub.canvas)[0].points[0], (platform::Point{15, -115}));

  // With V = -1000 the main region moves down; a second one resets the clip and gives V.
  auto two = draw("&ENGLISH &MAIN_REGION 0 0 100 -200 &SUBREGION 0 0 10 -10 &COORDINATES 1 -1 5 -5 "
                  "&MAIN_REGION 0 -300 100 -900 &END",
                  -1000);
  EXPECT_EQ(two.state.main, (TemplateRect{0, -1300, 100, -1900}));
  EXPECT_EQ(two.state.origin, -1900);
  const auto& calls = two.canvas.calls();
  std::vector<DrawCall::Kind> clipKinds;
  for (const auto& c : calls)
    if (c.kind == DrawCall::SetClip || c.kind == DrawCall::ClearClip) clipKinds.push_back(c.kind);
  // main, sub, second main, and the restore at the end
  EXPECT_EQ(clipKinds, (std::vector<DrawCall::Kind>{DrawCall::ClearClip, DrawCall::ClearClip, DrawCall::SetClip,
                                                     DrawCall::ClearClip, DrawCall::ClearClip}));
}

TEST(Template, TextAlignmentFontsAndAngles) {
  const std::string t = "&ENGLISH &SETFONT SWISS 200 4 90 &TXTALIGN 2 &TITLE c\n&TXTALIGN 7 &TITLE l\n"
                        "&TXTALIGN 3 &TITLE r\n&SETFONT OTHER 100 9 0 &TITLE d\n&END";
  auto d = draw(t);
  const auto calls = texts(d.canvas);
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].align, platform::AlignCenter | platform::AlignTop);
  EXPECT_EQ(calls[1].align, platform::AlignLeft | platform::AlignTop);
  EXPECT_EQ(calls[2].align, platform::AlignRight | platform::AlignTop);
  EXPECT_EQ(calls[0].text, " c");  // the blank after the command belongs to the text
  EXPECT_EQ(calls[0].font.family, platform::FontFamily::Swiss);
  EXPECT_EQ(calls[0].font.height, 200);
  EXPECT_EQ(calls[0].font.width, 60);
  EXPECT_EQ(calls[0].font.weight, 700);
  EXPECT_EQ(calls[0].font.escapement, 900);
  EXPECT_EQ(calls[3].font.family, platform::FontFamily::DontCare);
  EXPECT_EQ(calls[3].font.weight, 400);

  struct Case {
    bool printing;
    int mode;
    int escapement;
  };
  // Rotated text reads as the template means on paper in every print mode.
  for (const Case c : {Case{true, 1, 900}, Case{true, 2, 900}, Case{true, 3, 900}, Case{false, 1, 900}}) {
    TemplateOptions o;
    o.printing = c.printing;
    o.printMode = c.mode;
    auto p = draw("&ENGLISH &SETFONT SWISS 200 4 90 &TITLE a\n&END", 0, o);
    EXPECT_EQ(texts(p.canvas).at(0).font.escapement, c.escapement) << c.printing << " mode " << c.mode;
  }
}

TEST(Template, ItemsCaptionsAndSeparatorText) {
  TemplateOptions o;
  o.separatorText = "Main pass";
  auto d = draw("&ENGLISH &ITEM 62 &ITEM 0 &ITEM 3 &TXTITEM Client: \n1\n&SEPARATORTEXT &END", 0, o);
  const auto calls = texts(d.canvas);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].text, "item3");
  EXPECT_EQ(calls[1].text, " Client: item1");
  EXPECT_EQ(calls[2].text, "Main pass");
}

TEST(Template, MalformedCommandsAreSkippedAndLongLinesCut) {
  // A pen with a word for its width is skipped; the word is an ordinary token and the
  // following command still runs with the previous pen.
  auto d = draw("&ENGLISH &SETPEN 255 0 0 x &MAIN_REGION 0 0 10 -10 &DRAWLINE &NOSUCH 5 &END");
  const auto lines = d.canvas.callsOf(DrawCall::Line);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].pen.colour, 0u);

  const std::string longText(300, 'A');
  auto cut = draw("&ENGLISH &TITLE " + longText.substr(0, 250) + " &ITEM 5" + std::string(40, 'B') + "\n&END");
  const auto calls = texts(cut.canvas);
  ASSERT_EQ(calls.size(), 1u);  // the &ITEM past the 254th character is dropped with the rest
  EXPECT_EQ(calls[0].text.size(), kTemplateLineMax);

  // Sums of huge coordinates neither overflow nor wrap.
  auto huge = draw("&ENGLISH &MAIN_REGION 99999999999 -99999999999 1 -99999999999 &SUBREGION 99999999999 "
                   "-99999999999 0 0 &END",
                   -2000000000);
  EXPECT_LE(huge.state.origin, 0);
}

TEST(Template, PicturesStayInTheTemplateFolder) {
  const std::filesystem::path folder = "templates";
  EXPECT_EQ(templatePicturePath(folder, " logo.png"), folder / "logo.png");
  EXPECT_EQ(templatePicturePath(folder, " art\\logo.png"), folder / "art/logo.png");
  for (const char* bad : {" ../secret.png", " /etc/passwd", " C:\\logo.bmp", " art\\..\\..\\x.png", " "})
    EXPECT_FALSE(templatePicturePath(folder, bad)) << bad;

  TemplateOptions o;
  o.folder = folder;
  const std::string t = "&ENGLISH &MAIN_REGION 0 0 8000 -2000 &COORDINATES 100 -100 1100 -600 &BMP logo.png\n"
                        "&BMP ../../etc/passwd\n&END";
  auto screen = draw(t, 0, o);
  auto images = screen.canvas.callsOf(DrawCall::Image);
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].text, (folder / "logo.png").string());
  EXPECT_EQ(images[0].rect, (platform::Rect{100, -100, 1100, -600}));  // from (x1, y1), negative height
  o.printing = true;
  o.printMode = 1;
  auto hp = draw(t, 0, o);
  EXPECT_EQ(hp.canvas.callsOf(DrawCall::Image).at(0).rect, (platform::Rect{100, -600, 1100, -100}));
}

TEST(HeaderInfo, ItemsPrintTheirFieldsOfTheJobRecord) {
  records::JobRecord job;
  job.userName = "Ann";
  job.maxDeviation = 12.5f;
  job.runNumber = 3;
  job.density = 1.2f;
  job.remarks[0] = "first remark";
  job.casing = {7.0f, 0, 4500.25f};
  CHeaderInfo info;
  info.setRecord(job);
  EXPECT_EQ(info.itemText(1), "Ann");
  EXPECT_EQ(info.itemText(10), "12.5");
  EXPECT_EQ(info.itemText(17), "3");
  EXPECT_EQ(info.itemText(30), "1.2");
  EXPECT_EQ(info.itemText(43), "first remark");
  EXPECT_EQ(info.itemText(59), "7");
  EXPECT_EQ(info.itemText(61), "4500.25");
  EXPECT_EQ(info.itemText(55), "200");
  EXPECT_EQ(info.itemText(0), "");
  EXPECT_EQ(info.itemText(62), "");

  // A text field without its terminator stops at its width.
  std::array<std::uint8_t, records::kJobRecordSize> bytes;
  bytes.fill('x');
  info.setBytes(bytes.data());
  EXPECT_EQ(info.itemText(4), std::string(25, 'x'));
  EXPECT_EQ(info.itemText(54), std::string(65, 'x'));
}

TEST(HeaderInfo, LoadsTheJobRecordOfAKvrFileAndKeepsItOnFailure) {
  kvr::MemoryFileSystem fs;
  const auto log = sample::log();  // its tools carry serial numbers
  {
    kvr::CFileManager fm(fs);
    ASSERT_EQ(fm.createOutputFile("s", "LOG"), 0);
    ASSERT_EQ(sample::writeStatic(fm, log), 0);
    ASSERT_EQ(fm.closeOutput(), 0);
  }
  const auto path = std::filesystem::path("s") / ("LOG" + std::string() + ".kvr");
  CHeaderInfo info;
  ASSERT_EQ(info.loadStaticData(fs, path), 0);
  EXPECT_EQ(info.itemText(2), "Acme Oil");
  EXPECT_EQ(info.itemText(54), "last remark");

  auto bytes = fs.file(path);
  records::le::putU32(bytes.data() + bytes.size() - 4, 1639);  // trailing length differs
  fs.setFile("bad.kvr", bytes);
  CHeaderInfo other;
  other.setRecord(jobOf("kept"));
  EXPECT_EQ(other.loadStaticData(fs, "bad.kvr"), -2);
  bytes.resize(bytes.size() - 100);
  fs.setFile("short.kvr", bytes);
  EXPECT_EQ(other.loadStaticData(fs, "short.kvr"), -1);
  EXPECT_EQ(other.loadStaticData(fs, "missing.kvr"), -1);
  EXPECT_EQ(other.itemText(1), "kept");
}

TEST(HeaderWnd, ReportsAMissingOrUnreadableTemplate) {
  platform::testing::MemorySettings settings;
  platform::testing::ScriptedPrompter prompter;
  CHeaderInfo info;
  CHeaderWnd wnd(settings, prompter, info);
  RecordingCanvas canvas;
  wnd.setOrigin(-700);
  EXPECT_FALSE(wnd.run(kTailTemplate, canvas, false));
  settings.setString(keys::kTemplates, "Tail Template", "no/such/file.txt");
  EXPECT_FALSE(wnd.run(kTailTemplate, canvas, false));
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{
                "You have not specified any header template !\nPlease selecte a header template and try again",
                "Error while trying to open the header template file\nCheck you settings and try again"}));
  EXPECT_EQ(wnd.origin(), -700);
  EXPECT_TRUE(canvas.calls().empty());

  // Any other kind number uses the header template.
  const auto file = std::filesystem::temp_directory_path() / "pagemill_header_test.txt";
  std::ofstream(file) << "&ENGLISH\r\n&MAIN_REGION 0 0 8000 -1500\r\n&GOTOXY 10 -10\r\n&ITEM 1\r\n&END\r\n";
  settings.setString(keys::kTemplates, "Header Template", file.string());
  info.setRecord(jobOf("Ann"));
  EXPECT_TRUE(wnd.run(9, canvas, false));
  EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"Ann"}));
  EXPECT_EQ(wnd.origin(), -2200);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace pagemill
